#pragma once

#include <QEventLoop>
#include <QMetaObject>
#include <atomic>
#include <optional>
#include <thread>
#include <utility>

namespace quorvel {

// Runs blocking work (a network request) on its own thread while the calling window thread keeps handling its
// events, and returns the work's result. The caller must expect any of its own handlers to run meanwhile. When the
// event loop is ended from outside (the program is ending), `cancel` is called so the work returns soon and the
// window thread does not hang on it.
template <typename Work, typename Cancel>
auto runOffGuiThread(Work work, Cancel cancel) -> decltype(work())
{
    using Result = decltype(work());
    std::optional<Result> result;
    std::atomic<bool> done{false};
    QEventLoop loop;
    std::thread worker([&] {
        result.emplace(work());
        done = true;
        // Queued, so a quit that comes before the loop runs is not lost.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // A loop asked to end before it started returns at once; the work's own quit is then still to come.
    loop.exec();
    if (!done)
        cancel();
    worker.join();
    return std::move(*result);
}

} // namespace quorvel
