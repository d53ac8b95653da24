#include "beepthread.h"

#include "clickplayer.h"

namespace pellix {

TBeepThread::TBeepThread(std::unique_ptr<IClickPlayer> player) : player_(std::move(player)) {
    if (!player_) {
        player_ = std::make_unique<TAudioClickPlayer>();
    }
    setObjectName(QStringLiteral("BeepThread"));
    start(QThread::LowPriority);
}

TBeepThread::~TBeepThread() {
    Stop();
}

void TBeepThread::Beep() {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) {
            return;
        }
        Sema = true;
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
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return Sema || stopping_; });
            if (stopping_) {
                return;
            }
            Sema = false;
        }
        player_->Play();
    }
}

} // namespace pellix
