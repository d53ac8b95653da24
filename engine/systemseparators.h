#pragma once

#include "separators.h"

#include <string>

namespace pellix {

// The number separators of the user's regional settings, read the same way by
// every front end. locale names a locale of the system instead ("de_DE.UTF-8"
// on Linux, "de-DE" on Windows); empty means the user's own: on Linux the C
// library's locale of the environment (LC_ALL, LC_NUMERIC, LANG), on Windows
// the regional settings. A locale that does not group digits (the C locale
// among them) gives an empty thousands separator. An unknown locale or a
// separator that cannot be read gives "." and no grouping, the C locale's.
// Nothing global changes: the program's own locale stays as it was.
Separators SystemSeparators(const std::string& locale = {});

} // namespace pellix
