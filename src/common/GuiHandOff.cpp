#include "common/GuiHandOff.h"

#include <QThread>
#include <memory>

namespace quorvel {

bool GuiHandOff::run(std::function<void()> step)
{
    if (QThread::currentThread() == m_context->thread()) {
        if (isShutDown())
            return false;
        step();
        return true;
    }
    auto finished = std::make_shared<bool>(false);
    std::unique_lock lock(m_mutex);
    if (m_shutDown)
        return false;
    // Posted under the lock, so shutDown cannot let the context die between the check and the post; an event still
    // queued when the context is destroyed is discarded with it.
    QMetaObject::invokeMethod(
        m_context,
        [this, finished, step = std::move(step)] {
            {
                std::lock_guard guard(m_mutex);
                if (m_shutDown)
                    return;
            }
            step();
            {
                std::lock_guard guard(m_mutex);
                *finished = true;
            }
            m_done.notify_all();
        },
        Qt::QueuedConnection);
    m_done.wait(lock, [&] { return *finished || m_shutDown; });
    return *finished;
}

void GuiHandOff::shutDown()
{
    {
        std::lock_guard lock(m_mutex);
        m_shutDown = true;
    }
    m_done.notify_all();
}

bool GuiHandOff::isShutDown() const
{
    std::lock_guard lock(m_mutex);
    return m_shutDown;
}

} // namespace quorvel
