#pragma once

#include <QTest>

#include <chrono>

namespace pellix {

// Waits until cond holds or the time is up, handling events meanwhile (so the
// window paints and queued calls run); returns whether it held.
template <typename Cond>
bool WaitFor(Cond cond, std::chrono::milliseconds limit = std::chrono::milliseconds(5000)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!cond()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        QTest::qWait(1);
    }
    return true;
}

} // namespace pellix
