#pragma once

// Requests to end the program that come from outside its windows, handed to
// the event loop, one interface for every platform.

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace pellix {

// Calls `onRequest` on the GUI thread, from the event loop, when the process
// is asked to end by SIGTERM (a plain kill, the system shutting down), SIGHUP
// (the terminal or session going away) or SIGINT (Ctrl+C), so that the
// program ends in order instead of being killed. The signal handler does
// nothing but write the signal's number into a socket pair, which is safe at
// any moment; a socket notifier reads it in the loop. A signal that was set to
// be ignored when the object is made (nohup, a background job) stays ignored.
// One object at a time; the earlier handlers come back when it goes.
//
// Windows has no such signals for a program with windows: the end of the
// session reaches the program as WM_QUERYENDSESSION and WM_ENDSESSION, which
// Qt turns into its session management and aboutToQuit, and the object does
// nothing there.
// A closed pipe on stdout or stderr fails the write instead of ending the
// program with SIGPIPE before it stores (POSIX; nothing to do on Windows).
void IgnoreBrokenPipes();

class TTerminationRequests : public QObject {
public:
    explicit TTerminationRequests(std::function<void(int number)> onRequest,
                                  QObject* parent = nullptr);
    ~TTerminationRequests() override;
    TTerminationRequests(const TTerminationRequests&) = delete;
    TTerminationRequests& operator=(const TTerminationRequests&) = delete;

private:
    std::function<void(int)> FOnRequest;
    QSocketNotifier* FNotifier = nullptr;
    int FFds[2] = {-1, -1};
};

} // namespace pellix
