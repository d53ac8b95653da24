#include "problemreport.h"

#include <cstdio>

namespace pellix {

void ReportProblem(const QString& line) {
    QString text = QStringLiteral("pellix: ") + line;
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text += QLatin1Char('\n');
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    std::fflush(stderr);
    ReportToDebugger(text);
}

} // namespace pellix
