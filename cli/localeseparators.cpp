#include "localeseparators.h"

#include "utf8.h"

#include <clocale>
#include <cstring>
#include <cwchar>

namespace pellix {

std::string FirstCharAsUtf8(const char* text) {
    if (text == nullptr || *text == '\0')
        return {};
    std::mbstate_t state{};
    wchar_t wc = 0;
    const std::size_t used = std::mbrtowc(&wc, text, std::strlen(text), &state);
    if (used == 0 || used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2))
        return {};
    return EncodeUtf8(static_cast<char32_t>(wc));
}

Separators SeparatorsFromEnvironment() {
    Separators sep;
    sep.Decimal = ".";
    sep.Thousands.clear();

    const char* current = std::setlocale(LC_ALL, nullptr);
    const std::string saved = current != nullptr ? current : "C";
    if (std::setlocale(LC_ALL, "") != nullptr) {
        const std::lconv* lc = std::localeconv();
        const std::string decimal = FirstCharAsUtf8(lc->decimal_point);
        if (!decimal.empty())
            sep.Decimal = decimal;
        sep.Thousands = FirstCharAsUtf8(lc->thousands_sep);
        if (sep.Thousands == sep.Decimal)
            sep.Thousands.clear();
    }
    std::setlocale(LC_ALL, saved.c_str());
    return sep;
}

} // namespace pellix
