#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pellix {

// How a settings file's bytes encode its text: told by a byte-order mark, as
// for the language files. Without one the bytes are the text (UTF-8 or
// whatever the user wrote).
enum class TIniEncoding : std::uint8_t { Bytes, Utf8Bom, Utf16LE, Utf16BE };

// A file's bytes split into the encoding and the text as UTF-8. UTF-16 is
// converted unit by unit; a lone surrogate becomes its three-byte form and
// an odd last byte is kept aside, so that IniEncode gives back the exact
// bytes of an unchanged text.
struct TIniDecoded {
    TIniEncoding Encoding = TIniEncoding::Bytes;
    std::string Text;
    std::string Tail; // UTF-16: an odd last byte
};

TIniDecoded IniDecode(std::string bytes);

// The bytes of text (UTF-8) in encoding, byte-order mark and tail included.
// In UTF-16, a byte that does not form a UTF-8 character becomes U+FFFD.
std::string IniEncode(std::string_view text, TIniEncoding encoding, std::string_view tail);

} // namespace pellix
