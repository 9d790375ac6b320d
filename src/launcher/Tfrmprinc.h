#pragma once

#include "common/LauncherState.h"
#include "download/DialogTimings.h"
#include "launch/LaunchDecision.h"
#include "launch/ProcessControl.h"
#include "launcher/Footer.h"
#include "launcher/MainWindowLayout.h"
#include "launcher/TileGrid.h"

#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class QMenu;
class QKeyEvent;

namespace quorvel {

class ActivityLog;
class GuiHandOff;
class HttpClient;
class TGetVinThread;

namespace platform {
struct Platform;
class Input;
} // namespace platform

// The launcher's main window: the tiles, the footer, the start-up timers and the launcher state.
class Tfrmprinc : public QWidget, private LaunchHost
{
    Q_OBJECT
public:
    struct Services
    {
        platform::Platform& platform;
        platform::Input& input;
        ActivityLog& log;
        std::function<QString(const QString& path)> fileVersion;
        DialogTimings dialogTimings{}; // the download dialog's waits; tests shorten them
    };
    using LaunchOverride = std::function<void(QObject* sender)>;

    // arguments: the positional command-line arguments, without the program name.
    Tfrmprinc(Services services, const QStringList& arguments, QWidget* parent = nullptr);
    ~Tfrmprinc() override;

    // Showing the window the first time also shows what waits for it to be on screen (the captions' texts, the
    // loading panel).
    void setVisible(bool visible) override;

    LauncherState& state() override { return m_state; }
    const QList<QWidget*>& components() const { return m_elements.components; }
    // The element with this object name, letter case ignored; null when none.
    QWidget* findComponent(const QString& name) const;

    // The launch decision, run by a tile click, Enter, a popup item or an argument dispatch. Tests of the start-up
    // replace it to record what reaches it.
    void setLaunchOverride(LaunchOverride decision) { m_launchOverride = std::move(decision); }
    void img_mktClick(QObject* sender);
    void Timer2Timer();
    // The self-update check after a version answer; safe from any thread.
    void checkVrm();

    // Start-up and timers.
    void FormCreate();
    void Timer1Timer();
    void tshowTimer();
    void tautoTimer();
    void tcloseTimer();

    // Process control through the shell, with the forwarded command-line parameters.
    bool checkProcess(const QString& procname, bool terminate) override;
    void exec(const QString& l) override;

    // An information message box; returns when the user has closed it.
    void mdl(const QString& s);

    TileGrid& tileGrid() { return *m_tileGrid; }

    // The version query: getvin starts its worker and returns; the worker runs getvint.
    void getvin();
    void getvint(TGetVinThread* thread);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void firstArgumentDispatch();
    void revealElement(QWidget* element);
    void bindElementEvents();
    void hover(QObject* element);
    void click(QObject* element);
    bool isClickable(QObject* element) const;
    void showTilePopup(QWidget* image, const QPoint& localPos);

    // LaunchHost
    QWidget* panel3() override;
    void closeMainWindow() override;
    void startCloseTimer() override;
    void stopSelfUpdateTimer() override;
    void showDownloadDialog(const DialogSettings& settings) override;

    Services m_services;
    QStringList m_arguments;
    LauncherState m_state;
    ProcessControl m_processControl;
    MainWindowElements m_elements;
    QList<QObject*> m_tileElements; // images and captions of the tiles: click and hover select a product
    LaunchOverride m_launchOverride;
    std::unique_ptr<LaunchDecision> m_launchDecision;
    std::unique_ptr<TileGrid> m_tileGrid;
    std::unique_ptr<Footer> m_footer;
    QObject* m_pressed = nullptr; // element under the last left-button press, for click detection

    // Named children, so tests and later parts find them by name.
    QTimer* m_timer1;
    QTimer* m_tshow;
    QTimer* m_tauto;
    QTimer* m_timer2;
    QTimer* m_tclose;
    QMenu* m_popupMenu1;

    // The version query's worker, its HTTP client and its way to the window's thread.
    std::unique_ptr<HttpClient> m_neth;
    std::shared_ptr<GuiHandOff> m_handOff;
    QPointer<TGetVinThread> m_getVinThread;
};

} // namespace quorvel
