// One download attempt of the dialog: preparing the destination, the worker, and the progress monitor.
#include "common/DataFolder.h"
#include "common/LauncherState.h"
#include "common/VendorHost.h"
#include "download/DownloadChannel.h"
#include "download/LeftoverFiles.h"
#include "download/LinkList.h"
#include "download/TDLThread.h"
#include "download/Tfrmdl.h"
#include "platform/Paths.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QProgressBar>
#include <QTime>
#include <QTimer>

namespace quorvel {

namespace {

constexpr int kStallTicks = 120;

// The bar is the attempt's clock: fast at first, slower near the end, stopping at 100.
int nextProgress(int position)
{
    if (position <= 70)
        return position + 5;
    if (position <= 85)
        return position + 2;
    return position + 1;
}

// The separator the user's locale puts between minutes and seconds.
QString timeSeparator()
{
    const QString format = QLocale().timeFormat(QLocale::ShortFormat);
    for (const QChar c : format) {
        if (!c.isLetter() && !c.isSpace())
            return QString(c);
    }
    return QStringLiteral(":");
}

} // namespace

void Tfrmdl::startDownload()
{
    // A worker of an earlier attempt (a stall restart) is stopped and lets go of the file before anything else.
    retireWorkers();
    lastProgress = 0;
    downloadParado = 0;
    m_progressBar->setValue(0);
    addLog(QStringLiteral("Iniciando download ") + source + QStringLiteral("..."));
    if (cef_version.isEmpty())
        cef_version = QStringLiteral("156");

    const auto noLinks = [this] { return linkh[0].isEmpty() && linkw[0].isEmpty(); };
    if (noLinks() && !getLinks()) {
        browserFallbackWithoutLinks();
        return;
    }

    QString folderWord = source.isEmpty() ? QString() : source.at(0).toUpper() + source.mid(1);
    QString link;
    if (source == QLatin1StringView("nav"))
        link = chooseLink();
    if (erroExecInstall >= 1) {
        setWindowTitle(QStringLiteral(" Erro no download do ") + link_list::shortLink(linkDownload) +
                       QStringLiteral("..."));
        addLog(windowTitle());
    }

    if (!noLinks()) {
        if (source != QLatin1StringView("nav"))
            link = chooseLink();
        if (source == QLatin1StringView("twit"))
            folderWord.clear();
        else if (source.contains(QLatin1StringView("what")))
            folderWord = QStringLiteral("Whats");
        link = link_list::secureLink(link);
        linkDownload = link;
        if (!isUpdate)
            deleteOldVersions();
        if (link.contains(QLatin1StringView(".exe")))
            dest.replace(QLatin1StringView(".zip"), QLatin1StringView(".exe"));

        const QString dataFolder = appDataFolder(m_services.platform.folders);
        const QString sep(platform::kPathSeparator);
        if (!QFile::exists(dest)) {
            const QString alternative = dataFolder + sep + folderWord + sep + platform::fileNamePart(dest);
            if (QFile::exists(alternative))
                dest = alternative;
        }
        const QString prefix = leftovers::versionPrefix(dest);
        QFile::remove(dest);
        leftovers::deletePartFolders(dest);
        deleteFiles(dataFolder, prefix + QStringLiteral("*.zip"));
        deleteFiles(dataFolder, prefix + QStringLiteral("*.exe"));
        QFile::remove(dataFolder + sep + QStringLiteral("instalar.exe"));
        setDlResult(TDLResult::drWorking);

        if (source == QLatin1StringView("menu") && isOldWin())
            link = link_list::oldWindowsLink(link);
        startWorker(link);
    }
    m_timer1->start();
}

void Tfrmdl::browserFallbackWithoutLinks()
{
    shellex(vendorAddress(QStringLiteral("/download?links&f=")) + lastDl, QString());
    if (!dbg)
        close();
}

void Tfrmdl::startWorker(const QString& link)
{
    ++threadsRunning;
    totalThreads = 1;
    lastDl = link;
    if (!QApplication::overrideCursor())
        QApplication::setOverrideCursor(Qt::WaitCursor);
    addLog(QStringLiteral("Baixando de ") + link);

    auto channel = std::make_shared<DownloadChannel>(this);
    auto worker = std::make_unique<TDLThread>(channel);
    dlthread = worker.get();
    worker->remoteFile = link;
    worker->destDir = platform::folderPart(dest) + platform::kPathSeparator;
    worker->destFile = platform::fileNamePart(dest);
    worker->start();
    m_workers.emplace_back(std::move(worker), std::move(channel));
}

void Tfrmdl::retireWorkers()
{
    for (auto& [worker, channel] : m_workers) {
        channel->detach();
        worker->cancel();
    }
    for (auto& [worker, channel] : m_workers)
        worker->wait();
    m_workers.clear();
    dlthread = nullptr;
}

void Tfrmdl::Timer1Timer()
{
    m_progressBar->setValue(std::min(100, nextProgress(m_progressBar->value())));
    if (m_progressBar->value() == lastProgress)
        ++downloadParado;
    else
        downloadParado = 0;
    lastProgress = m_progressBar->value();

    if (downloadParado > kStallTicks) {
        m_timer1->stop();
        addLog(QStringLiteral("Download parado, reiniciando"));
        ++erroExecInstall;
        threadsRunning = 0;
        totalThreads = 1;
        startDownload();
        return;
    }
    if (threadsRunning <= 0) {
        m_timer1->stop();
        const QTime elapsed = QTime(0, 0).addSecs(inicio.secsTo(QDateTime::currentDateTime()) % 3600);
        addLog(QStringLiteral("Download terminado em ") + elapsed.toString(QStringLiteral("mm")) + timeSeparator() +
               elapsed.toString(QStringLiteral("ss")) + QStringLiteral(" (%1 threads)").arg(totalThreads));
        m_progressBar->setValue(100);
        sleepapm(500);
        execInstall();
    }
}

} // namespace quorvel
