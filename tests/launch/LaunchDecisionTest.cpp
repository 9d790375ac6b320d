#include "launch/LaunchDecision.h"

#include "common/LauncherState.h"
#include "launch/ProcessControl.h"
#include "platform/Platform.h"
#include "support/FakePlatform.h"
#include "support/QtPrinters.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>
#include <gtest/gtest.h>
#include <map>

using namespace quorvel;
using quorvel::fakes::FakeInput;

namespace {

// Stands in for the main window: records what the decision asks of it instead of showing anything.
class FakeHost : public LaunchHost
{
public:
    LauncherState launcherState;
    QWidget panel;
    QStringList executed;
    QList<DialogSettings> dialogs;
    QList<QString> launchVersionAtDialog;
    QStringList checkedProcesses;
    bool closed = false;
    int closeTimerStarts = 0;
    bool panelEnabledDuringDialog = true;
    std::function<void()> duringDialog; // what happens while the modal dialog is open
    QString outcomeOfDialog;            // set into dlOutcome when the dialog closes, as a dialog would
    ProcessControl* processControl = nullptr;

    LauncherState& state() override { return launcherState; }
    QWidget* panel3() override { return &panel; }
    void exec(const QString& path) override { executed.append(path); }
    bool checkProcess(const QString& procname, bool terminate) override
    {
        checkedProcesses.append(procname);
        return processControl ? processControl->checkProcess(procname, terminate) : false;
    }
    void closeMainWindow() override { closed = true; }
    void startCloseTimer() override { ++closeTimerStarts; }
    void stopSelfUpdateTimer() override {}
    void showDownloadDialog(const DialogSettings& settings) override
    {
        dialogs.append(settings);
        launchVersionAtDialog.append(launcherState.launchVersion);
        panelEnabledDuringDialog = panel.isEnabled();
        if (duringDialog)
            duringDialog();
        if (!outcomeOfDialog.isEmpty())
            launcherState.dlOutcome.set(outcomeOfDialog);
    }
};

struct Fixture
{
    QTemporaryDir dir;
    QString programs = dir.filePath(QStringLiteral("programs"));
    QString data = dir.filePath(QStringLiteral("data/Quorvel"));
    fakes::FakeFolders folders;
    platform::Processes& processes = platform::nativePlatform().processes;
    fakes::FakeShell shell;
    platform::Files& files = platform::nativePlatform().files;
    platform::Platform platform{folders, processes, shell, files};
    FakeInput input;
    FakeHost host;
    QList<unsigned> pauses;
    std::map<QString, QString> versions; // installed versions by path
    // A pause lets a little real time pass, as the shipped one does (a terminated process needs a moment to go).
    LaunchDecision decision{{host, platform, input,
                             [this](unsigned ms) {
                                 pauses.append(ms);
                                 QThread::msleep(20);
                             },
                             [this](const QString& path) {
                                 const auto it = versions.find(path);
                                 return it == versions.end() ? QString() : it->second;
                             },
                             [this] { return data; }}};
    QWidget imgFace, labelMkt, imgIa;
    QAction atualizar{QStringLiteral("Atualizar")};
    QAction fechar{QStringLiteral("Fechar")};

    Fixture()
    {
        QDir().mkpath(programs);
        QDir().mkpath(data);
        folders.programFilesFolder = programs;
        folders.ownExe = QStringLiteral("/usr/bin/quorvel");
        imgFace.setObjectName(QStringLiteral("img_face"));
        labelMkt.setObjectName(QStringLiteral("label_mkt"));
        imgIa.setObjectName(QStringLiteral("img_ia"));
        atualizar.setObjectName(QStringLiteral("Atualizar1"));
        fechar.setObjectName(QStringLiteral("Fechar1"));
        // The version answer has arrived.
        host.launcherState.latest.set(VersionSlot::vrsTwit, QStringLiteral("3.1"));
        host.launcherState.latest.set(VersionSlot::vrsFace, QStringLiteral("2.4.1"));
        host.launcherState.latest.set(VersionSlot::vrsNav, QStringLiteral("109"));
    }

    QString install(const QString& relative, const QString& version)
    {
        const QString path = programs + u'/' + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("#!/bin/sh\nsleep \"${1:-30}\"\n");
        file.close();
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
        versions[path] = version;
        return path;
    }
    QString face() { return programs + QStringLiteral("/Quorvel Face/quorface.exe"); }
};

} // namespace

TEST(LaunchDecision, CurrentProductStartsOnceAndTheLauncherEnds)
{
    Fixture f;
    const QString face = f.install(QStringLiteral("Quorvel Face/quorface.exe"), QStringLiteral("2.4.1.0"));
    f.decision.img_mktClick(&f.imgFace);
    EXPECT_EQ(f.host.executed, QStringList{face});
    EXPECT_TRUE(f.host.dialogs.isEmpty());
    EXPECT_EQ(f.host.closeTimerStarts, 1);
    EXPECT_TRUE(f.host.panel.isEnabled());
    EXPECT_EQ(f.host.launcherState.launchVersion, QStringLiteral("2.4.1"));
    EXPECT_TRUE(f.pauses.isEmpty()); // nothing to wait for
    EXPECT_FALSE(f.decision.isRunning());
}

TEST(LaunchDecision, DialogCasesAndWhatIsStartedAfterwards)
{
    const struct
    {
        const char* name;
        const char* installed; // empty: not installed
        bool shift;
        const char* outcome;
        bool isUpdate;
        bool startedAfter;
    } cases[] = {
        {"outdated", "2.4.0.0", false, "sucess", true, true},
        {"outdated, installer ran", "2.4.0.0", false, "executed", true, false},
        {"current with Shift", "2.4.1.0", true, "fail", false, true},
        {"missing", nullptr, false, "fail", false, false},
    };
    for (const auto& c : cases) {
        Fixture f;
        if (c.installed)
            f.install(QStringLiteral("Quorvel Face/quorface.exe"), QString::fromLatin1(c.installed));
        f.input.shift = c.shift;
        f.host.outcomeOfDialog = QString::fromLatin1(c.outcome);
        f.decision.img_mktClick(&f.imgFace);

        ASSERT_EQ(f.host.dialogs.size(), 1) << c.name;
        const DialogSettings& d = f.host.dialogs.first();
        EXPECT_EQ(d.source, QStringLiteral("face")) << c.name;
        EXPECT_EQ(d.dest, f.data + QStringLiteral("/quorface.zip")) << c.name;
        EXPECT_EQ(d.isUpdate, c.isUpdate) << c.name;
        EXPECT_FALSE(d.isReinstall) << c.name;
        EXPECT_TRUE(d.silent) << c.name;
        EXPECT_TRUE(d.incrementNextVersion) << c.name;
        EXPECT_EQ(d.cef_version, QStringLiteral("109")) << c.name;
        EXPECT_FALSE(f.host.panelEnabledDuringDialog) << c.name;
        EXPECT_EQ(f.host.executed, c.startedAfter ? QStringList{f.face()} : QStringList()) << c.name;
        EXPECT_EQ(f.host.closeTimerStarts, 1) << c.name;
        EXPECT_TRUE(f.host.panel.isEnabled()) << c.name;
    }
}

TEST(LaunchDecision, ProductFoundThroughPathDat)
{
    Fixture f;
    const QString elsewhere = f.dir.filePath(QStringLiteral("tools/Quorvel Twit/quortwit.exe"));
    QDir().mkpath(QFileInfo(elsewhere).path());
    QFile(elsewhere).open(QIODevice::WriteOnly);
    f.versions[elsewhere] = QStringLiteral("3.1.0.0");
    QFile pathDat(f.data + QStringLiteral("/path.dat"));
    pathDat.open(QIODevice::WriteOnly);
    pathDat.write(elsewhere.toUtf8() + "\r\n");
    pathDat.close();

    f.decision.img_mktClick(&f.labelMkt); // the mkt tile carries Twit
    EXPECT_EQ(f.host.executed, QStringList{elsewhere});
}

TEST(LaunchDecision, AtualizarReinstallsTheBrowserApplicationThenTheProduct)
{
    Fixture f;
    const QString cef = f.install(QStringLiteral("Quorvel/Navigator/libcef.dll"), QStringLiteral("109.1.18.0"));
    f.install(QStringLiteral("Quorvel Face/quorface.exe"), QStringLiteral("2.4.1.0"));
    f.host.launcherState.currentSoft = QStringLiteral("face");
    f.host.outcomeOfDialog = QStringLiteral("sucess");
    f.decision.img_mktClick(&f.atualizar);

    ASSERT_EQ(f.host.dialogs.size(), 2);
    EXPECT_EQ(f.host.dialogs[0].source, QStringLiteral("nav"));
    EXPECT_EQ(f.host.dialogs[0].dest, f.data + QStringLiteral("/quornav.zip"));
    EXPECT_EQ(f.host.dialogs[1].source, QStringLiteral("face"));
    for (const DialogSettings& d : f.host.dialogs) {
        EXPECT_TRUE(d.isUpdate);
        EXPECT_TRUE(d.isReinstall);
    }
    EXPECT_EQ(f.host.launchVersionAtDialog, (QList<QString>{QStringLiteral("109"), QStringLiteral("2.4.1")}));
    // The runtime library is never started; the product is, since its installer did not run.
    EXPECT_EQ(f.host.executed, QStringList{f.face()});
    EXPECT_FALSE(f.host.executed.contains(cef));
    EXPECT_EQ(f.host.closeTimerStarts, 1);
}

TEST(LaunchDecision, AtualizarWithNothingInstalledAndALostSelection)
{
    Fixture f;
    // The selection was cleared between opening the menu and picking the item: only the browser application.
    f.decision.img_mktClick(&f.atualizar);
    ASSERT_EQ(f.host.dialogs.size(), 1);
    EXPECT_EQ(f.host.dialogs[0].source, QStringLiteral("nav"));
    EXPECT_FALSE(f.host.dialogs[0].isUpdate);
    EXPECT_FALSE(f.host.dialogs[0].isReinstall);
    EXPECT_TRUE(f.host.executed.isEmpty());
    EXPECT_EQ(f.host.closeTimerStarts, 1);
    EXPECT_TRUE(f.host.panel.isEnabled());
}

TEST(LaunchDecision, FecharEndsTheProductsProcessesAndClosesTheLauncher)
{
    Fixture f;
    const QString face = f.install(QStringLiteral("Quorvel Face/quorface.exe"), QStringLiteral("2.4.1.0"));
    const QString companion = f.install(QStringLiteral("Quorvel Face/quorfacec.exe"), QString());
    ProcessControl control(f.processes, f.shell, [](unsigned) {});
    f.host.processControl = &control;
    QProcess product, helper;
    product.start(face, {QStringLiteral("30")});
    helper.start(companion, {QStringLiteral("30")});
    ASSERT_TRUE(product.waitForStarted());
    ASSERT_TRUE(helper.waitForStarted());

    f.host.launcherState.currentSoft = QStringLiteral("face");
    f.decision.img_mktClick(&f.fechar);

    EXPECT_TRUE(product.waitForFinished(5000));
    EXPECT_TRUE(helper.waitForFinished(5000));
    EXPECT_TRUE(f.host.closed);
    EXPECT_TRUE(f.host.dialogs.isEmpty());
    EXPECT_TRUE(f.host.executed.isEmpty());
    EXPECT_EQ(f.host.closeTimerStarts, 0);
    // Found once and ended; the second try found nothing.
    EXPECT_EQ(f.host.checkedProcesses, (QStringList{QStringLiteral("quorface.exe"), QStringLiteral("quorface.exe")}));
    EXPECT_EQ(f.pauses, QList<unsigned>({1000}));
}

TEST(LaunchDecision, NoVersionAnswerWaitsThenGoesOn)
{
    Fixture f;
    f.install(QStringLiteral("Quorvel Face/quorface.exe"), QStringLiteral("2.4.1.0"));
    LauncherState& s = f.host.launcherState;
    s.latest.set(VersionSlot::vrsTwit, QString());
    s.latest.set(VersionSlot::vrsFace, QString());
    f.decision.img_mktClick(&f.imgFace);

    QList<unsigned> expected;
    for (int i = 0; i < 11; ++i)
        expected.append(500);
    for (int i = 0; i < 5; ++i)
        expected.append(1000);
    EXPECT_EQ(f.pauses, expected);
    // An installed version against an unknown latest one counts as outdated.
    ASSERT_EQ(f.host.dialogs.size(), 1);
    EXPECT_TRUE(f.host.dialogs[0].isUpdate);
}

TEST(LaunchDecision, AnswerArrivingDuringTheWaitIsTakenAtOnce)
{
    Fixture f;
    f.install(QStringLiteral("Quorvel Face/quorface.exe"), QStringLiteral("2.4.1.0"));
    LauncherState& s = f.host.launcherState;
    s.latest.set(VersionSlot::vrsTwit, QString());
    s.latest.set(VersionSlot::vrsFace, QString());
    LaunchDecision decision{{f.host, f.platform, f.input,
                             [&](unsigned ms) {
                                 f.pauses.append(ms);
                                 if (f.pauses.size() == 3) { // the worker publishes during the third pause
                                     s.latest.set(VersionSlot::vrsTwit, QStringLiteral("3.1"));
                                     s.latest.set(VersionSlot::vrsFace, QStringLiteral("2.4.1"));
                                 }
                             },
                             [](const QString&) { return QStringLiteral("2.4.1.0"); }, [&f] { return f.data; }}};
    decision.img_mktClick(&f.imgFace);
    EXPECT_EQ(f.pauses, QList<unsigned>({500, 500, 500}));
    EXPECT_EQ(f.host.executed, QStringList{f.face()});
}

TEST(LaunchDecision, ElementOfNoProductOpensADialogWithoutAKey)
{
    Fixture f;
    f.decision.img_mktClick(&f.imgIa);
    EXPECT_EQ(f.pauses, QList<unsigned>({1000, 1000, 1000, 1000, 1000}));
    ASSERT_EQ(f.host.dialogs.size(), 1);
    EXPECT_TRUE(f.host.dialogs[0].source.isEmpty());
    EXPECT_TRUE(f.host.executed.isEmpty());
}

TEST(LaunchDecision, ASecondEntryWhileRunningIsIgnored)
{
    Fixture f;
    int nestedDialogs = -1;
    f.host.duringDialog = [&] {
        f.decision.img_mktClick(&f.imgFace); // the 4-second dispatch fires while the dialog is open
        f.decision.Timer2Timer();
        nestedDialogs = static_cast<int>(f.host.dialogs.size());
    };
    f.decision.img_mktClick(&f.imgFace);
    EXPECT_EQ(nestedDialogs, 1);
    EXPECT_EQ(f.host.dialogs.size(), 1);
    EXPECT_FALSE(f.decision.isRunning());

    // Once the first run is over, a later entry is an ordinary new run.
    f.host.duringDialog = nullptr;
    f.decision.img_mktClick(&f.imgFace);
    EXPECT_EQ(f.host.dialogs.size(), 2);
}

TEST(LaunchDecision, SelfUpdateOpensTheLaunchersDialogAndEnds)
{
    Fixture f;
    f.host.launcherState.latest.set(VersionSlot::vrsMenu, QStringLiteral("1.79"));
    f.decision.Timer2Timer();
    ASSERT_EQ(f.host.dialogs.size(), 1);
    EXPECT_EQ(f.host.dialogs[0].source, QStringLiteral("menu"));
    EXPECT_EQ(f.host.dialogs[0].dest, f.data + QStringLiteral("/quorvel.zip"));
    EXPECT_TRUE(f.host.dialogs[0].isUpdate);
    EXPECT_TRUE(f.host.dialogs[0].silent);
    EXPECT_EQ(f.host.launchVersionAtDialog, QList<QString>{QStringLiteral("1.79")});
    EXPECT_EQ(f.host.closeTimerStarts, 1);
    EXPECT_FALSE(f.host.panel.isEnabled());
}
