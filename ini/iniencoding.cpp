#include "iniencoding.h"

#include "base/utf8.h"

namespace pellix {

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LEBom = "\xFF\xFE";
constexpr std::string_view Utf16BEBom = "\xFE\xFF";

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
        const Utf8Read r = ReadUtf8(text, pos);
        pos += r.Size;
        for (const char16_t unit : Utf16Units(r.CodePoint)) {
            AppendUnit(out, unit, be);
        }
    }
    out.append(tail);
    return out;
}

} // namespace pellix
