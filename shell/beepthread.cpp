#include "beepthread.h"

#include "shell/platform/clicksource.h"

namespace pellix {

TBeepThread::TBeepThread(std::unique_ptr<IClickPlayer> player) : player_(std::move(player)) {
    if (!player_) {
        player_ = PlatformClickPlayer();
    }
    setObjectName(QStringLiteral("BeepThread"));
    start(QThread::LowPriority);
}

TBeepThread::~TBeepThread() {
    Stop();
}

void TBeepThread::Beep() {
    Wake(Sema);
}

void TBeepThread::Prepare() {
    Wake(preparing_);
}

void TBeepThread::Wake(bool& request) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) {
            return;
        }
        request = true;
    }
    wake_.notify_one();
}

void TBeepThread::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    wait();
}

void TBeepThread::Execute() {
    for (;;) {
        bool play = false;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return Sema || preparing_ || stopping_; });
            if (stopping_) {
                return;
            }
            play = Sema;
            Sema = false;
            preparing_ = false;
        }
        if (play) {
            player_->Play();
        } else {
            player_->Prepare();
        }
    }
}

} // namespace pellix
