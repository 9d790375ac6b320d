#include "platform/Pause.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <climits>

namespace quorvel::platform {

void sleepapm(unsigned mseconds)
{
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    // A coarse timer may fire up to 5 % late; the waits here are user-visible and should be exact.
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(static_cast<int>(std::min<unsigned>(mseconds, INT_MAX)));
    loop.exec();
}

} // namespace quorvel::platform
