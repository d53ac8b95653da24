#pragma once

#include "clickplayer.h"

#include <QThread>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace pellix {

// The key-click worker: Beep signals an auto-reset event and returns at once;
// the worker plays one click per signal it sees, so signals that arrive while
// a click plays collapse into one more click.
class TBeepThread : public QThread {
public:
    // Starts the worker. Without a player, the platform's (PlatformClickPlayer).
    explicit TBeepThread(std::unique_ptr<IClickPlayer> player = nullptr);
    ~TBeepThread() override; // stops and joins

    void Beep();

    // Has the worker ready its player (load the sound module) ahead of the
    // first Beep; returns at once. A Beep meanwhile is played once it is ready.
    void Prepare();

    // Ends the wait-and-play loop after the click being played, if any, and
    // joins the worker. Beep does nothing afterwards.
    void Stop();

protected:
    void run() override { Execute(); }

private:
    void Execute();
    // Sets one of the requests below and wakes the worker, unless stopping.
    void Wake(bool& request);

    std::unique_ptr<IClickPlayer> player_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool Sema = false; // the auto-reset event: set by Beep, reset by the wait
    bool preparing_ = false;
    bool stopping_ = false;
};

} // namespace pellix
