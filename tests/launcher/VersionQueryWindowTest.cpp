// The version query started by the main window against the simulated vendor service: what the window shows.
#include "common/QtCompat.h"
#include "launcher/LauncherFixture.h"
#include "support/QtPrinters.h"
#include "support/VendorService.h"
#include "support/VersionAnswers.h"
#include "update/VersionQuery.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QJsonArray>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <gtest/gtest.h>

using namespace quorvel;
using quorvel::fakes::exampleVersionAnswer;
using quorvel::fakes::Launcher;
using quorvel::fakes::VendorService;

namespace {

bool processEventsUntil(const std::function<bool()>& done, int ms = 10000)
{
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

} // namespace

TEST(VersionQueryWindow, TheAdvertisementIsTypedIntoTheFooter)
{
    VendorService service;
    ASSERT_TRUE(service.isRunning());
    service.setRoute(QStringLiteral("/vrs.php"),
                     {VendorService::answer(exampleVersionAnswer(
                         QStringLiteral("000f"), QStringLiteral("ad;1|Novo curso gratuito|http://cursos.test/novo")))});
    Launcher l({});
    l.window->show();
    auto* labelad = qobject_cast<QLabel*>(l.element("labelad"));
    ASSERT_NE(labelad, nullptr);

    // The typing takes about 10 ms a character: part of the text shows before the rest.
    l.timer("Timer1")->start();
    QString partly;
    ASSERT_TRUE(processEventsUntil([&] { return !labelad->text().isEmpty(); }));
    partly = labelad->text();
    ASSERT_TRUE(processEventsUntil([&] { return labelad->text() == QStringLiteral("Novo curso gratuito"); }))
        << labelad->text();
    EXPECT_LT(partly.size(), 19);
    EXPECT_EQ(l.element("Shape1")->height(), l.element("pfooter")->height() - 1);
    EXPECT_EQ(l.window->state().adLink.get(), QStringLiteral("https://cursos.test/novo"));
    EXPECT_EQ(l.window->state().latest.get(VersionSlot::vrsFace), QStringLiteral("5.12"));
    EXPECT_FALSE(l.window->state().showWhats);
    // The launcher is current (1.78), so no self-update is armed.
    EXPECT_FALSE(l.timer("Timer2")->isActive());
    EXPECT_TRUE(l.fake.shell.opened.isEmpty());
}

TEST(VersionQueryWindow, AFailedQueryTellsTheUserThenOpensTheDownloadPage)
{
    VendorService service;
    ASSERT_TRUE(service.isRunning());
    service.stop();
    Launcher l({});
    l.window->show();

    QString shown;
    int openedWhileShown = -1;
    bool answered = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(window);
            if (box && box->isVisible() && !answered) {
                shown = box->text();
                openedWhileShown = int(l.fake.shell.opened.size());
                answered = true;
                box->accept();
            }
        }
    });
    poll.start(20);
    l.window->getvin();
    ASSERT_TRUE(processEventsUntil([&] { return !l.fake.shell.opened.isEmpty(); }));
    processEventsUntil([] { return false; }, 300); // nothing more follows

    EXPECT_EQ(shown, VersionQuery::kFailureMessage);
    EXPECT_EQ(openedWhileShown, 0); // the browser waits for the user's answer
    ASSERT_EQ(l.fake.shell.opened.size(), 1);
    EXPECT_EQ(l.fake.shell.opened[0].first,
              QStringLiteral("https://") + service.host() + QStringLiteral("/download?links"));
}

TEST(VersionQueryWindow, ClosingTheWindowDuringTheQueryEndsItsWorker)
{
    VendorService service;
    ASSERT_TRUE(service.isRunning());
    service.setRoute(
        QStringLiteral("/vrs.php"),
        {QJsonObject{{QStringLiteral("body"),
                      exampleVersionAnswer(QStringLiteral("000f"),
                                           QStringLiteral("ad;1|Novo curso gratuito|http://cursos.test/novo"))},
                     {QStringLiteral("fault"), QStringLiteral("stall")},
                     {QStringLiteral("after"), 10}}});
    auto l = std::make_unique<Launcher>(QStringList{});
    l->window->getvin();
    ASSERT_TRUE(processEventsUntil([&] { return service.requests().size() == 1; }));
    QElapsedTimer clock;
    clock.start();
    l.reset(); // must neither hang on the stalled transfer nor leave the worker writing into a destroyed window
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST(VersionQueryWindow, AnAdvertisementLinkThatIsNoWebAddressIsNeverOpened)
{
    const char* links[] = {"calc.exe", "file:///etc/passwd", "\\\\server\\share\\promo.exe", "https://x.test\\@y.test/",
                           "javascript:alert(1)"};
    for (const char* link : links) {
        VendorService service;
        ASSERT_TRUE(service.isRunning());
        // The first attempt fails its TLS handshake; the answer then comes over plain http.
        service.setTlsFailures(1);
        service.setRoute(QStringLiteral("/vrs.php"),
                         {VendorService::answer(exampleVersionAnswer(
                             QStringLiteral("000f"), QStringLiteral("ad;1|Promo|") + QLatin1StringView(link)))});
        Launcher l({});
        l.window->show();
        l.timer("Timer1")->start();
        ASSERT_TRUE(processEventsUntil([&] { return !l.window->state().adLink.get().isEmpty(); })) << link;
        QWidget* labelad = l.element("labelad");
        const QPoint at(5, 5);
        QMouseEvent press(QEvent::MouseButtonPress, at, labelad->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, labelad->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(labelad, &press);
        QApplication::sendEvent(labelad, &release);
        QCoreApplication::processEvents();
        EXPECT_TRUE(l.fake.shell.opened.isEmpty()) << link << " opened " << l.fake.shell.opened.value(0).first;
        EXPECT_TRUE(service.requests().contains(QStringLiteral("http /vrs.php"))) << link;
    }
}
