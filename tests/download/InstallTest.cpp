// The whole path from a link list to a running installer, against the simulated vendor service with real archives,
// real processes and the real file system. The dialog's waits are shortened; their shipped values are unchanged.
#include "common/ActivityLog.h"
#include "common/LauncherState.h"
#include "common/QtCompat.h"
#include "download/RetiredWorkers.h"
#include "download/Tfrmdl.h"
#include "platform/Platform.h"
#include "support/FakePlatform.h"
#include "support/QtPrinters.h"
#include "support/UniqueFd.h"
#include "support/VendorService.h"
#include "support/ZipBuilder.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace quorvel;
using quorvel::fakes::VendorService;

namespace {

// Starts programs for real but records every start, and only records web addresses.
class RecordingShell : public platform::Shell
{
public:
    QList<QPair<QString, QString>> opened;
    void open(const QString& target, const QString& parameters) override
    {
        opened.append({target, parameters});
        if (!target.contains(QLatin1StringView("://")))
            m_real.open(target, parameters);
    }

private:
    platform::Shell& m_real = platform::nativePlatform().shell;
};

// The test installer: records its arguments, one per line, and stays long enough to be seen.
QByteArray installerScript(const QString& argumentsFile)
{
    return QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1'\nsleep 1\n").arg(argumentsFile).toUtf8();
}

struct Rig
{
    VendorService service;
    QTemporaryDir dir;
    fakes::FakeFolders folders;
    platform::Processes& processes = platform::nativePlatform().processes;
    RecordingShell shell;
    platform::Files& files = platform::nativePlatform().files;
    platform::Platform platform{folders, processes, shell, files};
    fakes::FakeInput input;
    LauncherState state;
    ActivityLog log{[this] { return dir.filePath(QStringLiteral("home/Quorvel")); }};
    QPointer<Tfrmdl> dialog;
    QStringList messages; // every message box, answered with OK
    QTimer answerer;

    Rig()
    {
        folders.roaming = dir.filePath(QStringLiteral("home"));
        folders.ownExe = dir.filePath(QStringLiteral("bin/quorvel"));
        QDir().mkpath(dataFolder());
        QDir().mkpath(served());
        service.setFilesFolder(dir.filePath(QStringLiteral("served"))); // serves /app/...
        QObject::connect(&answerer, &QTimer::timeout, [this] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible()) {
                    messages.append(box->text());
                    box->accept();
                }
            }
        });
        answerer.start(10);
    }
    ~Rig() { delete dialog; }

    QString dataFolder() const { return dir.filePath(QStringLiteral("home/Quorvel")); }
    QString served() const { return dir.filePath(QStringLiteral("served/app")); }
    QString argumentsFile() const { return dir.filePath(QStringLiteral("installer-arguments.txt")); }
    QString link(const QString& file) const
    {
        return QStringLiteral("https://") + service.host() + QStringLiteral("/app/") + file;
    }

    // A link list whose Face item (3) names `faceFile`; the other products get links of their own.
    void serveLinks(const QString& faceFile)
    {
        QString answer = QStringLiteral("ok");
        for (int item = 1; item <= 21; ++item)
            answer += u';' + (item == 3  ? link(faceFile)
                              : item % 2 ? link(QStringLiteral("other%1.zip").arg(item))
                                         : QStringLiteral("x"));
        service.setRoute(QStringLiteral("/ldl.php"), {VendorService::answer(answer)});
    }
    void serveArchive(const QString& name, const QByteArray& installer, unsigned mode = 0755)
    {
        ZipBuilder(served() + u'/' + name).add(QStringLiteral("instalar.exe"), installer, mode);
    }
    void serveFile(const QString& name, const QByteArray& content)
    {
        QFile file(served() + u'/' + name);
        file.open(QIODevice::WriteOnly);
        file.write(content);
    }

    void open(const QString& source, Tfrmdl::Timings timings = {20, 600000, 100})
    {
        state.launchVersion = QStringLiteral("2.41"); // the archive is named after the next version, 242
        dialog = new Tfrmdl({state, platform, input, log});
        state.frmdl = dialog;
        dialog->silent = true;
        dialog->setsource(source);
        dialog->setdest(dataFolder() + QStringLiteral("/quor") + source + QStringLiteral(".zip"));
        dialog->setTimings(timings);
    }
    // Shows the dialog as the launcher does (without blocking the test) and waits until it closes itself.
    bool runUntilClosed(int ms = 30000)
    {
        dialog->show();
        QDeadlineTimer deadline(ms);
        while (dialog && dialog->isVisible() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return !dialog || !dialog->isVisible();
    }
    QString outcome() const { return state.dlOutcome.get(); }
    int requestsFor(const QString& file) const
    {
        return int(service.requests().count(QStringLiteral("https /app/") + file));
    }
    QStringList installerArguments() const
    {
        QFile file(argumentsFile());
        for (QDeadlineTimer deadline(5000); !file.exists() && !deadline.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
};

} // namespace

TEST(Install, AGoodArchiveIsExtractedAndItsInstallerStartedWithTheLauncherPath)
{
    Rig r;
    ASSERT_TRUE(r.service.isRunning());
    r.serveLinks(QStringLiteral("quorface.zip"));
    r.serveArchive(QStringLiteral("quorface.zip"), installerScript(r.argumentsFile()));
    r.open(QStringLiteral("face"));
    QFile stale(r.dataFolder() + QStringLiteral("/instalar.exe"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("an older installer");
    stale.close();

    ASSERT_TRUE(r.runUntilClosed());
    EXPECT_EQ(r.outcome(), QStringLiteral("executed"));
    const QString own = r.folders.ownExe;
    EXPECT_EQ(r.installerArguments(), (QStringList{QStringLiteral("/VERYSILENT"), QStringLiteral("/SUPPRESSMSGBOXES"),
                                                   QStringLiteral("/NORESTART"), own, own}));
    EXPECT_EQ(r.service.requests(),
              (QStringList{QStringLiteral("https /ldl.php"), QStringLiteral("https /app/quorface.zip")}));
    // The archive is gone once its installer runs; the installer stays in the data folder.
    EXPECT_EQ(QDir(r.dataFolder()).entryList(QDir::Files), QStringList{QStringLiteral("instalar.exe")});
    EXPECT_TRUE(r.messages.isEmpty()) << r.messages.join(u'\n');
}

TEST(Install, AProgramLinkIsStartedItselfAndKept)
{
    Rig r;
    ASSERT_TRUE(r.service.isRunning());
    r.serveLinks(QStringLiteral("quorface_setup.exe"));
    r.serveFile(QStringLiteral("quorface_setup.exe"), installerScript(r.argumentsFile()));
    r.open(QStringLiteral("face"));
    ASSERT_TRUE(r.runUntilClosed());
    EXPECT_EQ(r.outcome(), QStringLiteral("executed"));
    EXPECT_EQ(r.installerArguments().size(), 5);
    // The destination took the program's extension, was started as it is and stays.
    EXPECT_TRUE(r.dialog.isNull() || r.dialog->dest.endsWith(QLatin1StringView(".exe")));
    EXPECT_EQ(QDir(r.dataFolder()).entryList(QDir::Files), QStringList{QStringLiteral("quorface_242.exe")});
    EXPECT_TRUE(r.messages.isEmpty());
}

TEST(Install, BrokenDownloadsAreFetchedOnceMoreThenHandedToTheBrowser)
{
    const struct
    {
        const char* what;
        std::function<void(Rig&)> serve;
    } cases[] = {
        {"corrupt archive",
         [](Rig& r) { r.serveFile(QStringLiteral("quorface.zip"), QByteArray("PK\3\4 not really a zip", 21)); }},
        {"archive without the installer",
         [](Rig& r) {
             ZipBuilder(r.served() + QStringLiteral("/quorface.zip")).add(QStringLiteral("leia-me.txt"), "x");
         }},
        {"empty installer", [](Rig& r) { r.serveArchive(QStringLiteral("quorface.zip"), QByteArray()); }},
        {"missing file (a 404 page)", [](Rig&) {}},
    };
    for (const auto& c : cases) {
        Rig r;
        ASSERT_TRUE(r.service.isRunning());
        r.serveLinks(QStringLiteral("quorface.zip"));
        c.serve(r);
        r.open(QStringLiteral("face"));
        ASSERT_TRUE(r.runUntilClosed()) << c.what;
        EXPECT_EQ(r.requestsFor(QStringLiteral("quorface.zip")), 2) << c.what;
        EXPECT_EQ(r.outcome(), QStringLiteral("fail")) << c.what;
        ASSERT_EQ(r.messages.size(), 1) << c.what;
        EXPECT_TRUE(r.messages[0].contains(QLatin1StringView("navegador"))) << c.what;
        ASSERT_FALSE(r.shell.opened.isEmpty()) << c.what;
        EXPECT_EQ(r.shell.opened.last().first, r.link(QStringLiteral("quorface.zip"))) << c.what;
        EXPECT_FALSE(QFileInfo::exists(r.dataFolder() + QStringLiteral("/instalar.exe"))) << c.what;
    }
}

TEST(Install, LinksThatAreNoHttpsAddressesAreNeitherFetchedNorOpened)
{
    for (const char* face : {"www.evil.test/quorface.zip", "ftp://HOST/app/quorface.zip", "HOST/app/quorface.zip"}) {
        Rig r;
        ASSERT_TRUE(r.service.isRunning());
        // Over plain http after a TLS failure the vendor's own host is still believed, but never in clear text.
        r.service.setTlsFailures(1);
        QString answer = QStringLiteral("ok");
        for (int item = 1; item <= 21; ++item)
            answer += u';' + (item == 3 ? QString::fromLatin1(face).replace(QLatin1StringView("HOST"), r.service.host())
                                        : r.link(QStringLiteral("other%1.zip").arg(item)));
        r.service.setRoute(QStringLiteral("/ldl.php"), {VendorService::answer(answer)});
        r.open(QStringLiteral("face"));
        ASSERT_TRUE(r.runUntilClosed()) << face;
        EXPECT_EQ(r.outcome(), QStringLiteral("fail")) << face;
        EXPECT_EQ(r.service.requests(),
                  (QStringList{QStringLiteral("https (TLS refused)"), QStringLiteral("http /ldl.php")}))
            << face;
        // The fallback message still tells the user; the browser gets nothing that is not an https address.
        EXPECT_EQ(r.messages.size(), 1) << face;
        EXPECT_TRUE(r.shell.opened.isEmpty()) << face << " " << r.shell.opened.value(0).first;
    }
}

TEST(Install, AnInstallerErrorWindowIsRetriedThreeTimesThenWarned)
{
    Rig r;
    ASSERT_TRUE(r.service.isRunning());
    r.serveLinks(QStringLiteral("quorface.zip"));
    r.serveArchive(QStringLiteral("quorface.zip"), installerScript(r.argumentsFile()));
    r.input.foregroundTitle = QStringLiteral("ERRO na instalação  \t");
    r.open(QStringLiteral("face"));
    ASSERT_TRUE(r.runUntilClosed(60000));
    EXPECT_EQ(r.requestsFor(QStringLiteral("quorface.zip")), 4);
    EXPECT_EQ(r.outcome(), QStringLiteral("executed"));
    ASSERT_EQ(r.messages.size(), 1);
    EXPECT_TRUE(r.messages[0].startsWith(QStringLiteral("Não foi possível executar o instalador"))) << r.messages[0];
}

TEST(Install, ATransferCutShortIsFetchedAgainIntoAnEmptyFile)
{
    Rig r;
    ASSERT_TRUE(r.service.isRunning());
    r.serveLinks(QStringLiteral("quorface.zip"));
    r.serveArchive(QStringLiteral("quorface.zip"), installerScript(r.argumentsFile()) + QByteArray(20000, '#'));
    QFile archive(r.served() + QStringLiteral("/quorface.zip"));
    ASSERT_TRUE(archive.open(QIODevice::ReadOnly));
    const qint64 size = archive.size();
    archive.close();
    r.service.setRoute(QStringLiteral("/app/quorface.zip"),
                       {QJsonObject{{QStringLiteral("file"), archive.fileName()},
                                    {QStringLiteral("fault"), QStringLiteral("truncate")},
                                    {QStringLiteral("after"), int(size / 2)}},
                        QJsonObject{{QStringLiteral("file"), archive.fileName()}}});
    r.open(QStringLiteral("face"));
    ASSERT_TRUE(r.runUntilClosed());
    EXPECT_EQ(r.requestsFor(QStringLiteral("quorface.zip")), 2);
    // Appending to the first half would break the archive; a fresh file extracts.
    EXPECT_EQ(r.outcome(), QStringLiteral("executed"));
    EXPECT_EQ(r.installerArguments().size(), 5);
}

TEST(Install, AStalledTransferIsRestartedWithTheErrorCaption)
{
    Rig r;
    ASSERT_TRUE(r.service.isRunning());
    r.serveLinks(QStringLiteral("quorface.zip"));
    r.serveArchive(QStringLiteral("quorface.zip"), installerScript(r.argumentsFile()));
    const QString file = r.served() + QStringLiteral("/quorface.zip");
    r.service.setRoute(QStringLiteral("/app/quorface.zip"),
                       {QJsonObject{{QStringLiteral("file"), file},
                                    {QStringLiteral("fault"), QStringLiteral("stall")},
                                    {QStringLiteral("after"), 10}},
                        QJsonObject{{QStringLiteral("file"), file}}});
    // 155 ticks of 5 ms; the worker has received nothing for longer than 300 ms by then.
    r.open(QStringLiteral("face"), {5, 600000, 100, 300});
    QString caption;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (r.dialog && r.dialog->windowTitle().startsWith(QLatin1StringView(" Erro")))
            caption = r.dialog->windowTitle();
    });
    watcher.start(1);
    ASSERT_TRUE(r.runUntilClosed());
    EXPECT_EQ(caption,
              QStringLiteral(" Erro no download do ") + r.service.host() + QStringLiteral("/app/quorface.zip..."));
    EXPECT_EQ(r.requestsFor(QStringLiteral("quorface.zip")), 2);
    EXPECT_EQ(r.outcome(), QStringLiteral("executed"));
}

TEST(Install, ASlowTransferOutlastingStallWindowsCompletesWithoutARestart)
{
    Rig r;
    ASSERT_TRUE(r.service.isRunning());
    r.serveLinks(QStringLiteral("quorface.zip"));
    r.serveArchive(QStringLiteral("quorface.zip"), installerScript(r.argumentsFile()));
    // About 25 pieces 150 ms apart: several stall windows of 155 ticks of 5 ms, data all the while.
    r.service.setRoute(QStringLiteral("/app/quorface.zip"),
                       {QJsonObject{{QStringLiteral("file"), r.served() + QStringLiteral("/quorface.zip")},
                                    {QStringLiteral("fault"), QStringLiteral("trickle")},
                                    {QStringLiteral("chunk"), 10},
                                    {QStringLiteral("delay"), 0.15}}});
    r.open(QStringLiteral("face"), {5, 600000, 100, 1000});
    int stallRestarts = 0;
    QString caption;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!r.dialog)
            return;
        stallRestarts = std::max(stallRestarts, r.dialog->erroExecInstall);
        if (r.dialog->windowTitle().startsWith(QLatin1StringView(" Erro")))
            caption = r.dialog->windowTitle();
    });
    watcher.start(1);
    ASSERT_TRUE(r.runUntilClosed());
    EXPECT_GE(stallRestarts, 2);
    EXPECT_EQ(caption,
              QStringLiteral(" Erro no download do ") + r.service.host() + QStringLiteral("/app/quorface.zip..."));
    // One request, one whole archive, one installer run.
    EXPECT_EQ(r.requestsFor(QStringLiteral("quorface.zip")), 1);
    EXPECT_EQ(r.outcome(), QStringLiteral("executed"));
    EXPECT_EQ(r.installerArguments().size(), 5);
}

TEST(Install, ClosingTheDialogNeverWaitsForItsWorker)
{
    Rig r;
    ASSERT_TRUE(r.service.isRunning());
    // A server that takes connections and never speaks: the worker sits in its TLS handshake.
    const UniqueFd socket(::socket(AF_INET, SOCK_STREAM, 0));
    const int listener = socket.get();
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    socklen_t length = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    const QString silent = QStringLiteral("https://127.0.0.1:%1/app/quorface.zip").arg(ntohs(address.sin_port));
    QString answer = QStringLiteral("ok");
    for (int item = 1; item <= 21; ++item)
        answer += u';' + (item == 3 ? silent : r.link(QStringLiteral("other%1.zip").arg(item)));
    r.service.setRoute(QStringLiteral("/ldl.php"), {VendorService::answer(answer)});
    r.open(QStringLiteral("face"));
    r.dialog->show();
    QDeadlineTimer started(10000);
    while (!(r.dialog && r.dialog->dlthread) && !started.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(r.dialog && r.dialog->dlthread);
    QThread::msleep(500); // well into the handshake

    QElapsedTimer clock;
    clock.start();
    delete r.dialog;
    EXPECT_LT(clock.elapsed(), 250);
    QDeadlineTimer ended(5000);
    while (retired_workers::running() > 0 && !ended.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(retired_workers::running(), 0);
}

TEST(Install, TheTimeOutEndsTheDialogWhileAWorkerRuns)
{
    Rig r;
    ASSERT_TRUE(r.service.isRunning());
    r.serveLinks(QStringLiteral("quorface.zip"));
    r.serveArchive(QStringLiteral("quorface.zip"), installerScript(r.argumentsFile()));
    r.service.setRoute(QStringLiteral("/app/quorface.zip"),
                       {QJsonObject{{QStringLiteral("file"), r.served() + QStringLiteral("/quorface.zip")},
                                    {QStringLiteral("fault"), QStringLiteral("stall")}}});
    r.open(QStringLiteral("face"), {1000, 1500, 100});
    QElapsedTimer clock;
    clock.start();
    // The modal run ends when the time-out asks the program to end.
    r.dialog->exec();
    EXPECT_LT(clock.elapsed(), 10000);
    ASSERT_EQ(r.messages.size(), 1);
    EXPECT_TRUE(r.messages[0].startsWith(QStringLiteral("Não foi possível fazer o download")));
    ASSERT_FALSE(r.shell.opened.isEmpty());
    EXPECT_EQ(r.shell.opened.last(), qMakePair(r.link(QStringLiteral("quorface.zip")), QString()));
    // The stalled worker is stopped with the dialog, promptly.
    clock.restart();
    delete r.dialog;
    EXPECT_LT(clock.elapsed(), 5000);

    // The program was asked to end; a short main loop takes that back for the tests that follow in this process.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}
