#pragma once

#include "common/DownloadResult.h"
#include "download/DialogTimings.h"

#include <QDateTime>
#include <QDialog>
#include <QString>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <utility>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QTimer;

namespace quorvel {

class ActivityLog;
class DownloadChannel;
class HttpClient;
class TDLThread;
struct LauncherState;

namespace platform {
class Input;
struct Platform;
} // namespace platform

// The modal dialog that fetches one file for one product key and hands it to the install step. The launcher
// configures it through its public fields and setters, shows it modally and reads the outcome from the launcher
// state afterwards. It deletes itself when closed.
class Tfrmdl : public QDialog
{
    Q_OBJECT
public:
    struct Services
    {
        LauncherState& state;
        platform::Platform& platform;
        const platform::Input& input;
        ActivityLog& log;
    };
    using Timings = DialogTimings;
    // Slots 1 to 5 of a link group are elements 0 to 4.
    using LinkGroup = std::array<QString, 5>;

    explicit Tfrmdl(Services services, QWidget* parent = nullptr);
    ~Tfrmdl() override;

    // --- Public fields, in the order the other parts know them ---
    QString source;      // product key
    QString source_name; // display name of the key, for the caption
    QString dest;        // full path of the file to download into
    QString linkDownload;
    LinkGroup linkh, linkf, linkt, linki, linkw, linkl, linkk, linku, links, linkm, linko;
    int erroExecInstall = 0;
    int corCount = 0;
    QString lastDl;
    QString cef_version;
    bool isReinstall = false;
    bool dbg = false; // Shift was held while the dialog was created
    QObject* dlthread = nullptr;
    bool silent = false;
    QString zipmsg;
    bool isUpdate = true;
    bool incrementNextVersion = true;
    std::array<QString, 3> ldlLinks; // slots 1 to 3
    QDateTime inicio;
    std::atomic<int> threadsRunning{0};
    int totalThreads = 0;
    int lastProgress = 0;
    int downloadParado = 0;

    // The link group named linkh ... linko; null for any other name.
    LinkGroup* linkGroup(const QString& name);

    void setsource(const QString& s);
    void setdest(const QString& s);
    QString getNextVersion() const;
    // Safe from any thread.
    void setDlResult(TDLResult d);
    // The dialog's memo log; safe from any thread, lines keep their order.
    void addLog(const QString& text);
    void ajCp();
    void closeOtherForms();
    bool gifLoadFromResource(QLabel* im, const QString& resName);

    void tdlTimer();
    void memologDblClick();

    // The link list from the vendor's service into slot 1 of the link groups; true once an answer starting with
    // "ok" has arrived. The dialog keeps handling events while it waits.
    bool getLinks();
    // The link of a download attempt for `source` (before the old-Windows rewrite of the launcher's own files).
    QString chooseLink();

    // The download attempt, its monitor, the install step and the time-out.
    void startDownload();
    void Timer1Timer();
    void execInstall();
    void ttimeoutTimer();
    // Every message of the archive extraction lands here; a message means the extraction failed.
    void zipmZipDialog(const QString& msg);

    // Starts a file or opens an address through the shell; parameters get the launcher's own path appended.
    void shellex(const QString& c, const QString& p);

    // Helpers of the download and install steps.
    int deleteFiles(const QString& folder, const QString& pattern);
    void deleteOldVersions();
    bool findProcess(const QString& exeName, bool terminate);
    static qint64 fileSize(const QString& aFilename);
    void sleepapm(unsigned mseconds);
    QString getActiveWindowCaption() const;

    void setTimings(const Timings& timings);

    // Windows version detection; every call reads the override file or the system again.
    QString winversion();
    bool isOldWin();
    static QString bool2str(bool value);
    // Tests name a Windows release; the system's product name is read otherwise.
    void setProductNameReader(std::function<QString(QString* error)> reader) { m_readProductName = std::move(reader); }

    QPlainTextEdit* memolog() const { return m_memolog; }
    QProgressBar* progressBar() const { return m_progressBar; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormKeyDown(QKeyEvent* event);
    void FormClose();
    void appendToMemo(const QString& text);

    void browserFallbackWithoutLinks();
    // Hands a link from the network to the user's browser, if it is an https web address.
    void openInBrowser(const QString& link);
    void startWorker(const QString& link);
    // The latest worker is still running and has received data lately: a stall restart lets it go on.
    bool workerStillReceiving() const;
    // The latest worker stops reporting and is cancelled, without waiting for it.
    void retireWorker();
    // The install step's parts; each returns true when the step has handed over to a new attempt.
    bool runInstaller(const QString& installer);
    bool installerMissing(const QString& installer);
    void showInformation(const QString& text);

    // While a step waits with the event loop running, a close must not delete the dialog under it.
    class BusyScope
    {
    public:
        explicit BusyScope(Tfrmdl& dialog) : m_dialog(dialog) { ++m_dialog.m_busy; }
        ~BusyScope()
        {
            if (--m_dialog.m_busy == 0 && m_dialog.m_deleteWhenIdle)
                m_dialog.deleteLater();
        }
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        Tfrmdl& m_dialog;
    };
    int m_busy = 0;
    bool m_deleteWhenIdle = false;

    Services m_services;
    QLabel* m_working;
    QProgressBar* m_progressBar;
    QPlainTextEdit* m_memolog;
    QTimer* m_tdl;
    QTimer* m_ttimeout;
    QTimer* m_timer1;
    std::unique_ptr<HttpClient> m_neth;
    std::function<QString(QString* error)> m_readProductName;
    Timings m_timings;
    // The worker of the latest attempt and its channel back to the dialog; earlier ones are retired.
    std::unique_ptr<TDLThread> m_worker;
    std::shared_ptr<DownloadChannel> m_workerChannel;
    bool m_ending = false; // the time-out is ending the program: waits stop early
};

} // namespace quorvel
