#pragma once

#include "separators.h"

#include <QLocale>

namespace pellix {

// The decimal and thousands separators of a locale (the thousands separator is
// empty where the locale does not group digits).
Separators SeparatorsOf(const QLocale& locale);

} // namespace pellix
