#include "textnumber.h"

#include "faults.h"

#include <charconv>
#include <cmath>
#include <string>

namespace pellix {

namespace {

// A decimal number read from text: value = 0 or Digits x 10^Exponent.
struct Scanned {
    bool Negative = false;
    std::string Digits; // without leading zeros
    long long Exponent = 0;
};

enum class Grammar {
    Entry, // keyed-in and displayed texts: exponent digits stop at 500, "12E" allowed
    Paste, // clipboard: digits required around the exponent mark
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

class Reader {
public:
    Reader(std::string_view text, std::string_view sep) : t_(text), sep_(sep) {}

    bool AtEnd() const { return i_ == t_.size(); }
    bool Peek(char c) const { return i_ < t_.size() && t_[i_] == c; }
    bool PeekDigit() const { return i_ < t_.size() && IsDigit(t_[i_]); }
    bool Take(char c) {
        if (!Peek(c)) {
            return false;
        }
        ++i_;
        return true;
    }
    bool TakeSeparator() {
        if (sep_.empty() || t_.substr(i_, sep_.size()) != sep_) {
            return false;
        }
        i_ += sep_.size();
        return true;
    }
    char Next() { return t_[i_++]; }
    void SkipBlanks() {
        while (Take(' ')) {
        }
    }

private:
    std::string_view t_;
    std::string_view sep_;
    size_t i_ = 0;
};

bool Scan(std::string_view text, std::string_view sep, Grammar grammar, Scanned& out) {
    Reader r(text, sep);
    r.SkipBlanks();
    if (!r.Take('+')) {
        out.Negative = r.Take('-');
    }
    int mantissaDigits = 0;
    long long pointShift = 0; // digits read after the separator
    bool separator = false;
    for (;;) {
        if (r.PeekDigit()) {
            const char c = r.Next();
            ++mantissaDigits;
            if (separator) {
                ++pointShift;
            }
            if (c != '0' || !out.Digits.empty()) { // leading zeros carry no digit
                out.Digits += c;
            }
            continue;
        }
        if (!separator && r.TakeSeparator()) {
            separator = true;
            continue;
        }
        break;
    }
    if (mantissaDigits == 0) {
        return false;
    }
    long long exponent = 0;
    if (r.Take('E') || r.Take('e')) {
        bool negative = false;
        if (!r.Take('+')) {
            negative = r.Take('-');
        }
        int exponentDigits = 0;
        while (r.PeekDigit()) {
            if (grammar == Grammar::Entry && exponent >= 500) {
                return false; // digits left over
            }
            const int d = r.Next() - '0';
            if (exponent < 1'000'000'000) { // far beyond any double; saturate
                exponent = exponent * 10 + d;
            }
            ++exponentDigits;
        }
        if (grammar == Grammar::Paste && exponentDigits == 0) {
            return false;
        }
        if (negative) {
            exponent = -exponent;
        }
    }
    r.SkipBlanks();
    if (!r.AtEnd()) {
        return false;
    }
    out.Exponent = exponent - pointShift;
    return true;
}

enum class Range { Ok, Overflow };

// Converts scanned digits to the nearest double. Values beyond the double range
// report Overflow; values below it become 0 or subnormal.
Range ToValue(const Scanned& s, double& value) {
    value = 0;
    const auto firstDigitPower = static_cast<long long>(s.Digits.size()) + s.Exponent - 1;
    if (!s.Digits.empty() && firstDigitPower < 400) {
        if (firstDigitPower >= -400) {
            std::string text;
            text.reserve(s.Digits.size() + 24);
            text += s.Digits;
            text += 'e';
            char exponent[24];
            text.append(exponent,
                        std::to_chars(exponent, exponent + sizeof exponent, s.Exponent).ptr);
            double v = 0;
            const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
            if (res.ec == std::errc()) {
                value = v;
            } else if (firstDigitPower > 0) {
                return Range::Overflow;
            }
        }
    } else if (!s.Digits.empty()) {
        return Range::Overflow;
    }
    if (std::isinf(value)) {
        return Range::Overflow;
    }
    if (s.Negative) {
        value = -value;
    }
    return Range::Ok;
}

} // namespace

double PlainNumber(std::string_view text, std::string_view decimalSep) {
    Scanned s;
    if (!Scan(text, decimalSep, Grammar::Entry, s)) {
        return 0;
    }
    double v = 0;
    if (ToValue(s, v) == Range::Overflow) {
        throw EOverflow();
    }
    return v;
}

double NumberOfText(std::string_view text, const Separators& sep) {
    if (sep.Thousands.empty() || sep.Thousands == sep.Decimal ||
        text.find(sep.Thousands) == std::string_view::npos) {
        return PlainNumber(text, sep.Decimal);
    }
    std::string plain;
    plain.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, sep.Thousands.size(), sep.Thousands) == 0) {
            i += sep.Thousands.size();
        } else {
            plain += text[i++];
        }
    }
    return PlainNumber(plain, sep.Decimal);
}

std::optional<double> PasteNumber(std::string_view text, std::string_view decimalSep) {
    constexpr double Limit = 1.7e308;
    Scanned s;
    if (!Scan(text, decimalSep, Grammar::Paste, s)) {
        return std::nullopt;
    }
    double v = 0;
    if (ToValue(s, v) == Range::Overflow || std::fabs(v) > Limit) {
        return std::nullopt;
    }
    return v;
}

} // namespace pellix
