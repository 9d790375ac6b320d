#include "download/DownloadChannel.h"

#include "download/Tfrmdl.h"

namespace quorvel {

void DownloadChannel::detach()
{
    std::lock_guard lock(m_mutex);
    m_dialog = nullptr;
}

void DownloadChannel::setDlResult(TDLResult result)
{
    std::lock_guard lock(m_mutex);
    if (m_dialog)
        m_dialog->setDlResult(result);
}

void DownloadChannel::addLog(const QString& text)
{
    std::lock_guard lock(m_mutex);
    if (m_dialog)
        m_dialog->addLog(text);
}

void DownloadChannel::finished()
{
    std::lock_guard lock(m_mutex);
    if (m_dialog)
        --m_dialog->threadsRunning;
}

} // namespace quorvel
