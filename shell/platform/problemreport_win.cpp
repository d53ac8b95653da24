#include "problemreport.h"

#include <windows.h>

namespace pellix {

void ReportToDebugger(const QString& text) {
    ::OutputDebugStringW(reinterpret_cast<const wchar_t*>(text.utf16()));
}

} // namespace pellix
