#include "ininotation.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace pellix {

namespace {

constexpr int FixedMinExponent = -5; // 0.00001 is still fixed-point
constexpr int FixedMaxExponent = 14; // 999999999999999 is still fixed-point

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view SeparatorOrPoint(std::string_view decimalSep) {
    return decimalSep.empty() ? std::string_view(".") : decimalSep;
}

std::optional<std::int32_t> Int32Of(std::int64_t v) {
    if (v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(v);
}

// Parses all of text in the given base; nullopt on any leftover or overflow.
std::optional<std::int64_t> WholeNumber(std::string_view text, int base) {
    if (text.empty())
        return std::nullopt;
    std::int64_t v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, base);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return v;
}

} // namespace

std::optional<std::int32_t> IniIntegerOf(std::string_view text) {
    std::string_view hex;
    bool isHex = false;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        hex = text.substr(2);
        isHex = true;
    } else if (!text.empty() && text[0] == '$') {
        hex = text.substr(1);
        isHex = true;
    }
    if (isHex) {
        // from_chars would accept a leading '-'; hexadecimal texts carry no sign.
        if (hex.empty() || hex[0] == '-')
            return std::nullopt;
        const auto v = WholeNumber(hex, 16);
        return v ? Int32Of(*v) : std::nullopt;
    }
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !IsDigit(text[0]))
        return std::nullopt;
    const auto v = WholeNumber(text, 10);
    if (!v)
        return std::nullopt;
    return Int32Of(negative ? -*v : *v);
}

std::string IniIntegerText(std::int32_t value) {
    return std::to_string(value);
}

std::string IniFloatText(double value, std::string_view decimalSep) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return std::signbit(value) ? "-0" : "0";

    // The shortest digits that read back as the same double: "-d.ddde+XX".
    std::array<char, 64> buf{};
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::scientific);
    const std::string_view sci(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));

    const bool negative = sci.front() == '-';
    const std::size_t ePos = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, ePos))
        if (IsDigit(c))
            digits += c;
    int exponent = 0;
    std::from_chars(sci.data() + ePos + 1 + (sci[ePos + 1] == '+' ? 1 : 0), sci.data() + sci.size(),
                    exponent);

    const std::string_view sep = SeparatorOrPoint(decimalSep);
    std::string out = negative ? "-" : "";
    if (exponent >= FixedMinExponent && exponent <= FixedMaxExponent) {
        const auto intDigits = exponent + 1; // may be zero or negative
        if (intDigits <= 0) {
            out += '0';
            out += sep;
            out.append(static_cast<std::size_t>(-intDigits), '0');
            out += digits;
        } else {
            const auto n = static_cast<std::size_t>(intDigits);
            if (digits.size() <= n) {
                out += digits;
                out.append(n - digits.size(), '0');
            } else {
                out += digits.substr(0, n);
                out += sep;
                out += digits.substr(n);
            }
        }
    } else {
        out += digits[0];
        if (digits.size() > 1) {
            out += sep;
            out += digits.substr(1);
        }
        out += 'E';
        out += std::to_string(exponent);
    }
    return out;
}

namespace {

std::optional<double> FloatIn(std::string_view text, std::string_view sep) {
    // Rebuilt in the notation from_chars reads, after checking the whole text.
    std::string plain;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            plain += '-';
        ++i;
    }
    std::size_t mantissaDigits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++mantissaDigits)
        plain += text[i];
    if (text.substr(i).starts_with(sep)) {
        i += sep.size();
        plain += '.';
        for (; i < text.size() && IsDigit(text[i]); ++i, ++mantissaDigits)
            plain += text[i];
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        plain += 'e';
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            plain += text[i++];
        std::size_t expDigits = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i, ++expDigits)
            plain += text[i];
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;

    double v = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), v);
    if (ec != std::errc() || end != plain.data() + plain.size())
        return std::nullopt;
    return v;
}

} // namespace

std::optional<double> IniFloatOf(std::string_view text, std::string_view decimalSep) {
    const std::string_view sep = SeparatorOrPoint(decimalSep);
    if (auto v = FloatIn(text, sep))
        return v;
    // A file written under other regional settings: the other common separator.
    if (sep != ".")
        if (auto v = FloatIn(text, "."))
            return v;
    if (sep != ",")
        return FloatIn(text, ",");
    return std::nullopt;
}

} // namespace pellix
