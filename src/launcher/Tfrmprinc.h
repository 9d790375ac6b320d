#pragma once

#include "launch/ProcessControl.h"
#include "launcher/LauncherState.h"

#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace quorvel {

class ActivityLog;

namespace platform {
struct Platform;
class Input;
} // namespace platform

// The launcher's main window: the tiles, the footer, the start-up timers and the launcher state.
class Tfrmprinc : public QWidget
{
    Q_OBJECT
public:
    struct Services
    {
        platform::Platform& platform;
        platform::Input& input;
        ActivityLog& log;
    };
    using LaunchDecision = std::function<void(QObject* sender)>;

    // arguments: the positional command-line arguments, without the program name.
    Tfrmprinc(Services services, const QStringList& arguments, QWidget* parent = nullptr);

    LauncherState& state() { return m_state; }
    const QList<QWidget*>& components() const { return m_components; }
    // The element with this object name, letter case ignored; null when none.
    QWidget* findComponent(const QString& name) const;

    // The launch decision run by a tile click, Enter, a popup item or an argument dispatch.
    void setLaunchDecision(LaunchDecision decision) { m_launchDecision = std::move(decision); }
    void img_mktClick(QObject* sender);

    // Start-up and timers.
    void FormCreate();
    void Timer1Timer();
    void tshowTimer();
    void tautoTimer();
    void tcloseTimer();

    // Process control through the shell, with the forwarded command-line parameters.
    bool checkProcess(const QString& procname, bool terminate);
    void exec(const QString& l);

    // An information message box; returns when the user has closed it.
    void mdl(const QString& s);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void getvin();
    void centerLogo();
    void centraliza();
    void adjustBarAt125();
    void dshz(bool ent);
    void firstArgumentDispatch();
    void revealElement(QWidget* element);

    Services m_services;
    QStringList m_arguments;
    LauncherState m_state;
    ProcessControl m_processControl;
    QList<QWidget*> m_components;
    LaunchDecision m_launchDecision;

    // Named children, so tests and later parts find them by name.
    QTimer* m_timer1;
    QTimer* m_tshow;
    QTimer* m_tauto;
    QTimer* m_timer2;
    QTimer* m_tclose;
};

} // namespace quorvel
