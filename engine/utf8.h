#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pellix {

// The code points of a UTF-8 text; nullopt when it is not valid UTF-8
// (stray or missing continuation bytes, overlong forms, surrogates, values
// beyond U+10FFFF).
std::optional<std::u32string> DecodeUtf8(std::string_view text);

// UTF-8 of one code point (U+FFFD for a surrogate or a value beyond U+10FFFF).
std::string EncodeUtf8(char32_t cp);

// UTF-16 code units of a code point: one, or a surrogate pair.
std::u16string Utf16Units(char32_t cp);

} // namespace pellix
