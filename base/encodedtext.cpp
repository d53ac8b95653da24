#include "encodedtext.h"

#include "utf8.h"

#include <algorithm>
#include <optional>

namespace pellix {

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LEBom = "\xFF\xFE";
constexpr std::string_view Utf16BEBom = "\xFE\xFF";

bool IsHigh(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLow(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// Valid UTF-8 with at least one character beyond ASCII.
bool IsUtf8BeyondAscii(std::string_view text) {
    const std::optional<std::u32string> chars = DecodeUtf8(text);
    return chars && std::ranges::any_of(*chars, [](char32_t c) { return c >= 0x80; });
}

TLineEnd FirstLineEnd(std::string_view text, TLineEnd none) {
    const std::size_t eol = text.find_first_of("\r\n");
    if (eol == std::string_view::npos)
        return none;
    if (text[eol] == '\n')
        return TLineEnd::LF;
    return eol + 1 < text.size() && text[eol + 1] == '\n' ? TLineEnd::CRLF : TLineEnd::CR;
}

} // namespace

TDecodedText DecodeText(std::string bytes, const TTextReading& reading) {
    TDecodedText d;
    TTextForm& form = d.Form;
    const std::string_view b(bytes);
    if (b.starts_with(Utf8Bom)) {
        form.Encoding = TTextEncoding::Utf8;
        form.Bom = true;
        d.Text = bytes.substr(Utf8Bom.size());
    } else if (b.starts_with(Utf16LEBom) || b.starts_with(Utf16BEBom)) {
        const bool le = b.starts_with(Utf16LEBom);
        form.Encoding = le ? TTextEncoding::Utf16LE : TTextEncoding::Utf16BE;
        const std::size_t count = (b.size() - 2) / 2;
        form.Tail = std::string(b.substr(2 + count * 2));
        std::u16string units(count, u'\0');
        for (std::size_t i = 0; i < count; ++i) {
            const auto x = static_cast<unsigned char>(b[2 + 2 * i]);
            const auto y = static_cast<unsigned char>(b[3 + 2 * i]);
            units[i] = static_cast<char16_t>(le ? (y << 8) | x : (x << 8) | y);
        }
        d.Text = Utf8OfUnits(units);
    } else {
        if (reading.Utf8WithoutBom && IsUtf8BeyondAscii(b))
            form.Encoding = TTextEncoding::Utf8;
        d.Text = std::move(bytes);
    }
    form.LineEnd = FirstLineEnd(d.Text, reading.LineEnd);
    return d;
}

std::string EncodeText(std::string_view text, const TTextForm& form) {
    std::string out;
    switch (form.Encoding) {
    case TTextEncoding::Bytes:
    case TTextEncoding::Utf8:
        if (!form.Bom)
            return std::string(text);
        out.reserve(Utf8Bom.size() + text.size());
        out.append(Utf8Bom).append(text);
        return out;
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE:
        break;
    }
    const bool be = form.Encoding == TTextEncoding::Utf16BE;
    const std::u16string units = UnitsOfUtf8(text);
    out.reserve(2 + units.size() * 2 + form.Tail.size());
    out.append(be ? Utf16BEBom : Utf16LEBom);
    for (const char16_t unit : units) {
        const auto hi = static_cast<char>(unit >> 8);
        const auto lo = static_cast<char>(unit & 0xFF);
        out += be ? hi : lo;
        out += be ? lo : hi;
    }
    out.append(form.Tail);
    return out;
}

std::string_view LineEndText(TLineEnd end) {
    switch (end) {
    case TLineEnd::CRLF:
        return "\r\n";
    case TLineEnd::CR:
        return "\r";
    case TLineEnd::LF:
        break;
    }
    return "\n";
}

std::string Utf8OfUnits(std::u16string_view units) {
    std::string out;
    out.reserve(units.size() * 3 / 2);
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (IsHigh(u) && i + 1 < units.size() && IsLow(units[i + 1])) {
            AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

std::u16string UnitsOfUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const Utf8Read r = ReadUtf8(text, pos);
        pos += r.Size;
        out += Utf16Units(r.CodePoint);
    }
    return out;
}

} // namespace pellix
