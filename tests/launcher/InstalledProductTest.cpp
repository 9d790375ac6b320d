// A tile click with real product files on disk: the installed version is read from the file itself and decides
// between starting the product and opening the download dialog.
#include "common/ActivityLog.h"
#include "common/QtCompat.h"
#include "download/Tfrmdl.h"
#include "launcher/Tfrmprinc.h"
#include "platform/Platform.h"
#include "support/FakePlatform.h"
#include "support/QtPrinters.h"
#include "support/TempEnv.h"
#include "update/FileVersion.h"

#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::fakes;

namespace {

struct InstalledLauncher
{
    QTemporaryDir dataHome;
    QTemporaryDir programFiles;
    FakeFolders folders;
    FakeProcesses processes;
    FakeShell shell;
    platform::Files& files = platform::nativePlatform().files;
    platform::Platform platform{folders, processes, shell, files};
    FakeInput input;
    ActivityLog log{[this] { return dataHome.path(); }};
    TempEnv host{"QUORVEL_HOST", "127.0.0.1:9"};
    std::unique_ptr<Tfrmprinc> window;

    InstalledLauncher()
    {
        // In the system's own form, as the platform gives them.
        folders.roaming = QDir::toNativeSeparators(dataHome.path());
        folders.programFilesFolder = QDir::toNativeSeparators(programFiles.path());
        processes.running = {{1, "quorvel"}};
        window = std::make_unique<Tfrmprinc>(Tfrmprinc::Services{platform, input, log, &quorvel::fileVersion},
                                             QStringList{QString(), QStringLiteral("pt"), QStringLiteral("x y")});
        for (QTimer* timer : window->findChildren<QTimer*>())
            timer->stop();
        window->show();
        // The version answer has arrived, so the decision does not wait for it.
        window->state().latest.set(VersionSlot::vrsTwit, QStringLiteral("1.0"));
    }

    // Installs the real fixture binary as the Face product's program.
    QString installFace(const char* fixture)
    {
        const QString folder = programFiles.filePath(QStringLiteral("Quorvel Face"));
        const QString program = QDir::toNativeSeparators(folder + QStringLiteral("/quorface.exe"));
        EXPECT_TRUE(QDir().mkpath(folder));
        EXPECT_TRUE(QFile::copy(QStringLiteral(QUORVEL_VERSION_FIXTURES "/") + QLatin1StringView(fixture), program));
        return program;
    }

    void clickFace() { window->img_mktClick(window->findChild<QWidget*>(QStringLiteral("img_face"))); }
};

} // namespace

TEST(InstalledProduct, ACurrentProductIsStartedWithTheForwardedParametersAndTheLauncherCloses)
{
    InstalledLauncher l;
    const QString program = l.installFace("pe-ptbr.exe"); // carries 2.4.1.0
    // Versions compare on their first three digits: 2.4.1.0 is current against 2.41.
    l.window->state().latest.set(VersionSlot::vrsFace, QStringLiteral("2.41"));

    l.clickFace();

    ASSERT_EQ(l.shell.opened.size(), 1);
    EXPECT_EQ(l.shell.opened[0].first, program);
    EXPECT_EQ(l.shell.opened[0].second, QStringLiteral("pt \"x y\""));
    EXPECT_FALSE(l.window->isVisible());
    EXPECT_TRUE(l.window->findChild<QTimer*>(QStringLiteral("tclose"))->isActive());
    EXPECT_EQ(l.window->state().frmdl, nullptr);
}

TEST(InstalledProduct, AnOlderProductOpensTheUpdateDialogInstead)
{
    InstalledLauncher l;
    l.installFace("pe-ptbr.exe");
    l.window->state().latest.set(VersionSlot::vrsFace, QStringLiteral("2.5"));

    // The dialog is modal: look at it once it is up, then cancel it as the user would.
    QString caption;
    bool updating = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QPointer<Tfrmdl> dialog = l.window->state().frmdl;
        if (!dialog || !dialog->isVisible())
            return;
        caption = dialog->windowTitle();
        updating = dialog->isUpdate && !dialog->isReinstall;
        dialog->close();
    });
    watcher.start(20);
    l.clickFace();

    EXPECT_EQ(caption, QStringLiteral(" Atualizando Face, aguarde..."));
    EXPECT_TRUE(updating);
    EXPECT_EQ(l.window->state().launchVersion, QStringLiteral("2.5"));
    // Cancelled without an outcome: the installed copy is started anyway, then the launcher ends.
    ASSERT_EQ(l.shell.opened.size(), 1);
    EXPECT_TRUE(l.window->findChild<QTimer*>(QStringLiteral("tclose"))->isActive());
}
