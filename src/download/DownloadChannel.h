#pragma once

#include "common/DownloadResult.h"

#include <QString>
#include <mutex>

namespace quorvel {

class Tfrmdl;

// A download worker's only way to its dialog. The dialog detaches it when it stops listening to that worker (it
// closes, or a new attempt replaces the worker); reports after that are dropped, and a report under way finishes
// before detach returns, so no worker reaches a destroyed dialog.
class DownloadChannel
{
public:
    explicit DownloadChannel(Tfrmdl* dialog) : m_dialog(dialog) {}

    void detach();

    void setDlResult(TDLResult result);
    void addLog(const QString& text);
    // The worker's last act: one worker fewer running.
    void finished();

private:
    std::mutex m_mutex;
    Tfrmdl* m_dialog;
};

} // namespace quorvel
