#include "termination.h"

namespace pellix {

void IgnoreBrokenPipes() {}

// The end of the session comes as WM_QUERYENDSESSION and WM_ENDSESSION, which
// Qt handles itself (termination.h): nothing to watch here.
TTerminationRequests::TTerminationRequests(std::function<void(int)> onRequest, QObject* parent)
    : QObject(parent), FOnRequest(std::move(onRequest)) {}

TTerminationRequests::~TTerminationRequests() = default;

} // namespace pellix
