// The C library's locale data, read through a locale object of this thread
// only (POSIX newlocale/uselocale), so that no other thread sees a change.

#include "systemseparators.h"

#include "base/utf8.h"

#include <climits>
#include <clocale>
#include <cstring>
#include <cwchar>
#include <locale.h>

namespace pellix {

namespace {

// The first character of a text in the thread's LC_CTYPE character set, as
// UTF-8; empty for an empty or unconvertible text.
std::string FirstCharAsUtf8(const char* text) {
    if (text == nullptr || *text == '\0') {
        return {};
    }
    std::mbstate_t state{};
    wchar_t wc = 0;
    const std::size_t used = std::mbrtowc(&wc, text, std::strlen(text), &state);
    if (used == 0 || used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2)) {
        return {};
    }
    return EncodeUtf8(static_cast<char32_t>(wc));
}

} // namespace

Separators SystemSeparators(const std::string& locale) {
    Separators sep{".", ""};
    const locale_t numeric =
        newlocale(LC_CTYPE_MASK | LC_NUMERIC_MASK, locale.c_str(), static_cast<locale_t>(0));
    if (numeric == static_cast<locale_t>(0)) {
        return sep;
    }
    const locale_t previous = uselocale(numeric);
    const std::lconv* lc = std::localeconv();
    if (std::string decimal = FirstCharAsUtf8(lc->decimal_point); !decimal.empty()) {
        sep.Decimal = std::move(decimal);
    }
    // An empty grouping (or CHAR_MAX first) means the locale groups no digits,
    // whatever its thousands separator says.
    const char group = lc->grouping != nullptr ? lc->grouping[0] : '\0';
    if (group > 0 && group != CHAR_MAX) {
        sep.Thousands = FirstCharAsUtf8(lc->thousands_sep);
    }
    uselocale(previous);
    freelocale(numeric);
    if (sep.Thousands == sep.Decimal) {
        sep.Thousands.clear();
    }
    return sep;
}

} // namespace pellix
