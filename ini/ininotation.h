#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pellix {

// Value notations of the settings file. None of them depends on the C
// library's locale: the decimal separator is always passed in.

// Integer text: a text longer than two characters beginning with "0x" or "0X",
// or any text beginning with "$", is hexadecimal (digits only, no sign);
// anything else is decimal with an optional '+' or '-'. nullopt for an empty
// or unreadable text or a value outside the signed 32-bit range.
std::optional<std::int32_t> IniIntegerOf(std::string_view text);

// Decimal, with '-' when negative.
std::string IniIntegerText(std::int32_t value);

// Float text in general notation with the fewest significant digits that
// read back as the same double (at most 17), and decimalSep (UTF-8; "." when
// empty) as the decimal separator. Fixed-point notation is used while the
// decimal exponent lies in -5 to 14 (0.00001 <= |x| < 1e15); beyond that the
// mantissa, "E" and the exponent without '+' or leading zeros: 1E20,
// 1.5E-10. Zero is "0" (negative zero "-0"). Non-finite values give "NAN",
// "INF" and "-INF", which IniFloatOf does not read, so they come back as the
// reader's default.
std::string IniFloatText(double value, std::string_view decimalSep);

// Reads a float text in the notation above: optional sign, digits with at
// most one decimalSep (digits on at least one side of it), optionally 'E' or
// 'e' with an optional sign and at least one digit. Nothing else is allowed,
// not even blanks or thousands separators. A text that does not read with
// decimalSep is tried with '.' and then ',' as the separator, so that a file
// written under other regional settings keeps its numbers. nullopt when the
// text does not read or its value lies outside the double range (overflow
// and underflow).
std::optional<double> IniFloatOf(std::string_view text, std::string_view decimalSep);

} // namespace pellix
