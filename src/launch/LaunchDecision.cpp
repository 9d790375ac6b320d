#include "launch/LaunchDecision.h"

#include "common/ActivityLog.h"
#include "common/LauncherState.h"
#include "common/QtCompat.h"
#include "launch/Catalogue.h"
#include "launch/InstallLocations.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "update/VersionNumbers.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QWidget>

namespace quorvel {

namespace {

constexpr int kVersionAnswerPauses = 11;
constexpr unsigned kVersionAnswerPauseMs = 500;
constexpr int kLatestVersionTries = 5;
constexpr unsigned kLatestVersionPauseMs = 1000;
constexpr int kTerminateTries = 2;
constexpr unsigned kTerminateSettleMs = 1000;

// Popup items are actions; everything else that reaches the decision is a window element named after its tile.
const QAction* popupItem(const QObject* sender)
{
    return qobject_cast<const QAction*>(sender);
}

bool isPopupItem(const QObject* sender, QLatin1StringView caption)
{
    const QAction* item = popupItem(sender);
    return item && item->text().contains(caption);
}

// Restores the window however a pass is left, errors included.
class BusyScope
{
public:
    explicit BusyScope(std::function<void(bool)> setBusy) : m_setBusy(std::move(setBusy)) {}
    ~BusyScope()
    {
        if (m_setBusy)
            m_setBusy(false);
    }
    void release() { m_setBusy = nullptr; }

private:
    std::function<void(bool)> m_setBusy;
};

} // namespace

struct LaunchDecision::Run
{
    const CatalogueRow* row = nullptr;
    QString latest;         // V
    QString path;           // P
    bool found = false;     // E
    bool current = true;    // C
    bool reinstall = false; // F
};

LaunchDecision::LaunchDecision(Services services) : m_services(std::move(services)) {}

bool LaunchDecision::enter(const QString& what)
{
    // A run's waits and its dialog let timers and keys in; a second run would fight the first over the window
    // and the one dialog slot.
    if (m_running) {
        writeLog(QStringLiteral("Ignored while busy: ") + what);
        return false;
    }
    m_running = true;
    return true;
}

void LaunchDecision::img_mktClick(QObject* sender)
{
    if (!sender || !enter(sender->objectName()))
        return;
    Run run;
    if (popupItem(sender) && pass(1, sender, run) == PassEnd::LauncherClosed) {
        m_running = false;
        return;
    }
    pass(2, sender, run);
    m_running = false;
}

void LaunchDecision::setBusy(bool busy)
{
    if (QWidget* panel = m_services.host.panel3())
        panel->setEnabled(!busy);
    if (busy) {
        if (!QApplication::overrideCursor())
            QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    }
}

void LaunchDecision::waitForVersionAnswer()
{
    const LatestVersions& latest = m_services.host.state().latest;
    for (int pause = 0; pause < kVersionAnswerPauses && latest.get(VersionSlot::vrsTwit).isEmpty(); ++pause)
        m_services.pause(kVersionAnswerPauseMs);
}

QString LaunchDecision::installPathOf(const Run& run) const
{
    const QString programFiles = pfolder(m_services.platform.folders);
    if (run.row)
        return catalogue::installPath(*run.row, programFiles);
    // No product: the folder of an empty display word, which holds no file.
    return programFiles + QDir::toNativeSeparators(QStringLiteral("/Quorvel /"));
}

LaunchDecision::PassEnd LaunchDecision::pass(int number, QObject* sender, Run& run)
{
    LauncherState& state = m_services.host.state();
    const bool atualizar = isPopupItem(sender, QLatin1StringView("Atualizar"));
    const bool fechar = isPopupItem(sender, QLatin1StringView("Fechar"));

    setBusy(true);
    // Pass 1 leaves the window as it is when it fails; pass 2 always gives it back.
    BusyScope restore([this](bool busy) { setBusy(busy); });
    if (number == 1)
        restore.release();
    QCoreApplication::processEvents();

    waitForVersionAnswer();

    QString name;
    if (!popupItem(sender))
        name = sender->objectName();
    else if (number == 1 && atualizar)
        name = QStringLiteral("nav");
    else
        name = state.currentSoft;

    // A popup item whose tile selection was lost between opening and clicking names no product: nothing to do.
    if (number == 2 && popupItem(sender) && name.isEmpty()) {
        m_services.host.startCloseTimer();
        return PassEnd::Continue;
    }

    if (const CatalogueRow* row = catalogue::rowByElementName(asciiLower(name)))
        run.row = row;

    run.latest.clear();
    for (int attempt = 0; attempt < kLatestVersionTries; ++attempt) {
        if (run.row)
            run.latest = catalogue::latestVersion(*run.row, state.latest);
        if (!run.latest.isEmpty())
            break;
        m_services.pause(kLatestVersionPauseMs);
        QCoreApplication::processEvents();
    }
    state.launchVersion = run.latest;

    const QString displayWord = run.row ? QString(run.row->displayWord) : QString();
    run.path = installPathOf(run);
    run.found = m_services.platform.files.exists(run.path);
    if (!run.found) {
        run.path = PathDat::getExePath(displayWord, m_services.appDataFolder(),
                                       m_services.platform.folders.ownExecutablePath());
        run.found = !run.path.isEmpty() && m_services.platform.files.exists(run.path);
    }

    run.current = true;
    if (run.found) {
        if (atualizar) {
            run.reinstall = true;
            run.current = false;
        } else {
            run.reinstall = false;
            run.current = isProductCurrent(m_services.fileVersion(run.path), run.latest, displayWord);
        }
    }

    if (fechar) {
        const QString file = platform::fileNamePart(run.path);
        for (int attempt = 0; attempt < kTerminateTries; ++attempt) {
            if (!m_services.host.checkProcess(file, true))
                break;
            m_services.pause(kTerminateSettleMs);
        }
        setBusy(false);
        restore.release();
        m_services.host.closeMainWindow();
        return PassEnd::LauncherClosed;
    }

    const bool isNav = run.row && run.row->key == QLatin1StringView("nav");
    if (run.found && run.current && !m_services.input.isShiftDown()) {
        m_services.host.exec(run.path);
    } else {
        if (QWidget* panel = m_services.host.panel3())
            panel->setEnabled(false);
        DialogSettings settings;
        settings.cef_version = state.latest.get(VersionSlot::vrsNav);
        settings.isReinstall = run.reinstall;
        settings.isUpdate = !run.current;
        settings.silent = true;
        settings.incrementNextVersion = true;
        settings.source = run.row ? QString(run.row->key) : QString();
        settings.dest =
            m_services.appDataFolder() + platform::kPathSeparator + (run.row ? QString(run.row->archive) : QString());
        setBusy(true);
        QCoreApplication::processEvents();
        m_services.host.showDownloadDialog(settings);
        // The browser application's runtime library is no program: after its dialog there is nothing to start.
        if (state.dlOutcome.get() != QLatin1StringView("executed") && !isNav &&
            m_services.platform.files.exists(run.path))
            m_services.host.exec(run.path);
    }

    if (number == 2)
        m_services.host.startCloseTimer();
    return PassEnd::Continue;
}

void LaunchDecision::Timer2Timer()
{
    if (!enter(QStringLiteral("Timer2")))
        return; // the timer keeps running, so the update follows once the current run is over
    m_services.host.stopSelfUpdateTimer();
    if (QWidget* panel = m_services.host.panel3())
        panel->setEnabled(false);

    LauncherState& state = m_services.host.state();
    state.launchVersion = state.latest.get(VersionSlot::vrsMenu);
    DialogSettings settings;
    settings.source = QStringLiteral("menu");
    settings.dest = m_services.appDataFolder() + platform::kPathSeparator + QStringLiteral("quorvel.zip");
    settings.silent = true;
    settings.isUpdate = true;
    if (!QApplication::overrideCursor())
        QApplication::setOverrideCursor(Qt::WaitCursor);
    m_services.host.showDownloadDialog(settings);
    // The launcher ends at the next close tick; its window stays disabled until then.
    m_services.host.startCloseTimer();
    m_running = false;
}

} // namespace quorvel
