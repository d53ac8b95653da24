#include "display.h"

#include "decimal.h"
#include "extended.h"
#include "zuncalc.h"

#include <algorithm>
#include <cmath>

namespace pellix {

namespace {

// Digits of the integer part (place values 10^Exponent .. 10^0) and the first
// n decimals of an already rounded value.
void IntegerDigits(const DecimalDigits& d, std::string& out) {
    if (d.Zero || d.Exponent < 0) {
        out += '0';
        return;
    }
    for (int i = 0; i <= d.Exponent; ++i) {
        out += d.Digit(i);
    }
}

void Decimals(const DecimalDigits& d, int n, std::string& out) {
    for (int k = 1; k <= n; ++k) {
        out += d.Zero ? '0' : d.Digit(d.Exponent + k);
    }
}

std::string Grouped(const std::string& digits, const std::string& sep) {
    if (sep.empty() || digits.size() <= 3) {
        return digits;
    }
    std::string out;
    out.reserve(digits.size() + (digits.size() / 3) * sep.size());
    const size_t lead = digits.size() % 3;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (i % 3) == lead % 3) {
            out += sep;
        }
        out += digits[i];
    }
    return out;
}

// log10(abs(x)) rounded to double, 0 for values that are zero by the zero test.
double DisplayLog(double x) {
    if (IsZeroByTest(x)) {
        return 0;
    }
    return static_cast<double>(std::log10(std::fabs(static_cast<Ext>(x))));
}

std::string NonFiniteText(double x) {
    return std::isnan(x) ? "Invalid Data" : SOverflow;
}

} // namespace

std::string FixedForm(double x, int n, const Separators& sep) {
    DecimalDigits d = ToDecimal(x);
    d.RoundHalfUp(d.Exponent + 1 + n);
    std::string out;
    if (!d.Zero && d.Negative) {
        out += '-';
    }
    std::string digits;
    IntegerDigits(d, digits);
    out += Grouped(digits, sep.Thousands);
    if (n > 0) {
        out += sep.Decimal;
        Decimals(d, n, out);
    }
    return out;
}

std::string ScientificForm(double x, int n, const Separators& sep) {
    const int p = std::clamp(n, 2, SignificantDigits);
    DecimalDigits d = ToDecimal(x);
    d.RoundHalfUp(p);
    std::string out;
    if (!d.Zero && d.Negative) {
        out += '-';
    }
    out += d.Zero ? '0' : d.Digit(0);
    out += sep.Decimal;
    for (int i = 1; i < p; ++i) {
        out += d.Zero ? '0' : d.Digit(i);
    }
    const int e = d.Zero ? 0 : d.Exponent;
    out += e < 0 ? "E-" : "E+";
    std::string mag = std::to_string(e < 0 ? -e : e);
    if (mag.size() < 3) {
        mag.insert(0, 3 - mag.size(), '0');
    }
    out += mag;
    return out;
}

std::int32_t EngExponent(double x) {
    if (IsZeroByTest(x) || !std::isfinite(x)) {
        return 0;
    }
    const double l = DisplayLog(x);
    std::int32_t k = 0;
    if (l >= 0) {
        k = static_cast<std::int32_t>(std::trunc(l));
    } else {
        // An L within 1e-8 below a non-positive multiple of three still reaches it.
        k = static_cast<std::int32_t>(std::trunc(static_cast<Ext>(l) - 2.99999999L));
    }
    return 3 * (k / 3);
}

std::string EngineeringForm(double x, int n) {
    const std::int32_t e = EngExponent(x);
    const Ext m = static_cast<Ext>(x) / Pow10Ext(e);
    DecimalDigits d = ToDecimal(m);
    d.RoundHalfUp(d.Exponent + 1 + n);
    std::string out;
    if (std::signbit(m)) {
        out += '-';
    }
    IntegerDigits(d, out);
    if (n > 0) {
        out += '.';
        Decimals(d, n, out);
    }
    out += 'E';
    out += std::to_string(e);
    return out;
}

std::string TZunCalc::Display() {
    std::string text;
    if (!FError.empty()) {
        text = std::move(FError);
    } else {
        const double x = Stack[0];
        // FixLen only leaves 0..9 through an edited settings file; show the nearest.
        const int n = std::clamp(FixLen, 0, 9);
        if (!std::isfinite(x) && Mode <= zunEng) {
            text = NonFiniteText(x);
        } else if (Mode == zunFix) {
            const double l = DisplayLog(x);
            text = (l > -12 && l < 12) ? FixedForm(x, n, Regional) : ScientificForm(x, n, Regional);
        } else if (Mode == zunSci) {
            text = ScientificForm(x, n, Regional);
        } else if (Mode == zunEng) {
            text = EngineeringForm(x, n);
        }
    }
    FError.clear();
    return text;
}

} // namespace pellix
