#pragma once

#include "common/DownloadResult.h"

#include <QDateTime>
#include <QDialog>
#include <QString>
#include <array>
#include <atomic>
#include <functional>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QTimer;

namespace quorvel {

class ActivityLog;
class HttpClient;
struct LauncherState;

namespace platform {
class Folders;
class Input;
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
        const platform::Folders& folders;
        const platform::Input& input;
        ActivityLog& log;
    };
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
    LinkGroup* linkGroup(QAnyStringView name);

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

    // Steps of the later download work, called by tdlTimer.
    void startDownload();
    void ttimeoutTimer();

    // While a step waits with the event loop running, a close must not delete the dialog under it.
    class BusyScope;
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
};

} // namespace quorvel
