#include "problemreport.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdio>

namespace pellix {

void ReportProblem(const QString& line) {
    QString text = QStringLiteral("pellix: ") + line;
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text += QLatin1Char('\n');
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    std::fflush(stderr);
#ifdef _WIN32
    ::OutputDebugStringW(reinterpret_cast<const wchar_t*>(text.utf16()));
#endif
}

} // namespace pellix
