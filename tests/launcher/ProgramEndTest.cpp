// The download dialog's time-out ends the whole launcher within seconds, whatever is waiting on the network: here
// a link list and a version answer that the server drips a byte at a time.
#include "common/ActivityLog.h"
#include "launcher/Tfrmprinc.h"
#include "platform/Platform.h"
#include "support/FakePlatform.h"
#include "support/QtPrinters.h"
#include "support/VendorService.h"
#include "support/VersionAnswers.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::fakes;

namespace {

QJsonObject dripping(const QString& body)
{
    return QJsonObject{{QStringLiteral("body"), body},
                       {QStringLiteral("fault"), QStringLiteral("trickle")},
                       {QStringLiteral("chunk"), 1},
                       {QStringLiteral("delay"), 0.4}};
}

} // namespace

TEST(ProgramEnd, TheTimeOutEndsTheLauncherWhileTheLinkListAndTheVersionAnswerDrip)
{
    VendorService service;
    ASSERT_TRUE(service.isRunning());
    service.setRoute(QStringLiteral("/vrs.php"), {dripping(exampleVersionAnswer())});
    service.setRoute(QStringLiteral("/ldl.php"), {dripping(QStringLiteral("ok;") + QString(400, u'x'))});

    QTemporaryDir dataHome;
    QTemporaryDir programFiles;
    FakeFolders folders;
    folders.roaming = dataHome.path();
    folders.programFilesFolder = programFiles.path();
    FakeProcesses processes;
    processes.running = {{1, "quorvel"}};
    FakeShell shell;
    platform::Files& files = platform::nativePlatform().files;
    platform::Platform platform{folders, processes, shell, files};
    FakeInput input;
    ActivityLog log{[&] { return dataHome.path(); }};
    DialogTimings timings;
    timings.timeoutMs = 2000;
    auto window = std::make_unique<Tfrmprinc>(
        Tfrmprinc::Services{platform, input, log, [](const QString&) { return QString(); }, timings}, QStringList{});
    for (QTimer* timer : window->findChildren<QTimer*>())
        timer->stop();
    window->show();
    window->getvin(); // the version query drips on its worker all along

    QStringList messages;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) {
                messages.append(box->text());
                box->accept();
            }
        }
    });
    answerer.start(10);
    // Without waiting for the answer the decision goes straight to the dialog, whose link request then drips.
    window->state().latest.set(VersionSlot::vrsTwit, QStringLiteral("2.41"));
    window->state().latest.set(VersionSlot::vrsFace, QStringLiteral("5.12"));
    QTimer::singleShot(0, window.get(), [&] { window->img_mktClick(window->findChild<QWidget*>("img_face")); });

    QElapsedTimer clock;
    clock.start();
    QCoreApplication::exec(); // the launcher's message loop, ended by the time-out
    EXPECT_LT(clock.elapsed(), 2000 + 4000);
    window.reset(); // the window ends its version query on the way out
    EXPECT_LT(clock.elapsed(), 2000 + 6000);

    EXPECT_TRUE(service.requests().contains(QStringLiteral("https /ldl.php"))) << service.requests().join(u' ');
    ASSERT_EQ(messages.size(), 1) << messages.join(u'\n');
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Não foi possível fazer o download")));
}
