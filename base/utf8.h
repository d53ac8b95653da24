#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pellix {

// The code points of a UTF-8 text; nullopt when it is not valid UTF-8
// (stray or missing continuation bytes, overlong forms, surrogates, values
// beyond U+10FFFF).
std::optional<std::u32string> DecodeUtf8(std::string_view text);

// One code point read at pos of a text that may hold anything: a well-formed
// sequence of up to U+10FFFF, surrogates in their three-byte form included, or
// else one byte read as U+FFFD with Valid false.
struct Utf8Read {
    char32_t CodePoint = 0xFFFD;
    std::size_t Size = 1;
    bool Valid = false;
};
Utf8Read ReadUtf8(std::string_view text, std::size_t pos);

// UTF-8 of one code point (U+FFFD for a surrogate or a value beyond U+10FFFF).
std::string EncodeUtf8(char32_t cp);

// Appends a code point up to U+10FFFF; a surrogate in its three-byte form, so
// that unpaired UTF-16 units survive a round trip.
void AppendUtf8(std::string& out, char32_t cp);

// UTF-16 code units of a code point: one, or a surrogate pair.
std::u16string Utf16Units(char32_t cp);

// Characters as counted for lengths and cuts of stored or shown texts: a
// lead byte with up to three continuation bytes after it, or any other single
// byte. On valid UTF-8 these are its code points.
std::size_t Utf8CharCount(std::string_view text);

// The first n characters of a text.
std::string_view Utf8FirstChars(std::string_view text, std::size_t n);

// A text without its last character.
std::string_view Utf8WithoutLastChar(std::string_view text);

// A text made safe to show on a terminal: control characters (C0, DEL and
// C1) and bytes that are not UTF-8 as \xNN or \uNNNN, everything else as it is.
std::string EscapeControls(std::string_view text);

} // namespace pellix
