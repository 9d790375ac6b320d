#pragma once

#include <QThread>
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

    // Ends the transfer under way from any thread; the worker then finishes soon.
    void cancel();

protected:
    void run() override;

private:
    std::shared_ptr<DownloadChannel> m_channel;
    std::unique_ptr<HttpClient> m_client; // the worker's own, not the dialog's
};

} // namespace quorvel
