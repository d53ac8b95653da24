#include "iniencoding.h"

namespace pellix {

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LEBom = "\xFF\xFE";
constexpr std::string_view Utf16BEBom = "\xFE\xFF";

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendUnit(std::string& out, char16_t unit, bool bigEndian) {
    const auto hi = static_cast<char>(unit >> 8);
    const auto lo = static_cast<char>(unit & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
}

bool IsHigh(char32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLow(char32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// The next character of UTF-8 text at pos (surrogates in their three-byte
// form included), advancing pos; U+FFFD and one byte for anything else.
char32_t NextChar(std::string_view text, std::size_t& pos) {
    const auto b0 = static_cast<unsigned char>(text[pos]);
    const auto cont = [&](std::size_t i) {
        return pos + i < text.size() && (static_cast<unsigned char>(text[pos + i]) & 0xC0) == 0x80;
    };
    const auto bits = [&](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(text[pos + i]) & 0x3F);
    };
    char32_t cp = 0xFFFD;
    std::size_t len = 1;
    if (b0 < 0x80) {
        cp = b0;
    } else if (b0 >= 0xC2 && b0 < 0xE0 && cont(1)) {
        cp = ((b0 & 0x1Fu) << 6) | bits(1);
        len = 2;
    } else if (b0 >= 0xE0 && b0 < 0xF0 && cont(1) && cont(2)) {
        const char32_t v = ((b0 & 0x0Fu) << 12) | (bits(1) << 6) | bits(2);
        if (v >= 0x800) {
            cp = v;
            len = 3;
        }
    } else if (b0 >= 0xF0 && b0 < 0xF5 && cont(1) && cont(2) && cont(3)) {
        const char32_t v = ((b0 & 0x07u) << 18) | (bits(1) << 12) | (bits(2) << 6) | bits(3);
        if (v >= 0x10000 && v <= 0x10FFFF) {
            cp = v;
            len = 4;
        }
    }
    pos += len;
    return cp;
}

} // namespace

TIniDecoded IniDecode(std::string bytes) {
    TIniDecoded d;
    const std::string_view b(bytes);
    if (b.starts_with(Utf8Bom)) {
        d.Encoding = TIniEncoding::Utf8Bom;
        d.Text = bytes.substr(Utf8Bom.size());
        return d;
    }
    const bool le = b.starts_with(Utf16LEBom);
    if (!le && !b.starts_with(Utf16BEBom)) {
        d.Text = std::move(bytes);
        return d;
    }
    d.Encoding = le ? TIniEncoding::Utf16LE : TIniEncoding::Utf16BE;
    const std::string_view units = b.substr(2, (b.size() - 2) / 2 * 2);
    d.Tail = std::string(b.substr(2 + units.size()));
    d.Text.reserve(units.size() * 3 / 2);
    const auto unit = [&](std::size_t i) {
        const auto x = static_cast<unsigned char>(units[2 * i]);
        const auto y = static_cast<unsigned char>(units[2 * i + 1]);
        return static_cast<char32_t>(le ? (y << 8) | x : (x << 8) | y);
    };
    const std::size_t count = units.size() / 2;
    for (std::size_t i = 0; i < count; ++i) {
        const char32_t u = unit(i);
        if (IsHigh(u) && i + 1 < count && IsLow(unit(i + 1))) {
            AppendUtf8(d.Text, 0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
            ++i;
        } else {
            AppendUtf8(d.Text, u);
        }
    }
    return d;
}

std::string IniEncode(std::string_view text, TIniEncoding encoding, std::string_view tail) {
    std::string out;
    switch (encoding) {
    case TIniEncoding::Bytes:
        return std::string(text);
    case TIniEncoding::Utf8Bom:
        out.reserve(Utf8Bom.size() + text.size());
        out.append(Utf8Bom).append(text);
        return out;
    case TIniEncoding::Utf16LE:
    case TIniEncoding::Utf16BE:
        break;
    }
    const bool be = encoding == TIniEncoding::Utf16BE;
    out.reserve(2 + text.size() * 2 + tail.size());
    out.append(be ? Utf16BEBom : Utf16LEBom);
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t cp = NextChar(text, pos);
        if (cp >= 0x10000) {
            AppendUnit(out, static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)), be);
            AppendUnit(out, static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)), be);
        } else {
            AppendUnit(out, static_cast<char16_t>(cp), be);
        }
    }
    out.append(tail);
    return out;
}

} // namespace pellix
