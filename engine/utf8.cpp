#include "utf8.h"

namespace pellix {

std::optional<std::u32string> DecodeUtf8(std::string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        std::size_t len = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (b0 < 0x80) {
            len = 1;
            cp = b0;
        } else if ((b0 & 0xE0) == 0xC0) {
            len = 2;
            cp = b0 & 0x1Fu;
            min = 0x80;
        } else if ((b0 & 0xF0) == 0xE0) {
            len = 3;
            cp = b0 & 0x0Fu;
            min = 0x800;
        } else if ((b0 & 0xF8) == 0xF0) {
            len = 4;
            cp = b0 & 0x07u;
            min = 0x10000;
        } else {
            return std::nullopt;
        }
        if (i + len > text.size())
            return std::nullopt;
        for (std::size_t k = 1; k < len; ++k) {
            const auto b = static_cast<unsigned char>(text[i + k]);
            if ((b & 0xC0) != 0x80)
                return std::nullopt;
            cp = (cp << 6) | (b & 0x3Fu);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return std::nullopt;
        out += cp;
        i += len;
    }
    return out;
}

std::string EncodeUtf8(char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = 0xFFFD;
    std::string out;
    const auto byte = [](char32_t v) { return static_cast<char>(static_cast<unsigned char>(v)); };
    if (cp < 0x80) {
        out += byte(cp);
    } else if (cp < 0x800) {
        out += byte(0xC0 | (cp >> 6));
        out += byte(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += byte(0xE0 | (cp >> 12));
        out += byte(0x80 | ((cp >> 6) & 0x3F));
        out += byte(0x80 | (cp & 0x3F));
    } else {
        out += byte(0xF0 | (cp >> 18));
        out += byte(0x80 | ((cp >> 12) & 0x3F));
        out += byte(0x80 | ((cp >> 6) & 0x3F));
        out += byte(0x80 | (cp & 0x3F));
    }
    return out;
}

std::u16string Utf16Units(char32_t cp) {
    if (cp < 0x10000)
        return std::u16string(1, static_cast<char16_t>(cp));
    cp -= 0x10000;
    return {static_cast<char16_t>(0xD800 + (cp >> 10)),
            static_cast<char16_t>(0xDC00 + (cp & 0x3FF))};
}

} // namespace pellix
