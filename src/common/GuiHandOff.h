#pragma once

#include <QObject>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace quorvel {

// Lets a worker run steps on a window's thread and wait for each. When the window goes away it calls shutDown:
// waiting workers are released and later steps are dropped, so no worker waits forever on a window that will
// never answer, and none reaches a destroyed one.
class GuiHandOff
{
public:
    explicit GuiHandOff(QObject* context) : m_context(context) {}

    // Runs `step` on the context's thread and returns true when it ran; false when shut down first.
    bool run(std::function<void()> step);

    // From the context's thread, before the context is destroyed.
    void shutDown();
    bool isShutDown() const;

private:
    QObject* m_context;
    mutable std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_shutDown = false;
};

} // namespace quorvel
