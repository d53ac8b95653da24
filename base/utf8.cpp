#include "utf8.h"

namespace pellix {

namespace {

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u;
}

// Bytes of the character that begins at pos.
std::size_t CharSize(std::string_view text, std::size_t pos) {
    std::size_t end = pos + 1;
    if (!IsContinuation(text[pos])) {
        while (end < text.size() && end - pos < 4 && IsContinuation(text[end])) {
            ++end;
        }
    }
    return end - pos;
}

} // namespace

Utf8Read ReadUtf8(std::string_view text, std::size_t pos) {
    const auto b0 = static_cast<unsigned char>(text[pos]);
    const auto cont = [&](std::size_t i) {
        return pos + i < text.size() && IsContinuation(text[pos + i]);
    };
    const auto bits = [&](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(text[pos + i]) & 0x3F);
    };
    if (b0 < 0x80) {
        return {b0, 1, true};
    }
    if (b0 >= 0xC2 && b0 < 0xE0 && cont(1)) {
        return {((b0 & 0x1Fu) << 6) | bits(1), 2, true};
    }
    if (b0 >= 0xE0 && b0 < 0xF0 && cont(1) && cont(2)) {
        const char32_t v = ((b0 & 0x0Fu) << 12) | (bits(1) << 6) | bits(2);
        if (v >= 0x800) {
            return {v, 3, true};
        }
    } else if (b0 >= 0xF0 && b0 < 0xF5 && cont(1) && cont(2) && cont(3)) {
        const char32_t v = ((b0 & 0x07u) << 18) | (bits(1) << 12) | (bits(2) << 6) | bits(3);
        if (v >= 0x10000 && v <= 0x10FFFF) {
            return {v, 4, true};
        }
    }
    return {};
}

std::optional<std::u32string> DecodeUtf8(std::string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Read r = ReadUtf8(text, i);
        if (!r.Valid || (r.CodePoint >= 0xD800 && r.CodePoint <= 0xDFFF))
            return std::nullopt;
        out += r.CodePoint;
        i += r.Size;
    }
    return out;
}

std::string EncodeUtf8(char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = 0xFFFD;
    std::string out;
    AppendUtf8(out, cp);
    return out;
}

void AppendUtf8(std::string& out, char32_t cp) {
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
}

std::u16string Utf16Units(char32_t cp) {
    if (cp < 0x10000)
        return std::u16string(1, static_cast<char16_t>(cp));
    cp -= 0x10000;
    return {static_cast<char16_t>(0xD800 + (cp >> 10)),
            static_cast<char16_t>(0xDC00 + (cp & 0x3FF))};
}

std::size_t Utf8CharCount(std::string_view text) {
    std::size_t n = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += CharSize(text, pos)) {
        ++n;
    }
    return n;
}

std::string_view Utf8FirstChars(std::string_view text, std::size_t n) {
    std::size_t pos = 0;
    for (std::size_t count = 0; count < n && pos < text.size(); ++count) {
        pos += CharSize(text, pos);
    }
    return text.substr(0, pos);
}

std::string_view Utf8WithoutLastChar(std::string_view text) {
    // Back over the trailing continuation bytes: a lead byte right before at
    // most three of them takes them all; otherwise the last one stands alone.
    std::size_t trail = 0;
    while (trail < text.size() && IsContinuation(text[text.size() - 1 - trail])) {
        ++trail;
    }
    const bool lead = trail < text.size() && trail <= 3;
    return text.substr(0, text.size() - (lead ? trail + 1 : trail > 0 ? 1 : 0));
}

std::string EscapeControls(std::string_view text) {
    constexpr std::string_view Hex = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Read r = ReadUtf8(text, i);
        const char32_t cp = r.CodePoint;
        if (!r.Valid || cp < 0x20 || cp == 0x7F) {
            const auto b = static_cast<unsigned char>(text[i]);
            out += "\\x";
            out += Hex[b >> 4];
            out += Hex[b & 0xF];
        } else if (cp >= 0x80 && cp < 0xA0) {
            out += "\\u00";
            out += Hex[cp >> 4];
            out += Hex[cp & 0xF];
        } else {
            out.append(text, i, r.Size);
        }
        i += r.Size;
    }
    return out;
}

} // namespace pellix
