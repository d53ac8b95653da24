#pragma once

#include <string>

namespace pellix {

// Decimal digits of a value as the display sees them: 18 significant digits
// (nearest, ties to even); later digits are zeros.
struct DecimalDigits {
    bool Negative = false; // sign bit of the value, also for -0
    bool Zero = true;      // all digits zero
    std::string Digits;    // significant digits, first one non-zero unless Zero
    int Exponent = 0;      // power of ten of the first digit

    // Digit i (0 = first significant digit); zeros past the stored ones.
    char Digit(int i) const {
        return i >= 0 && i < static_cast<int>(Digits.size()) ? Digits[static_cast<size_t>(i)] : '0';
    }

    // Rounds half away from zero, keeping `keep` significant digits (keep <= 0
    // rounds before the first digit). A carry out of the first digit adds a
    // digit in front and raises Exponent.
    void RoundHalfUp(int keep);
};

inline constexpr int SignificantDigits = 18;

DecimalDigits ToDecimal(double x);
DecimalDigits ToDecimal(long double x);

} // namespace pellix
