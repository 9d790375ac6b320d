// How long the message-pumping pause of 1000 ms really takes while events keep arriving (a zero-interval timer
// fires all the time and another thread posts events), as the median and the worst of several runs in ms.
#include "platform/Pause.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTimer busy;
    long ticks = 0;
    QObject::connect(&busy, &QTimer::timeout, [&ticks] { ++ticks; });
    busy.start(0);
    std::atomic<bool> stop{false};
    std::thread poster([&stop, &app] {
        while (!stop) {
            QCoreApplication::postEvent(&app, new QEvent(QEvent::User));
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });

    std::vector<double> took;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer clock;
        clock.start();
        quorvel::platform::sleepapm(1000);
        took.push_back(clock.nsecsElapsed() / 1e6);
    }
    stop = true;
    poster.join();
    std::sort(took.begin(), took.end());
    std::printf("%.1f %.1f %ld\n", took[took.size() / 2], took.back(), ticks);
    return 0;
}
