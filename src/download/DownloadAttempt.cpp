// One download attempt of the dialog: preparing the destination, the worker, and the progress monitor.
#include "common/DataFolder.h"
#include "common/LauncherState.h"
#include "common/QtCompat.h"
#include "common/VendorHost.h"
#include "common/WebAddress.h"
#include "download/DownloadChannel.h"
#include "download/LeftoverFiles.h"
#include "download/LinkList.h"
#include "download/RetiredWorkers.h"
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
    if (m_ending)
        return;
    // A slow line is no stall: a worker still receiving goes on and its end is this attempt's end. Otherwise the
    // earlier worker is dropped before anything else; its channel closes first, so it can no longer lower the count
    // that the new worker raises.
    const bool continuing = workerStillReceiving();
    if (!continuing) {
        retireWorker();
        threadsRunning = 0;
    }
    lastProgress = 0;
    downloadParado = 0;
    m_progressBar->setValue(0);
    addLog(QStringLiteral("Iniciando download ") + source + QStringLiteral("..."));
    if (cef_version.isEmpty())
        cef_version = QStringLiteral("156");
    if (continuing) {
        if (erroExecInstall >= 1) {
            setWindowTitle(QStringLiteral(" Erro no download do ") + link_list::shortLink(linkDownload) +
                           QStringLiteral("..."));
            addLog(windowTitle());
        }
        addLog(QStringLiteral("Download em andamento, continuando: ") + lastDl);
        m_timer1->start();
        return;
    }

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
    openInBrowser(vendorAddress(QStringLiteral("/download?links&f=")) + lastDl);
    if (!dbg)
        close();
}

void Tfrmdl::openInBrowser(const QString& link)
{
    if (!isHttpsWebAddress(link)) {
        addLog(QStringLiteral("Endereço não aberto no navegador : ") + link);
        return;
    }
    shellex(link, QString());
}

void Tfrmdl::startWorker(const QString& link)
{
    ++threadsRunning;
    totalThreads = 1;
    lastDl = link;
    if (!QApplication::overrideCursor())
        QApplication::setOverrideCursor(Qt::WaitCursor);
    addLog(QStringLiteral("Baixando de ") + link);

    m_workerChannel = std::make_shared<DownloadChannel>(this);
    m_worker = std::make_unique<TDLThread>(m_workerChannel);
    dlthread = m_worker.get();
    m_worker->remoteFile = link;
    m_worker->destDir = platform::folderPart(dest) + platform::kPathSeparator;
    m_worker->destFile = platform::fileNamePart(dest);
    m_worker->start();
}

bool Tfrmdl::workerStillReceiving() const
{
    return m_worker && m_worker->isRunning() &&
           m_worker->sinceLastData() < std::chrono::milliseconds(m_timings.workerSilenceMs);
}

void Tfrmdl::retireWorker()
{
    if (m_workerChannel)
        m_workerChannel->detach();
    if (m_worker) {
        m_worker->cancel();
        retired_workers::adopt(std::move(m_worker));
    }
    m_workerChannel.reset();
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
