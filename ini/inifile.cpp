#include "inifile.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <string>

namespace pellix {

namespace fs = std::filesystem;

namespace {

// A name beside target that is not taken yet, e.g. ".Pellix.ini.5f3a9c1e.tmp".
std::optional<fs::path> FreeTempName(const fs::path& target) {
    static std::atomic<std::uint64_t> counter{0};
    const auto seed =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::uint64_t x = seed ^ (++counter * 0x9E3779B97F4A7C15ULL);
        x ^= x >> 29;
        std::array<char, 9> hex{};
        for (std::size_t i = 0; i < 8; ++i) {
            hex[i] = "0123456789abcdef"[x & 0xF];
            x >>= 4;
        }
        fs::path temp = target;
        std::string name(1, '.');
        name += target.filename().string();
        name += '.';
        name += hex.data();
        name += ".tmp";
        temp.replace_filename(name);
        std::error_code ec;
        const auto st = fs::symlink_status(temp, ec);
        if (st.type() == fs::file_type::not_found)
            return temp;
    }
    return std::nullopt;
}

bool HasAnyWriteBit(fs::perms p) {
    return (p & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) !=
           fs::perms::none;
}

} // namespace

std::optional<TIniDocument> LoadIniFile(const fs::path& path) {
    try {
        std::error_code ec;
        const auto st = fs::status(path, ec);
        if (st.type() == fs::file_type::not_found)
            return TIniDocument();
        if (ec || st.type() != fs::file_type::regular)
            return std::nullopt;
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return std::nullopt;
        std::string bytes;
        std::array<char, 65536> buf{};
        while (in) {
            in.read(buf.data(), static_cast<std::streamsize>(buf.size()));
            bytes.append(buf.data(), static_cast<std::size_t>(in.gcount()));
        }
        if (in.bad())
            return std::nullopt;
        return TIniDocument(std::move(bytes));
    } catch (...) {
        return std::nullopt;
    }
}

bool SaveIniFile(const fs::path& path, std::string_view bytes, const TIniSaveHooks& hooks) {
    std::optional<fs::path> temp;
    try {
        std::error_code ec;
        fs::path target = path;
        if (fs::is_symlink(fs::symlink_status(path, ec))) {
            target = fs::canonical(path, ec);
            if (ec)
                return false;
        }

        const auto st = fs::status(target, ec);
        const bool exists = st.type() != fs::file_type::not_found;
        if (exists) {
            if (ec || st.type() != fs::file_type::regular || !HasAnyWriteBit(st.permissions()))
                return false;
            // Opening for appending writes nothing but tells whether we may write.
            std::ofstream probe(target, std::ios::binary | std::ios::app);
            if (!probe)
                return false;
        }

        temp = FreeTempName(target);
        if (!temp)
            return false;
        {
            std::ofstream out(*temp, std::ios::binary | std::ios::trunc);
            if (!out) {
                temp.reset(); // nothing was created
                return false;
            }
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.close();
            if (!out) {
                fs::remove(*temp, ec);
                return false;
            }
        }
        if (exists)
            fs::permissions(*temp, st.permissions(), ec); // best effort

        std::error_code renameError;
        if (hooks.Rename)
            renameError = hooks.Rename(*temp, target);
        else
            fs::rename(*temp, target, renameError);
        if (renameError) {
            fs::remove(*temp, ec);
            return false;
        }
        return true;
    } catch (...) {
        if (temp) {
            std::error_code ec;
            fs::remove(*temp, ec);
        }
        return false;
    }
}

} // namespace pellix
