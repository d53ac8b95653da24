#pragma once

#include <QString>

namespace pellix {

// Reports a problem the program works around without the user's help (a
// store that failed, a launcher that cannot be written): one line on stderr
// and, where the platform has one apart from stderr, on the debugger's output.
void ReportProblem(const QString& line);

// The platform's part of a report: `text` (the finished line, with its line
// break) on the debugger's output where that is not stderr.
void ReportToDebugger(const QString& text);

} // namespace pellix
