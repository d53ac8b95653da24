#pragma once

// Arithmetic of one engine operation runs in the x87 80-bit extended format and
// is rounded to double where a value is stored. These helpers turn the IEEE
// conditions that count as faults into exceptions at the point where they arise.

#include "faults.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace pellix {

using Ext = long double;

static_assert(std::numeric_limits<long double>::digits == 64,
              "Pellix needs long double in the x87 80-bit extended format: build with GCC, Clang "
              "or MinGW-w64 on x86/x86-64 (MSVC's long double is only 64 bits)");

// Values with abs(v) <= 1e-199 count as zero where an operation tests for zero.
inline bool IsZeroByTest(Ext v) {
    return std::fabs(v) <= 1e-199L;
}

// Checks a value inside a computation: beyond the extended range is overflow,
// not-a-number is an invalid operation.
inline Ext Checked(Ext v) {
    if (std::isnan(v)) {
        throw EInvalidOp();
    }
    if (std::isinf(v)) {
        throw EOverflow();
    }
    return v;
}

// Rounds to double as a store does; beyond the double range is overflow.
// Underflow is never a fault: tiny values become subnormal or zero.
inline double ToDouble(Ext v) {
    const double r = static_cast<double>(Checked(v));
    if (std::isinf(r)) {
        throw EOverflow();
    }
    return r;
}

inline Ext Divide(Ext a, Ext b) {
    if (b == 0) {
        if (a == 0 || std::isnan(a)) {
            throw EInvalidOp();
        }
        throw EZeroDivide();
    }
    return Checked(a / b);
}

// Truncation or rounding through a 64-bit signed integer; out of its range
// (or not a number) is an invalid operation.
inline std::int64_t ToInt64(Ext v) {
    if (!(std::fabs(v) < 9223372036854775808.0L)) {
        throw EInvalidOp();
    }
    return static_cast<std::int64_t>(v);
}

inline double TruncInt64(double x) {
    return static_cast<double>(ToInt64(x));
}

// Rounds to the nearest integer, ties to even, through a 64-bit signed integer.
inline std::int64_t RoundInt64(double x) {
    const double r = std::nearbyint(x); // default rounding mode: ties to even
    return ToInt64(r);
}

// b to the power n (n >= 0) by square-and-multiply over the bits of n from the
// lowest, all in extended precision.
inline Ext IntPower(Ext b, std::uint32_t n) {
    Ext p = 1;
    Ext cur = b;
    while (n != 0) {
        if (n & 1u) {
            p = Checked(p * cur);
        }
        n >>= 1;
        if (n != 0) {
            cur = Checked(cur * cur);
        }
    }
    return p;
}

// 10 to the power e as the display's engineering form forms it.
inline Ext Pow10Ext(int e) {
    const Ext p = IntPower(10.0L, static_cast<std::uint32_t>(e < 0 ? -e : e));
    return e < 0 ? 1.0L / p : p;
}

} // namespace pellix
