#include "decimal.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace pellix {

namespace {

__extension__ typedef unsigned __int128 UInt128;

// Exact decimal expansion for values of moderate magnitude (the common case),
// rounded to 18 significant digits, ties to even. Much faster than the general
// conversion for long double. Returns false when the value is out of its range.
bool FastDigits(long double v, DecimalDigits& d) {
    int exp2 = 0;
    const long double frac = std::frexp(v, &exp2); // v = frac * 2^exp2, frac in [0.5, 1)
    const int shift = 64 - exp2;                   // v = mantissa / 2^shift
    if (shift < 1 || shift > 120) {
        return false;
    }
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(frac, 64));
    const UInt128 mask = (UInt128(1) << shift) - 1;
    const UInt128 whole = shift >= 64 ? 0 : UInt128(mantissa >> shift);
    UInt128 rest = UInt128(mantissa) & mask;

    char digits[SignificantDigits + 1];
    int count = 0;
    int exponent = -1;
    if (whole != 0) {
        char buf[24];
        int n = 0;
        for (auto w = static_cast<std::uint64_t>(whole); w != 0; w /= 10) {
            buf[n++] = static_cast<char>('0' + w % 10);
        }
        exponent = n - 1;
        while (n > 0 && count <= SignificantDigits) {
            digits[count++] = buf[--n];
        }
        if (n > 0) {
            return false; // more than 19 integer digits: not this path's job
        }
    }
    while (count <= SignificantDigits) {
        rest *= 10;
        const auto digit = static_cast<char>('0' + static_cast<int>(rest >> shift));
        rest &= mask;
        if (count == 0 && digit == '0') {
            --exponent; // leading zero of a value below 1
            continue;
        }
        digits[count++] = digit;
    }
    // digits[18] is the first dropped digit; rest holds everything after it.
    const char next = digits[SignificantDigits];
    bool up =
        next > '5' || (next == '5' && (rest != 0 || (digits[SignificantDigits - 1] - '0') % 2));
    d.Digits.assign(digits, SignificantDigits);
    d.Exponent = exponent;
    if (up) {
        int i = SignificantDigits - 1;
        for (; i >= 0 && d.Digits[static_cast<size_t>(i)] == '9'; --i) {
            d.Digits[static_cast<size_t>(i)] = '0';
        }
        if (i < 0) {
            d.Digits[0] = '1';
            ++d.Exponent;
        } else {
            ++d.Digits[static_cast<size_t>(i)];
        }
    }
    return true;
}

// Splits the output of to_chars(scientific, 17) - "d.ddddde+XX" - into digits and exponent.
template <typename Float>
DecimalDigits Decompose(Float x) {
    DecimalDigits d;
    d.Negative = std::signbit(x);
    if (x == 0) {
        return d;
    }
    d.Zero = false;
    if (FastDigits(std::fabs(static_cast<long double>(x)), d)) {
        return d;
    }
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf - 1, std::fabs(x), std::chars_format::scientific,
                             SignificantDigits - 1);
    const char* p = buf;
    d.Digits.reserve(SignificantDigits);
    for (; p != res.ptr && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') {
            d.Digits.push_back(*p);
        }
    }
    *res.ptr = '\0'; // to_chars does not terminate
    if (p != res.ptr) {
        d.Exponent = std::atoi(p + 1);
    }
    return d;
}

} // namespace

DecimalDigits ToDecimal(double x) {
    return Decompose(x);
}
DecimalDigits ToDecimal(long double x) {
    return Decompose(x);
}

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
