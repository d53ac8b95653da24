#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pellix {

// A RIFF WAVE file with one PCM "fmt " chunk and one "data" chunk.
struct TWavSound {
    std::uint32_t RiffSize = 0;
    std::uint32_t FmtSize = 0;
    std::uint16_t FormatTag = 0;
    std::uint16_t Channels = 0;
    std::uint32_t SampleRate = 0;
    std::uint32_t ByteRate = 0;
    std::uint16_t BlockAlign = 0;
    std::uint16_t BitsPerSample = 0;
    std::uint32_t DataSize = 0;
    std::vector<unsigned char> Data; // the raw sample bytes

    // 16-bit samples of the data chunk (little-endian, signed).
    std::vector<std::int16_t> Samples16() const;
};

// Reads a WAVE file; chunks other than "fmt " and "data" are skipped. Returns
// nothing for anything that is not a well-formed PCM WAVE file.
std::optional<TWavSound> ParseWav(std::span<const unsigned char> bytes);

} // namespace pellix
