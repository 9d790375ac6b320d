#include "download/TDLThread.h"

#include "common/QtCompat.h"
#include "common/WebAddress.h"
#include "download/DownloadChannel.h"
#include "platform/Paths.h"
#include "update/HttpClient.h"

#include <QFile>

namespace quorvel {

namespace {
constexpr int kTransferAttempts = 4;
}

TDLThread::TDLThread(std::shared_ptr<DownloadChannel> channel)
    : m_channel(std::move(channel)), m_client(std::make_unique<HttpClient>())
{}

TDLThread::~TDLThread()
{
    cancel();
    wait();
}

void TDLThread::cancel()
{
    m_client->cancel();
}

void TDLThread::noteData()
{
    m_lastData = Clock::now().time_since_epoch().count();
}

std::chrono::milliseconds TDLThread::sinceLastData() const
{
    const Clock::time_point last{Clock::duration(m_lastData.load())};
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - last);
}

void TDLThread::run()
{
    noteData();
    const QString path = destDir + platform::fileNamePart(destFile);
    const auto fail = [this](const QString& line) {
        m_channel->setDlResult(TDLResult::drFail);
        m_channel->addLog(line);
        m_channel->finished();
    };
    // What comes from the network is started as a program: it must never have travelled in clear text.
    if (!isHttpsWebAddress(remoteFile)) {
        fail(QStringLiteral("Erro ao baixar [1] : ") + remoteFile + QStringLiteral(" não é um endereço https"));
        return;
    }

    // A fresh file of our own: whatever sits at the path (a planted link, a file another worker still holds) is
    // removed first, and creating it anew never follows a link that appears meanwhile.
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        // Without a file there is nothing to wait for: the monitor may move on at once.
        fail(QStringLiteral("Erro ao criar ") + path + QStringLiteral(" : ") + file.errorString());
        return;
    }

    const HttpClient::Progress progress = [this, seen = qint64(0)](qint64 received, qint64) mutable {
        if (received != seen) {
            seen = received;
            noteData();
        }
        return true;
    };
    for (int attempt = 1; attempt <= kTransferAttempts; ++attempt) {
        m_channel->addLog(QStringLiteral("* ") + remoteFile + QStringLiteral(" > ") + path);
        // Every attempt starts from an empty file: a failed one may have written part of the body.
        if (!file.resize(0) || !file.seek(0)) {
            m_channel->addLog(QStringLiteral("Erro ao baixar [%1] : ").arg(attempt) + remoteFile + u' ' +
                              file.errorString());
            m_channel->setDlResult(TDLResult::drFail);
            break;
        }
        const HttpReply reply = m_client->getToFile(remoteFile, file, progress);
        if (reply.ok) {
            m_channel->setDlResult(TDLResult::drDownloaded);
            break;
        }
        m_channel->setDlResult(TDLResult::drFail);
        m_channel->addLog(QStringLiteral("Erro ao baixar [%1] : ").arg(attempt) + remoteFile + u' ' + reply.error);
        if (reply.error == QLatin1StringView("cancelled"))
            break;
    }
    file.close();
    m_channel->finished();
}

} // namespace quorvel
