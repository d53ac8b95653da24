#pragma once

#include <QCoreApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

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

// Runs the application's event loop with `action` as its first step, until
// the loop ends, or at the latest after 10 s.
inline void RunLoopWith(const std::function<void()>& action) {
    QTimer latest;
    latest.setSingleShot(true);
    QObject::connect(&latest, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    latest.start(10000);
    QTimer::singleShot(0, qApp, action);
    EXPECT_EQ(QCoreApplication::exec(), 0) << "the loop did not end by itself";
}

} // namespace pellix
