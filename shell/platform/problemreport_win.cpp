#include "problemreport.h"

#include <windows.h>

namespace pellix {

// The debugger's output of Windows.
void ReportToDebugger(const QString& text) {
    ::OutputDebugStringW(reinterpret_cast<const wchar_t*>(text.utf16()));
}

} // namespace pellix
