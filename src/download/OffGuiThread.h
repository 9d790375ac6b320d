#pragma once

#include <QEventLoop>
#include <QMetaObject>
#include <optional>
#include <thread>
#include <utility>

namespace quorvel {

// Runs blocking work (a network request) on its own thread while the calling window thread keeps handling its
// events, and returns the work's result. The caller must expect any of its own handlers to run meanwhile.
template <typename Work>
auto runOffGuiThread(Work work) -> decltype(work())
{
    using Result = decltype(work());
    std::optional<Result> result;
    QEventLoop loop;
    std::thread worker([&] {
        result.emplace(work());
        // Queued, so a quit that comes before the loop runs is not lost.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    return std::move(*result);
}

} // namespace quorvel
