#include "termination.h"

namespace pellix {

// No signal ends a program when a pipe closes.
void IgnoreBrokenPipes() {}

// A program with windows gets no termination signals: the end of the session
// comes as WM_QUERYENDSESSION and WM_ENDSESSION, which Qt turns into its
// session management and aboutToQuit. Nothing to watch here.
TTerminationRequests::TTerminationRequests(std::function<void(int)> onRequest, QObject* parent)
    : QObject(parent), FOnRequest(std::move(onRequest)) {}

TTerminationRequests::~TTerminationRequests() = default;

} // namespace pellix
