#include "decimal.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace pellix {

namespace {

// Splits the output of to_chars(scientific, 17) - "d.ddddde+XX" - into digits and exponent.
template <typename Float>
DecimalDigits Decompose(Float x) {
    DecimalDigits d;
    d.Negative = std::signbit(x);
    if (x == 0) {
        return d;
    }
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific,
                             SignificantDigits - 1);
    const char* p = buf;
    d.Digits.reserve(SignificantDigits);
    for (; p != res.ptr && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') {
            d.Digits.push_back(*p);
        }
    }
    if (p != res.ptr) {
        d.Exponent = std::atoi(p + 1);
    }
    d.Zero = false;
    return d;
}

} // namespace

DecimalDigits ToDecimal(double x) { return Decompose(x); }
DecimalDigits ToDecimal(long double x) { return Decompose(x); }

void DecimalDigits::RoundHalfUp(int keep) {
    if (Zero || keep >= static_cast<int>(Digits.size())) {
        return;
    }
    if (keep < 0) {
        Zero = true;
        Digits.clear();
        Exponent = 0;
        return;
    }
    const bool up = Digits[static_cast<size_t>(keep)] >= '5';
    Digits.resize(static_cast<size_t>(keep));
    if (!up) {
        if (Digits.find_first_not_of('0') == std::string::npos) {
            Zero = true;
            Digits.clear();
            Exponent = 0;
        }
        return;
    }
    int i = keep - 1;
    for (; i >= 0; --i) {
        char& c = Digits[static_cast<size_t>(i)];
        if (c == '9') {
            c = '0';
        } else {
            ++c;
            return;
        }
    }
    // Carry out of the first digit: 99.5 -> 100.
    Digits.assign(static_cast<size_t>(keep > 0 ? keep : 1), '0');
    Digits[0] = '1';
    ++Exponent;
}

} // namespace pellix
