#pragma once

#include "separators.h"

#include <string>

namespace pellix {

// The separators of the C library's locale of the environment (LC_ALL, LC_*,
// LANG): setlocale(LC_ALL, "") and localeconv(), converted from the locale's
// character set to UTF-8. The locale in force before the call is restored, so
// that the C library's number formatting stays as it was. Where the locale
// cannot be set or a separator cannot be converted, the decimal separator is
// "." and the thousands separator empty (the "C" locale's).
Separators SeparatorsFromEnvironment();

// The first character of a text in the current LC_CTYPE character set, as
// UTF-8; empty for an empty or unconvertible text.
std::string FirstCharAsUtf8(const char* text);

} // namespace pellix
