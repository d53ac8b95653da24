#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace pellix {

// A short, stable name for a longer text (a file's path): the 16 lowercase hex
// digits of the text's 64-bit FNV-1a hash, one code unit at a time.
template <class Char>
std::string HashName(std::basic_string_view<Char> text) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const Char c : text) {
        hash ^= static_cast<std::make_unsigned_t<Char>>(c);
        hash *= 0x100000001b3ULL;
    }
    std::string digits;
    for (int shift = 60; shift >= 0; shift -= 4)
        digits += "0123456789abcdef"[(hash >> shift) & 0xF];
    return digits;
}

} // namespace pellix
