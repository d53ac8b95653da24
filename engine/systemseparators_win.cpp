// The regional settings of Windows (the user's, with the overrides made in the
// control panel, or those of a named locale).

#include "systemseparators.h"

#include "base/utf8.h"

#include <windows.h>

#include <string>

namespace pellix {

namespace {

// A locale text as UTF-16; empty where the locale or the item is unknown.
std::wstring LocaleText(const wchar_t* locale, LCTYPE item) {
    wchar_t text[16] = {};
    const int n = GetLocaleInfoEx(locale, item, text, 16);
    return n > 1 ? std::wstring(text, static_cast<std::size_t>(n - 1)) : std::wstring();
}

// The first character of a UTF-16 text as UTF-8 (a surrogate pair is one
// character); empty for an empty text or a lone surrogate.
std::string FirstCharAsUtf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const auto first = static_cast<char32_t>(text[0]);
    if (first < 0xD800 || first > 0xDFFF) {
        return EncodeUtf8(first);
    }
    if (first > 0xDBFF || text.size() < 2 || text[1] < 0xDC00 || text[1] > 0xDFFF) {
        return {};
    }
    return EncodeUtf8(0x10000 + ((first - 0xD800) << 10) +
                      (static_cast<char32_t>(text[1]) - 0xDC00));
}

} // namespace

Separators SystemSeparators(const std::string& locale) {
    Separators sep{".", ""};
    std::wstring name;
    for (const char c : locale) {
        name += static_cast<wchar_t>(static_cast<unsigned char>(c)); // locale names are ASCII
    }
    const wchar_t* which = locale.empty() ? LOCALE_NAME_USER_DEFAULT : name.c_str();
    if (std::string decimal = FirstCharAsUtf8(LocaleText(which, LOCALE_SDECIMAL));
        !decimal.empty()) {
        sep.Decimal = std::move(decimal);
    }
    // A grouping of "0" (or none) groups no digits.
    const std::wstring grouping = LocaleText(which, LOCALE_SGROUPING);
    if (!grouping.empty() && grouping[0] > L'0' && grouping[0] <= L'9') {
        sep.Thousands = FirstCharAsUtf8(LocaleText(which, LOCALE_STHOUSAND));
    }
    if (sep.Thousands == sep.Decimal) {
        sep.Thousands.clear();
    }
    return sep;
}

} // namespace pellix
