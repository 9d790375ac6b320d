#include "platform/Pause.h"

#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

using quorvel::platform::sleepapm;

TEST(Sleepapm, TimersFireInsideAndItReturnsOnTimeUnderAnEventFlood)
{
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(10);

    // A posted event that reposts itself keeps the queue never empty.
    QObject flood;
    int floodEvents = 0;
    std::function<void()> repost = [&] {
        ++floodEvents;
        QMetaObject::invokeMethod(&flood, repost, Qt::QueuedConnection);
    };
    QMetaObject::invokeMethod(&flood, repost, Qt::QueuedConnection);

    QElapsedTimer clock;
    clock.start();
    sleepapm(300);
    const qint64 elapsed = clock.elapsed();
    ticker.stop();

    // Windows' precise timers run on another clock and may fire up to a millisecond early by this one.
    EXPECT_GE(elapsed, 299);
    EXPECT_LT(elapsed, 2000); // generous: sanitizer builds on a loaded machine
    EXPECT_GT(ticks, 5);
    EXPECT_GT(floodEvents, 100);

    // Stop the flood before leaving: drop the last queued repost.
    repost = [] {};
    QCoreApplication::processEvents();
}

TEST(Sleepapm, ZeroReturnsAtOnce)
{
    QElapsedTimer clock;
    clock.start();
    sleepapm(0);
    EXPECT_LT(clock.elapsed(), 500);
}
