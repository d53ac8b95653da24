#include "wavsound.h"

#include <cstring>

namespace pellix {

namespace {

std::uint32_t Le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::uint16_t Le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

} // namespace

std::vector<std::int16_t> TWavSound::Samples16() const {
    std::vector<std::int16_t> out(Data.size() / 2);
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<std::int16_t>(Le16(&Data[2 * i]));
    }
    return out;
}

std::optional<TWavSound> ParseWav(std::span<const unsigned char> bytes) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        return std::nullopt;
    }
    TWavSound wav;
    wav.RiffSize = Le32(bytes.data() + 4);
    bool haveFmt = false;
    bool haveData = false;
    size_t pos = 12;
    while (pos + 8 <= bytes.size()) {
        const unsigned char* chunk = bytes.data() + pos;
        const std::uint32_t size = Le32(chunk + 4);
        if (size > bytes.size() - pos - 8) {
            return std::nullopt; // truncated
        }
        const unsigned char* body = chunk + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
            wav.FmtSize = size;
            wav.FormatTag = Le16(body);
            wav.Channels = Le16(body + 2);
            wav.SampleRate = Le32(body + 4);
            wav.ByteRate = Le32(body + 8);
            wav.BlockAlign = Le16(body + 12);
            wav.BitsPerSample = Le16(body + 14);
            haveFmt = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            wav.DataSize = size;
            wav.Data.assign(body, body + size);
            haveData = true;
        }
        pos += 8 + size + (size & 1); // chunks are padded to even sizes
    }
    if (!haveFmt || !haveData || wav.FormatTag != 1 || wav.Channels == 0 || wav.BlockAlign == 0) {
        return std::nullopt;
    }
    return wav;
}

} // namespace pellix
