// The install step: the downloaded file becomes a running installer, or the user gets the file another way.
#include "common/DataFolder.h"
#include "common/Descrambler.h"
#include "common/LauncherState.h"
#include "common/QtCompat.h"
#include "common/ScrambledText.h"
#include "common/VendorHost.h"
#include "download/LeftoverFiles.h"
#include "download/LinkList.h"
#include "download/Tfrmdl.h"
#include "download/ZipExtractor.h"
#include "platform/Paths.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QMovie>
#include <QTimer>

namespace quorvel {

namespace {

// The switches the products' installers take for an unattended install.
constexpr auto kInstallerCommand = scrambling::scramble(u"/VERYSILENT /SUPPRESSMSGBOXES /NORESTART");
// Shown before the browser opens the download link for a manual install.
constexpr auto kFallbackMessage = scrambling::scramble(
    u"Não foi possível instalar automaticamente. Seu navegador será aberto para baixar o instalador; "
    u"após o download, abra o arquivo baixado para instalar.");

const QString kAntivirusWarning = QStringLiteral(
    "Não foi possível executar o instalador, provavelmente devido à um bloqueio de falso positivo do anti-virus. "
    "Por favor adicione uma exclusão para continuar ou contate nosso suporte.");

constexpr int kInstallerPolls = 40;
constexpr int kInstallerErrorRetries = 3;
constexpr QLatin1StringView kInstallerName("instalar.exe");

// The installer's second name: cut at its first "_", with ".exe" appended (quornav_109.exe gives quornav.exe).
QString shortProcessName(const QString& fileName)
{
    const qsizetype underscore = fileName.indexOf(u'_');
    return (underscore < 0 ? fileName : fileName.left(underscore)) + QStringLiteral(".exe");
}

} // namespace

void Tfrmdl::execInstall()
{
    BusyScope busy(*this);
    m_tdl->stop();
    QString installer = dest;
    addLog(QStringLiteral("ExecInstall ") + dest);
    const QString dataFolder = appDataFolder(m_services.platform.folders);
    const QString sep(platform::kPathSeparator);

    if (dest.contains(QLatin1StringView(".zip"))) {
        addLog(QStringLiteral("Extraindo ") + dest + QStringLiteral(" (%1)").arg(fileSize(dest)));
        setWindowTitle(QStringLiteral(" Extraindo..."));
        installer = dataFolder + sep + kInstallerName;
        QFile::remove(installer);
        // Each extraction's messages are its own result.
        zipmsg.clear();
        const QString baseFolder = dataFolder + sep;
        const QString message = zip_extractor::extractEntry(dest, kInstallerName, baseFolder);
        if (!message.isEmpty())
            zipmZipDialog(message);
        if (zipmsg.isEmpty()) {
            setDlResult(TDLResult::drSucess);
            addLog(QStringLiteral("Extraído com sucesso : ") + baseFolder + kInstallerName);
        } else {
            addLog(QStringLiteral("Erro ao extrair : ") + zipmsg);
            setDlResult(TDLResult::drUnzipFail);
        }
    }

    if (!dbg) {
        leftovers::deletePartFolders(dest);
    }
    if (m_services.state.dlResultCode == TDLResult::drUnzipFail && !dbg) {
        QFile::remove(installer);
        QFile::remove(dest);
    }
    if (QFile::exists(installer) && fileSize(installer) == 0)
        QFile::remove(installer);

    const bool handedOver = installer.contains(QLatin1StringView(".exe")) && QFile::exists(installer)
                                ? runInstaller(installer)
                                : installerMissing(installer);
    if (!handedOver && !dbg && !m_ending)
        close();
}

bool Tfrmdl::runInstaller(const QString& installer)
{
    setDlResult(TDLResult::drExecuted);
    setWindowTitle(QStringLiteral("Executando..."));
    const QString command = silent ? dcp(kInstallerCommand.text()) : QString();
    closeOtherForms();
    const QString ownPath = m_services.platform.folders.ownExecutablePath();
    findProcess(platform::companionFileName(platform::fileNamePart(ownPath)), true);
    if (installer != dest && !dbg)
        QFile::remove(dest);
    // The installer may have come out of an archive without its mode bits.
    m_services.platform.files.makeExecutable(installer);
    shellex(installer, command + QStringLiteral(" \"") + ownPath + u'"');

    const QString firstName = platform::fileNamePart(installer);
    const QString secondName = shortProcessName(firstName);
    bool errorShown = false;
    bool succeeded = false;
    for (int poll = 0; poll < kInstallerPolls && !m_ending; ++poll) {
        sleepapm(m_timings.installPollMs);
        QCoreApplication::processEvents();
        if (findProcess(firstName, false) || findProcess(secondName, false)) {
            sleepapm(m_timings.installPollMs);
            if (getActiveWindowCaption().toLower().contains(QLatin1StringView("erro")))
                errorShown = true;
            else
                succeeded = true;
            break;
        }
    }
    if (m_ending)
        return false;

    if (errorShown && corCount < kInstallerErrorRetries) {
        findProcess(firstName, true);
        ++corCount;
        setWindowTitle(QStringLiteral(" Erro no download, tentando novamente (%1)...").arg(corCount));
        sleepapm(m_timings.installPollMs);
        startDownload();
        return true;
    }
    if (!succeeded) {
        QMessageBox::warning(this, QCoreApplication::applicationName(), kAntivirusWarning, QMessageBox::Ok);
    }
    return false;
}

bool Tfrmdl::installerMissing(const QString& installer)
{
    setDlResult(TDLResult::drFail);
    closeOtherForms();
    addLog(QStringLiteral("Arquivo não encontrado : ") + installer);
    ++erroExecInstall;
    if (erroExecInstall <= 1) {
        totalThreads = 1;
        startDownload();
        return true;
    }
    if (QMovie* movie = m_working->movie())
        movie->stop();
    if (source != QLatin1StringView("menu") && isOldWin())
        linkDownload = link_list::oldWindowsLink(linkDownload);
    linkDownload.replace(kSisterWebDomain, kVendorWebDomain);
    linkDownload.replace(QLatin1StringView("apph"), QLatin1StringView("app"));
    showInformation(dcp(kFallbackMessage.text()));
    openInBrowser(linkDownload);
    return false;
}

void Tfrmdl::ttimeoutTimer()
{
    m_ttimeout->stop();
    showInformation(QStringLiteral(
        "Não foi possível fazer o download, provavelmente devido à algum bloqueio de firewall ou anti-vírus. O "
        "arquivo será baixado agora no seu navegador ; após isso, clique no arquivo baixado para instalar."));
    openInBrowser(linkDownload);
    // Every wait of the dialog ends early from now on, and the whole program ends; workers are stopped on the way.
    m_ending = true;
    // Every running event loop ends, the modal one of this dialog first, then the launcher's own.
    QCoreApplication::exit(0);
}

} // namespace quorvel
