#include "download/RetiredWorkers.h"

#include "download/TDLThread.h"

#include <QCoreApplication>
#include <algorithm>
#include <vector>

namespace quorvel::retired_workers {

namespace {

// A cancelled transfer ends within about a second; at the very end of the program this is all it gets.
constexpr unsigned long kGraceAtExitMs = 3000;

// Owned here; touched on the GUI thread only.
std::vector<TDLThread*>& workers()
{
    static std::vector<TDLThread*> list;
    return list;
}

bool release(TDLThread* worker)
{
    auto& list = workers();
    const auto it = std::find(list.begin(), list.end(), worker);
    if (it == list.end())
        return false;
    list.erase(it);
    return true;
}

void finishAll()
{
    auto& list = workers();
    for (TDLThread* worker : list)
        worker->cancel();
    for (TDLThread* worker : list) {
        // One that does not end in time is left to the ending process rather than destroyed while it runs.
        if (worker->wait(kGraceAtExitMs))
            delete worker;
    }
    list.clear();
}

} // namespace

void adopt(std::unique_ptr<TDLThread> worker)
{
    if (!worker || !worker->isRunning())
        return; // finished or never started: deleted right here, without a wait
    static const bool registered = [] {
        qAddPostRoutine(&finishAll);
        return true;
    }();
    Q_UNUSED(registered);

    TDLThread* const owned = worker.release();
    workers().push_back(owned);
    const auto reap = [owned] {
        if (release(owned))
            owned->deleteLater();
    };
    QObject::connect(owned, &QThread::finished, owned, reap, Qt::QueuedConnection);
    // It may have finished before the connection was made.
    if (owned->isFinished())
        QMetaObject::invokeMethod(owned, reap, Qt::QueuedConnection);
}

int running()
{
    return int(std::count_if(workers().begin(), workers().end(),
                             [](const TDLThread* worker) { return !worker->isFinished(); }));
}

} // namespace quorvel::retired_workers
