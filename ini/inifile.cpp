#include "inifile.h"

#include "base/tempfile.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <string>

namespace pellix {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view TempSuffix = ".tmp";
constexpr std::size_t TempHexDigits = 8;

// ".Pellix.ini." before the hex digits of a temporary file of target.
std::string TempPrefix(const fs::path& target) {
    std::string prefix(1, '.');
    prefix += target.filename().string();
    prefix += '.';
    return prefix;
}

// A temporary name beside target, e.g. ".Pellix.ini.5f3a9c1e.tmp".
fs::path TempName(const fs::path& target) {
    static std::atomic<std::uint64_t> counter{0};
    const auto seed =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::uint64_t x = seed ^ (++counter * 0x9E3779B97F4A7C15ULL);
    x ^= x >> 29;
    std::string name = TempPrefix(target);
    for (std::size_t i = 0; i < TempHexDigits; ++i) {
        name += "0123456789abcdef"[x & 0xF];
        x >>= 4;
    }
    name += TempSuffix;
    fs::path temp = target;
    temp.replace_filename(name);
    return temp;
}

// ".Pellix.ini.copy": the whole new content of target while it is written in
// place; a store that dies meanwhile leaves it, and it is read instead.
fs::path InPlaceCopyName(const fs::path& target) {
    fs::path copy = target;
    copy.replace_filename(TempPrefix(target) + "copy");
    return copy;
}

bool IsOurTempName(const std::string& name, const std::string& prefix) {
    if (name.size() != prefix.size() + TempHexDigits + TempSuffix.size() ||
        !name.starts_with(prefix) || !name.ends_with(TempSuffix))
        return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()),
                       name.end() - static_cast<std::ptrdiff_t>(TempSuffix.size()),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// Removes the temporary files of target that killed stores left behind.
void RemoveAbandonedTemps(const fs::path& target) {
    const std::string prefix = TempPrefix(target);
    std::error_code ec;
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (IsOurTempName(it->path().filename().string(), prefix))
            RemoveIfAbandoned(it->path());
    }
}

bool HasAnyWriteBit(fs::perms p) {
    return (p & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) !=
           fs::perms::none;
}

// Errors that say the folder or file may not be changed by this user.
bool IsRefusal(const std::error_code& ec) {
    return ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted ||
           ec == std::errc::read_only_file_system;
}

bool Fail(TIniSaveFailure* failure, bool notReplaceable, std::string reason) {
    if (failure) {
        failure->NotReplaceable = notReplaceable;
        failure->Reason = std::move(reason);
    }
    return false;
}

} // namespace

std::optional<TIniDocument> LoadIniFile(const fs::path& given) {
    try {
        std::error_code ec;
        fs::path path = given;
        if (const fs::path copy = InPlaceCopyName(FollowLink(given, ec));
            fs::is_regular_file(fs::symlink_status(copy, ec)))
            path = copy; // an in-place write did not finish
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

bool SaveIniFile(const fs::path& path, std::string_view bytes, const TIniSaveHooks& hooks,
                 TIniSaveFailure* failure) {
    TTempFile file;
    std::optional<fs::path> temp;
    const auto removeTemp = [&] {
        file.Close();
        std::error_code ec;
        if (temp)
            fs::remove(*temp, ec);
    };
    try {
        std::error_code ec;
        const fs::path target = FollowLink(path, ec);
        if (ec)
            return Fail(failure, false, "the link leads nowhere: " + ec.message());

        const auto st = fs::status(target, ec);
        const bool exists = st.type() != fs::file_type::not_found;
        if (exists) {
            if (ec || st.type() != fs::file_type::regular)
                return Fail(failure, false, "not a regular file");
            if (!HasAnyWriteBit(st.permissions()))
                return Fail(failure, true, "the file is read-only");
            // Opening for appending writes nothing but tells whether we may write.
            std::ofstream probe(target, std::ios::binary | std::ios::app);
            if (!probe)
                return Fail(failure, true, "the file cannot be opened for writing");
        }

        RemoveAbandonedTemps(target);
        // The new file has the old one's permissions from its creation on.
        const std::optional<fs::perms> perms =
            exists ? std::optional<fs::perms>(st.permissions()) : std::nullopt;
        std::error_code createError;
        for (int attempt = 0; attempt < 100; ++attempt) {
            temp = TempName(target);
            createError = file.Create(*temp, perms);
            if (createError != std::errc::file_exists &&
                createError != std::errc::operation_canceled)
                break;
        }
        if (createError) {
            temp.reset(); // nothing of ours is there
            return Fail(failure, IsRefusal(createError),
                        "cannot create a temporary file: " + createError.message());
        }
        if (const std::error_code writeError = file.WriteAndSync(bytes)) {
            removeTemp();
            return Fail(failure, false, "cannot write: " + writeError.message());
        }

        if (exists && !file.TakeIdentityOf(target)) {
            // A rename would split the hard links or change the owner or group:
            // the file is written in place, with its whole new content beside
            // it in case the writing dies.
            const fs::path copy = InPlaceCopyName(target);
            file.BeforeRename();
            std::error_code copyError;
            fs::rename(*temp, copy, copyError);
            if (copyError) {
                removeTemp();
                return Fail(failure, IsRefusal(copyError),
                            "cannot write beside the file: " + copyError.message());
            }
            temp = copy;
            SyncFolder(target.parent_path());
            bool touched = false;
            if (const std::error_code writeError = WriteInPlace(target, bytes, touched)) {
                if (!touched)
                    removeTemp();
                temp.reset();
                return Fail(failure, !touched && IsRefusal(writeError),
                            "cannot write the file in place: " + writeError.message());
            }
            removeTemp();
            temp.reset();
            SyncFolder(target.parent_path());
            return true;
        }

        file.BeforeRename();
        std::error_code renameError;
        if (hooks.Rename)
            renameError = hooks.Rename(*temp, target);
        else
            fs::rename(*temp, target, renameError);
        if (renameError) {
            removeTemp();
            return Fail(failure, IsRefusal(renameError),
                        "cannot replace the file: " + renameError.message());
        }
        temp.reset();
        fs::remove(InPlaceCopyName(target), ec); // one an interrupted store left
        SyncFolder(target.parent_path());
        return true;
    } catch (const std::exception& e) {
        removeTemp();
        return Fail(failure, false, e.what());
    } catch (...) {
        removeTemp();
        return Fail(failure, false, "unexpected failure");
    }
}

} // namespace pellix
