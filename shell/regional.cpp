#include "regional.h"

namespace pellix {

Separators SeparatorsOf(const QLocale& locale) {
    Separators s;
    const QString decimal = locale.decimalPoint();
    s.Decimal = decimal.isEmpty() ? QStringLiteral(".").toStdString() : decimal.toStdString();
    const bool grouped = !(locale.numberOptions() & QLocale::OmitGroupSeparator);
    s.Thousands = grouped ? locale.groupSeparator().toStdString() : std::string();
    if (s.Thousands == s.Decimal) {
        s.Thousands.clear();
    }
    return s;
}

} // namespace pellix
