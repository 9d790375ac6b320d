#pragma once

#include <QThread>
#include <atomic>
#include <chrono>
#include <memory>

namespace quorvel {

class DownloadChannel;
class HttpClient;

// The worker of one download attempt: fetches remoteFile into destDir + destFile, streaming, with up to four
// transfer attempts, and reports through its channel.
class TDLThread : public QThread
{
    Q_OBJECT
public:
    explicit TDLThread(std::shared_ptr<DownloadChannel> channel);
    ~TDLThread() override;

    QString remoteFile;
    QString destDir; // ends with the path separator
    QString destFile;

    // Ends the transfer under way from any thread, without waiting for it; the worker then finishes soon.
    void cancel();

    // How long ago the last body bytes arrived (or the worker started, before any did); any thread.
    std::chrono::milliseconds sinceLastData() const;

protected:
    void run() override;

private:
    using Clock = std::chrono::steady_clock;
    void noteData();

    std::shared_ptr<DownloadChannel> m_channel;
    std::unique_ptr<HttpClient> m_client; // the worker's own, not the dialog's
    std::atomic<Clock::rep> m_lastData{Clock::now().time_since_epoch().count()};
};

} // namespace quorvel
