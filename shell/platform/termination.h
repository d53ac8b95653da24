#pragma once

// Requests to end the program that come from outside its windows, handed to
// the event loop, one interface for every platform; which requests each one
// has is said in its source.

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace pellix {

// A closed pipe on stdout or stderr fails the write instead of ending the
// program before it stores.
void IgnoreBrokenPipes();

// Calls `onRequest` on the GUI thread, from the event loop, with the request's
// number when the process is asked to end from outside (a plain kill, the
// system shutting down, the terminal or session going away, Ctrl+C), so that
// the program ends in order instead of being killed. A request that was set
// to be ignored when the object is made stays ignored. One object at a time;
// the earlier handlers come back when it goes. Where such requests reach a
// program with windows through Qt's session management instead, the object
// does nothing.
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
