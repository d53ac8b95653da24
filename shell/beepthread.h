#pragma once

#include <QThread>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace pellix {

// Plays one click and returns when it has finished or failed.
class IClickPlayer {
public:
    virtual ~IClickPlayer() = default;
    virtual void Play() = 0;
};

// The key-click worker: Beep signals an auto-reset event and returns at once;
// the worker plays one click per signal it sees, so signals that arrive while
// a click plays collapse into one more click.
class TBeepThread : public QThread {
public:
    // Starts the worker. Without a player, the click is played on the default
    // audio output.
    explicit TBeepThread(std::unique_ptr<IClickPlayer> player = nullptr);
    ~TBeepThread() override; // stops and joins

    void Beep();

    // Ends the wait-and-play loop after the click being played, if any, and
    // joins the worker. Beep does nothing afterwards.
    void Stop();

protected:
    void run() override { Execute(); }

private:
    void Execute();

    std::unique_ptr<IClickPlayer> player_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool Sema = false; // the auto-reset event: set by Beep, reset by the wait
    bool stopping_ = false;
};

} // namespace pellix
