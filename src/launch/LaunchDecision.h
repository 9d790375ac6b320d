#pragma once

#include <QString>
#include <functional>

class QObject;
class QWidget;

namespace quorvel {

struct CatalogueRow;
struct LauncherState;

namespace platform {
struct Platform;
class Input;
} // namespace platform

// How the launch decision configures a download dialog before showing it.
struct DialogSettings
{
    QString source; // product key
    QString dest;   // archive path in the data folder, before the version is inserted
    QString cef_version;
    bool isReinstall = false;
    bool isUpdate = true;
    bool silent = false;
    bool incrementNextVersion = true;
};

// What the launch decision needs of the main window.
class LaunchHost
{
public:
    virtual ~LaunchHost() = default;
    virtual LauncherState& state() = 0;
    virtual QWidget* panel3() = 0;
    virtual void exec(const QString& path) = 0;
    virtual bool checkProcess(const QString& procname, bool terminate) = 0;
    virtual void closeMainWindow() = 0;
    virtual void startCloseTimer() = 0;
    virtual void stopSelfUpdateTimer() = 0;
    // Creates the download dialog, applies the settings, shows it modally and returns when it has closed.
    virtual void showDownloadDialog(const DialogSettings& settings) = 0;
};

// What happens when the user picks a product: start it when its installed copy is current, otherwise open the
// download dialog to install, update or reinstall it. Also the tile menu's "Atualizar" and "Fechar", and the
// launcher's self-update. Runs on the window's thread; its waits let timers and input run.
class LaunchDecision
{
public:
    struct Services
    {
        LaunchHost& host;
        platform::Platform& platform;
        const platform::Input& input;
        std::function<void(unsigned mseconds)> pause;
        std::function<QString(const QString& path)> fileVersion;
        std::function<QString()> appDataFolder;
    };

    explicit LaunchDecision(Services services);

    // The sender is a tile image or caption (by its name), a popup item ("Atualizar", "Fechar"), or an element
    // handed over by the argument dispatches and the keys.
    void img_mktClick(QObject* sender);
    // The launcher's own update, when the self-update timer fires.
    void Timer2Timer();

    bool isRunning() const { return m_running; }

private:
    struct Run; // the values one run keeps across its two passes

    enum class PassEnd
    {
        Continue,
        LauncherClosed,
    };
    PassEnd pass(int number, QObject* sender, Run& run);
    bool enter(const QString& what);
    void waitForVersionAnswer();
    QString installPathOf(const Run& run) const;
    void setBusy(bool busy);

    Services m_services;
    bool m_running = false;
};

} // namespace quorvel
