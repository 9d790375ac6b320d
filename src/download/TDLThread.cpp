#include "download/TDLThread.h"

#include "common/UniqueFd.h"
#include "download/DownloadChannel.h"
#include "platform/Paths.h"
#include "update/HttpClient.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

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

void TDLThread::run()
{
    const QString path = destDir + platform::fileNamePart(destFile);
    QFile::remove(path);
    UniqueFd file(::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!file) {
        // Without a file there is nothing to wait for: the monitor may move on at once.
        m_channel->addLog(QStringLiteral("Erro ao criar ") + path + QStringLiteral(" : ") +
                          QString::fromLocal8Bit(std::strerror(errno)));
        m_channel->setDlResult(TDLResult::drFail);
        m_channel->finished();
        return;
    }

    for (int attempt = 1; attempt <= kTransferAttempts; ++attempt) {
        m_channel->addLog(QStringLiteral("* ") + remoteFile + QStringLiteral(" > ") + path);
        // Every attempt starts from an empty file: a failed one may have written part of the body.
        if (::ftruncate(file.get(), 0) != 0 || ::lseek(file.get(), 0, SEEK_SET) != 0) {
            m_channel->addLog(QStringLiteral("Erro ao baixar [%1] : ").arg(attempt) + remoteFile + u' ' +
                              QString::fromLocal8Bit(std::strerror(errno)));
            m_channel->setDlResult(TDLResult::drFail);
            break;
        }
        const HttpReply reply = m_client->getToFile(remoteFile, file.get());
        if (reply.ok) {
            m_channel->setDlResult(TDLResult::drDownloaded);
            break;
        }
        m_channel->setDlResult(TDLResult::drFail);
        m_channel->addLog(QStringLiteral("Erro ao baixar [%1] : ").arg(attempt) + remoteFile + u' ' + reply.error);
        if (reply.error == QLatin1StringView("cancelled"))
            break;
    }
    file.reset();
    m_channel->finished();
}

} // namespace quorvel
