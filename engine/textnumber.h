#pragma once

#include "separators.h"

#include <optional>
#include <string_view>

namespace pellix {

// The number of a keyed-in or displayed text: blanks, sign, digits with at most
// one decimal separator, an optional exponent ("12E" is 12; exponent digits are
// read only while the exponent is below 500). Anything unreadable gives 0; a
// readable value beyond the double range throws EOverflow.
double PlainNumber(std::string_view text, std::string_view decimalSep);

// The same after removing every thousands separator (the formatted display text).
double NumberOfText(std::string_view text, const Separators& sep);

// The strict form accepted from the clipboard: blanks, sign, digits, the decimal
// separator, exponent, blanks, nothing else; magnitude at most 1.7e308.
std::optional<double> PasteNumber(std::string_view text, std::string_view decimalSep);

} // namespace pellix
