#include "download/Tfrmdl.h"

#include "download/DialogServices.h"
#include "support/QtPrinters.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QMovie>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>
#include <gtest/gtest.h>
#include <thread>

using namespace quorvel;

namespace {

struct Fixture : fakes::DialogServices
{
    // Created as the launcher does; the dialog deletes itself when closed.
    QPointer<Tfrmdl> create(bool shiftHeld = false)
    {
        input.shift = shiftHeld;
        auto* dialog = new Tfrmdl(services());
        state.frmdl = dialog;
        return dialog;
    }
    QString data() const { return QDir::toNativeSeparators(dir.path() + QStringLiteral("/Quorvel")); }
};

void processEventsFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Answers the next message box with the given button once it shows.
void answerNextMessageBox(QMessageBox::StandardButton button)
{
    QTimer::singleShot(50, [button] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible()) {
                EXPECT_EQ(box->text(), QStringLiteral("Deseja cancelar ?"));
                box->button(button)->click();
                return;
            }
        }
        ADD_FAILURE() << "no message box";
    });
}

} // namespace

TEST(Tfrmdl, CreationValues)
{
    Fixture f;
    QPointer<Tfrmdl> d = f.create(true);
    EXPECT_FALSE(d->silent);
    EXPECT_TRUE(d->isUpdate);
    EXPECT_TRUE(d->incrementNextVersion);
    EXPECT_FALSE(d->isReinstall);
    EXPECT_TRUE(d->dbg);
    EXPECT_EQ(d->erroExecInstall, 0);
    EXPECT_EQ(d->corCount, 0);
    EXPECT_EQ(d->ldlLinks[0], QStringLiteral("https://127.0.0.1:9/ldl.php")); // the vendor host of the tests
    EXPECT_LE(d->inicio.secsTo(QDateTime::currentDateTime()), 5);
    EXPECT_FALSE(d->findChild<QTimer*>(QStringLiteral("tdl"))->isActive());
    EXPECT_EQ(d->findChild<QTimer*>(QStringLiteral("tdl"))->interval(), 500);
    auto* timeout = d->findChild<QTimer*>(QStringLiteral("ttimeout"));
    EXPECT_TRUE(timeout->isActive()); // the 30 minutes count from creation
    EXPECT_EQ(timeout->interval(), 1800000);
    EXPECT_FALSE(d->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
    EXPECT_TRUE(d->progressBar()->isHidden());
    EXPECT_EQ(d->memolog()->y(), 2000);
    // The animation is loaded, centred and running.
    auto* working = d->findChild<QLabel*>(QStringLiteral("working"));
    ASSERT_NE(working->movie(), nullptr);
    EXPECT_EQ(working->movie()->state(), QMovie::Running);
    EXPECT_EQ(working->size(), QSize(320, 240));
    EXPECT_EQ(working->x(), (d->frameGeometry().width() - 320) / 2);
    EXPECT_EQ(d->size(), QSize(366, 231));
    // Shift only matters at creation.
    f.input.shift = false;
    EXPECT_TRUE(d->dbg);
    delete d;
    EXPECT_EQ(f.state.frmdl, nullptr);
}

TEST(Tfrmdl, SourceNamesAndDestinations)
{
    const struct
    {
        const char* key;
        const char* name;
    } names[] = {{"whats", "Messages"}, {"lx", "LX"},     {"sms", "SMS"}, {"twit", "Twit"},
                 {"face", "Face"},      {"menu", "Menu"}, {"", ""}};
    for (const auto& n : names) {
        Fixture f;
        f.state.launchVersion = QStringLiteral("1.78");
        QPointer<Tfrmdl> d = f.create();
        d->setsource(QString::fromLatin1(n.key));
        EXPECT_EQ(d->source_name, QString::fromLatin1(n.name)) << n.key;
        EXPECT_EQ(d->dest, f.data() + QDir::toNativeSeparators(QStringLiteral("/quor") + QString::fromLatin1(n.key) +
                                                               QStringLiteral("_179.zip")));
        delete d;
    }

    Fixture f;
    QPointer<Tfrmdl> d = f.create();
    f.state.launchVersion = QStringLiteral("2.0.9");
    d->setdest(QStringLiteral("/d/a.zip.zip"));
    EXPECT_EQ(d->dest, QStringLiteral("/d/a_210.zip_210.zip"));
    d->setdest(QStringLiteral("/d/app/quornav_109.exe"));
    EXPECT_EQ(d->dest, QStringLiteral("/d/app/quornav_109.exe"));
    f.state.launchVersion.clear();
    d->setdest(QStringLiteral("/d/quorface.zip"));
    EXPECT_EQ(d->dest, QStringLiteral("/d/quorface_.zip"));
    delete d;
}

TEST(Tfrmdl, NextVersion)
{
    const struct
    {
        const char* version;
        bool isUpdate, increment, reinstall;
        const char* next;
    } cases[] = {
        {"1.78", true, true, false, "179"},
        {"1.78", true, true, true, "178"},
        {"1.78", false, true, false, "178"},
        {"1.78", true, false, false, "178"},
        {"2.0.9", true, true, false, "210"},
        {"2.0.9", true, true, true, "209"},
        {"0.0.7", false, true, false, "7"},
        {"", true, true, false, ""},
        {"1.8b", true, true, false, "1"},
        {"1.8b", true, true, true, "0"},
        // Digits beyond the number's range count as no number, without overflowing.
        {"99999999999999999999.1", true, true, false, "1"},
        {"9223372036854775807", true, true, false, "1"},
        {"9223372036854775807", true, true, true, "9223372036854775807"},
    };
    Fixture f;
    QPointer<Tfrmdl> d = f.create();
    for (const auto& c : cases) {
        f.state.launchVersion = QString::fromLatin1(c.version);
        d->isUpdate = c.isUpdate;
        d->incrementNextVersion = c.increment;
        d->isReinstall = c.reinstall;
        EXPECT_EQ(d->getNextVersion(), QString::fromLatin1(c.next)) << c.version;
    }
    delete d;
}

TEST(Tfrmdl, CaptionStep)
{
    const struct
    {
        const char* key;
        bool isUpdate;
        const char* caption;
    } cases[] = {
        {"whats", false, " Baixando Messages, aguarde..."},   {"face", true, " Atualizando Face, aguarde..."},
        {"menu", true, " Atualizando Menu, aguarde..."},      {"nav", true, "Atualizando navegador , aguarde..."},
        {"nav", false, "Atualizando navegador , aguarde..."},
    };
    for (const auto& c : cases) {
        Fixture f;
        QPointer<Tfrmdl> d = f.create();
        d->setsource(QString::fromLatin1(c.key));
        d->isUpdate = c.isUpdate;
        d->ajCp();
        EXPECT_EQ(d->windowTitle(), QString::fromLatin1(c.caption));
        EXPECT_FALSE(d->progressBar()->isHidden());
        delete d;
    }
}

TEST(Tfrmdl, OutcomeProtocol)
{
    Fixture f;
    f.state.dlOutcome.set(QStringLiteral("executed")); // left by an earlier dialog
    QPointer<Tfrmdl> d = f.create();
    EXPECT_EQ(f.state.dlOutcome.get(), QStringLiteral("executed"));
    d->setDlResult(TDLResult::drWorking);
    EXPECT_EQ(f.state.dlOutcome.get(), QStringLiteral("working"));
    d->setDlResult(TDLResult::drNone);
    EXPECT_EQ(f.state.dlResultCode.load(), TDLResult::drNone);
    EXPECT_EQ(f.state.dlOutcome.get(), QStringLiteral("working"));

    const std::pair<TDLResult, const char*> texts[] = {
        {TDLResult::drDownloaded, "downloaded"}, {TDLResult::drSucess, "sucess"},     {TDLResult::drFail, "fail"},
        {TDLResult::drUnzipFail, "unzipfail"},   {TDLResult::drExecuted, "executed"},
    };
    for (const auto& [result, text] : texts) {
        std::thread worker([&d, result = result] { d->setDlResult(result); });
        worker.join();
        EXPECT_EQ(f.state.dlOutcome.get(), QString::fromLatin1(text));
        EXPECT_EQ(f.state.dlResultCode.load(), result);
    }
    delete d;
}

TEST(Tfrmdl, MemoLog)
{
    Fixture quiet;
    QPointer<Tfrmdl> d = quiet.create(false);
    d->addLog(QStringLiteral("ignored"));
    EXPECT_EQ(d->memolog()->y(), 2000);
    EXPECT_TRUE(d->memolog()->toPlainText().isEmpty());
    delete d;

    Fixture f;
    d = f.create(true);
    d->addLog(QStringLiteral("first"));
    EXPECT_EQ(d->memolog()->y(), 0);
    // Lines from a worker arrive on the window's thread, in order.
    std::thread worker([&d] {
        for (int i = 0; i < 100; ++i)
            d->addLog(QStringLiteral("worker %1").arg(i));
    });
    worker.join();
    d->addLog(QStringLiteral("after join"));
    processEventsFor(100);
    QStringList expected{QStringLiteral("first"), QStringLiteral("after join")};
    for (int i = 0; i < 100; ++i)
        expected.insert(expected.size(), QStringLiteral("worker %1").arg(i));
    const QStringList lines = d->memolog()->toPlainText().split(u'\n');
    ASSERT_EQ(lines.size(), 102);
    EXPECT_EQ(lines.first(), QStringLiteral("first"));
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(lines.at(lines.indexOf(QStringLiteral("worker 0")) + i), QStringLiteral("worker %1").arg(i));

    // The launcher's file log also goes to the memo of the open dialog, with its time stamp.
    f.log.setDebugMode(true);
    f.log.writeLog(QStringLiteral("Application start"));
    processEventsFor(50);
    EXPECT_TRUE(d->memolog()->toPlainText().endsWith(QStringLiteral(" Application start")));
    delete d;
    f.log.writeLog(QStringLiteral("no dialog")); // must not reach the destroyed memo
    processEventsFor(20);
}

TEST(Tfrmdl, EscapeAsksAndDoubleClickCloses)
{
    Fixture f;
    QPointer<Tfrmdl> d = f.create();
    d->setsource(QStringLiteral("face"));
    d->show();
    // Only the question runs: a download started meanwhile would fail and close the dialog on a slow system.
    d->findChild<QTimer*>(QStringLiteral("tdl"))->stop();

    answerNextMessageBox(QMessageBox::No);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(d, &escape);
    processEventsFor(50);
    ASSERT_FALSE(d.isNull());
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(f.state.frmdl, d.data());

    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QApplication::sendEvent(d, &other);
    EXPECT_TRUE(d->isVisible());

    answerNextMessageBox(QMessageBox::Yes);
    QApplication::sendEvent(d, &escape);
    processEventsFor(50);
    EXPECT_TRUE(d.isNull()); // closed and freed
    EXPECT_EQ(f.state.frmdl, nullptr);

    d = f.create();
    d->show();
    QWidget* viewport = d->memolog()->viewport();
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(viewport->mapToGlobal(QPoint(5, 5))),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &doubleClick);
    processEventsFor(50);
    EXPECT_TRUE(d.isNull());
    EXPECT_EQ(f.state.frmdl, nullptr);
}

TEST(Tfrmdl, ShowingStartsTheWorkAndClosesOtherWindows)
{
    Fixture f;
    QPointer<Tfrmdl> d = f.create(true);
    d->setsource(QStringLiteral("whats"));
    d->isUpdate = false;
    QWidget stray;
    stray.setObjectName(QStringLiteral("somethingElse"));
    stray.show();
    QWidget launcher;
    launcher.setObjectName(QStringLiteral("frmprinc"));
    launcher.show();

    d->show();
    EXPECT_EQ(d->windowTitle(), QStringLiteral(" Baixando Messages, aguarde..."));
    auto* tdl = d->findChild<QTimer*>(QStringLiteral("tdl"));
    EXPECT_TRUE(tdl->isActive());
    processEventsFor(700);
    EXPECT_FALSE(tdl->isActive()); // fired once
    EXPECT_FALSE(stray.isVisible());
    EXPECT_TRUE(launcher.isVisible());
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(d->memolog()->toPlainText().contains(QStringLiteral("ldl.php")));
    delete d;
}
