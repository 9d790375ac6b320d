#include "common/ActivityLog.h"
#include "common/QtCompat.h"
#include "download/Tfrmdl.h"
#include "launcher/LauncherFixture.h"
#include "launcher/LazyPicture.h"
#include "launcher/Tag.h"
#include "launcher/Tfrmprinc.h"
#include "support/FakePlatform.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

using namespace quorvel;
using quorvel::fakes::FakeInput;
using quorvel::fakes::FakePlatform;
using quorvel::fakes::Launcher;

namespace {

// Records the order in which elements are shown.
class ShowRecorder : public QObject
{
public:
    QStringList shown;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ShowToParent)
            shown.append(watched->objectName());
        return false;
    }
};

} // namespace

TEST(MainWindow, ElementsHaveTheirNamesGeometryAndTags)
{
    Launcher l({});
    EXPECT_EQ(l.window->windowTitle(), QStringLiteral(" Quorvel"));
    EXPECT_EQ(l.window->size(), QSize(861, 702));
    EXPECT_EQ(l.window->minimumSize(), l.window->maximumSize());

    const struct
    {
        const char* name;
        QRect geometry;
        int tag;
    } expected[] = {
        {"Panel3", {0, 0, 861, 702}, 1},       {"back", {-5, -40, 871, 649}, 1},
        {"img_ia", {612, 14, 83, 85}, 1},      {"shapesel", {0, 0, 154, 186}, 0},
        {"shapeselm", {276, 90, 325, 4}, 0},   {"p_face", {21, 145, 128, 128}, 1},
        {"img_face", {0, 0, 128, 128}, 1},     {"label_face", {21, 281, 130, 40}, 8},
        {"p_whats", {366, 145, 128, 128}, 1},  {"label_whats", {348, 281, 166, 40}, 10},
        {"img_tik", {0, 0, 128, 128}, 3},      {"label_tik", {520, 281, 166, 40}, 10},
        {"p_tele", {704, 145, 128, 128}, 1},   {"p_mkt", {366, 351, 128, 128}, 1},
        {"img_mkt", {0, 0, 128, 128}, 7},      {"label_mkt", {366, 487, 130, 40}, 14},
        {"label_lx", {536, 485, 130, 40}, 14}, {"label_contact", {704, 487, 145, 40}, 13},
        {"img_contact", {0, 0, 128, 128}, 6},  {"pfooter", {0, 533, 861, 169}, 0},
        {"Shape1", {0, 1, 862, 168}, 0},       {"Label2", {10, 12, 393, 20}, 0},
        {"img_fale", {103, 37, 203, 59}, 0},   {"Label4", {372, 12, 214, 20}, 0},
        {"img_comprar", {443, 32, 72, 65}, 0}, {"label3", {616, 12, 214, 20}, 0},
        {"img_videos", {693, 32, 60, 65}, 0},  {"labelad", {6, 110, 841, 31}, 0},
    };
    for (const auto& e : expected) {
        QWidget* widget = l.element(e.name);
        ASSERT_NE(widget, nullptr) << e.name;
        EXPECT_EQ(widget->geometry(), e.geometry) << e.name;
        EXPECT_EQ(tagOf(widget), e.tag) << e.name;
    }
    // The logo is centred beside img_ia in the window's outer width.
    const int outerWidth = l.window->frameGeometry().width();
    EXPECT_EQ(l.element("img_quor")->geometry(), QRect((outerWidth - 421 - 83 - 10) / 2, 14, 421, 99));
    EXPECT_EQ(l.element("img_face")->parentWidget(), l.element("p_face"));
    EXPECT_EQ(l.element("labelad")->parentWidget(), l.element("pfooter"));
    // The captions' texts and the loading panel come with the window's first appearance.
    auto* whats = qobject_cast<QLabel*>(l.element("label_whats"));
    EXPECT_TRUE(whats->text().isEmpty());
    EXPECT_TRUE(l.element("ploading")->isHidden());
    l.window->show();
    EXPECT_EQ(whats->text(), QStringLiteral("Quorvel Messages"));
    EXPECT_EQ(qobject_cast<QLabel*>(l.element("Label2"))->text(), QStringLiteral("Dúvidas ? Fale com a gente agora !"));
    EXPECT_EQ(qobject_cast<QLabel*>(l.element("label_loading"))->text(),
              QStringLiteral("Preparando algo incrível... "));
    EXPECT_TRUE(l.element("ploading")->isVisible());
    EXPECT_TRUE(qobject_cast<QLabel*>(l.element("labelad"))->text().isEmpty());
    // The artwork is compiled in, and nothing of it is decoded before it is shown.
    EXPECT_EQ(pictureSizeOf(qobject_cast<QLabel*>(l.element("img_face"))), QSize(128, 128));
    EXPECT_EQ(pictureSizeOf(qobject_cast<QLabel*>(l.element("back"))), QSize(436, 325));
    EXPECT_FALSE(pictureSizeOf(qobject_cast<QLabel*>(l.element("img_videos"))).isEmpty());
    EXPECT_TRUE(qtcompat::labelPixmap(qobject_cast<QLabel*>(l.element("img_face"))).isNull());

    // Nothing shows before the reveal, and the selection marks stay hidden after it.
    for (const char* name : {"Panel3", "back", "img_ia", "p_face", "img_face", "label_face", "shapesel", "shapeselm"})
        EXPECT_TRUE(l.element(name)->isHidden()) << name;
    // The frame stands behind the tiles and captions.
    const QObjectList siblings = l.element("Panel3")->children();
    EXPECT_LT(siblings.indexOf(l.element("shapesel")), siblings.indexOf(l.element("label_mkt")));
    EXPECT_LT(siblings.indexOf(l.element("shapesel")), siblings.indexOf(l.element("p_face")));
}

TEST(MainWindow, CreationReadsArgumentsEndsOtherCopiesAndStaysQuietWithoutShift)
{
    Launcher l({QStringLiteral("face"), QStringLiteral("a"), QStringLiteral("b c"), QStringLiteral("d")});
    const LauncherState& s = l.window->state();
    EXPECT_EQ(s.lang, QStringLiteral("por"));
    EXPECT_EQ(s.startSoft, QStringLiteral("face"));
    EXPECT_EQ(s.startParam2, QStringLiteral("a"));
    EXPECT_EQ(s.startParam3, QStringLiteral("\"b c\""));
    EXPECT_EQ(s.startParam4, QStringLiteral("d"));
    EXPECT_TRUE(s.showWhats);
    EXPECT_FALSE(s.debugMode);
    // Other launchers and their companion are ended; the window's own process and products are not.
    EXPECT_EQ(l.fake.processes.terminated, (std::vector<std::uint32_t>{200, 201}));
    EXPECT_FALSE(QFile::exists(l.dataHome.filePath(QStringLiteral("log.txt"))));

    Launcher bare({});
    EXPECT_EQ(bare.window->state().startParam3, QStringLiteral("\"\""));
    EXPECT_TRUE(bare.window->state().startSoft.isEmpty());
}

TEST(MainWindow, ShiftAtCreationSwitchesOnDebugMode)
{
    Launcher l({}, true);
    EXPECT_TRUE(l.window->state().debugMode);
    EXPECT_EQ(l.window->windowTitle(), QStringLiteral(" Quorvel (Debug)"));
    QFile file(l.dataHome.filePath(QStringLiteral("log.txt")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().endsWith(" Application start\r\n"));
}

TEST(MainWindow, RevealShowsTaggedElementsInComponentOrder)
{
    Launcher l({});
    l.window->show();
    ShowRecorder recorder;
    // On screen, showing Panel3 also shows its untagged children; the order checked is the tagged elements'.
    for (QWidget* component : l.window->components()) {
        if (tagOf(component) != 0)
            component->installEventFilter(&recorder);
    }

    l.window->tshowTimer();

    const QStringList expected =
        QStringLiteral(
            "Panel3 back label_mkt label_face label_contact label_insta label_tube label_sms label_tele label_whats "
            "label_tik label_lx img_ia p_face img_face p_insta img_insta p_tele img_tele p_tik img_tik p_whats "
            "img_whats "
            "p_sms img_sms p_tube img_tube p_mkt img_mkt p_contact img_contact p_lx img_lx")
            .split(u' ');
    EXPECT_EQ(recorder.shown, expected);
    EXPECT_TRUE(l.element("ploading")->isHidden());
    EXPECT_TRUE(l.element("shapesel")->isHidden());
    EXPECT_TRUE(l.element("img_tik")->isVisibleTo(l.window.get()));
    // Footer pictures take their pictures' natural widths; the logo is wide enough and does not grow.
    EXPECT_EQ(l.element("img_fale")->width(), pictureSizeOf(qobject_cast<QLabel*>(l.element("img_fale"))).width());
    EXPECT_EQ(l.element("img_quor")->width(), 421);
    EXPECT_TRUE(l.launched.isEmpty());
    // On screen, a revealed picture is decoded before it is painted.
    EXPECT_EQ(qtcompat::labelPixmap(qobject_cast<QLabel*>(l.element("img_face"))).size(), QSize(128, 128));
}

TEST(MainWindow, ArgumentDispatches)
{
    const struct
    {
        const char* argument;
        QStringList first;  // after the reveal
        QStringList second; // after the 4-second timer
    } cases[] = {
        {"FACE", {"img_face"}, {"img_face"}},
        {"twit", {"img_mkt"}, {}},
        {"mkt", {}, {"img_mkt"}},
        {"messages", {"img_whats"}, {"img_whats"}},
        {"whats", {}, {"img_whats"}},
        {"ia", {}, {"img_ia"}},
        {"nothing", {}, {}},
    };
    for (const auto& c : cases) {
        Launcher l({QLatin1StringView(c.argument)});
        l.window->tshowTimer();
        EXPECT_EQ(l.launched, c.first) << c.argument;
        l.launched.clear();
        l.window->tautoTimer();
        EXPECT_EQ(l.launched, c.second) << c.argument;
        EXPECT_FALSE(l.timer("tauto")->isActive());
    }
}

TEST(MainWindow, CloseTimerWaitsForTheDialog)
{
    Launcher l({});
    auto* dialog = new Tfrmdl({l.window->state(), l.fake.platform, l.input, l.log});
    l.window->state().frmdl = dialog;
    QTimer* tclose = l.timer("tclose");
    EXPECT_EQ(tclose->interval(), 2000);
    tclose->start();
    l.window->tcloseTimer();
    EXPECT_TRUE(tclose->isActive());

    delete dialog; // a closed dialog clears frmdl as it goes
    EXPECT_EQ(l.window->state().frmdl, nullptr);
    l.window->tcloseTimer();
    EXPECT_FALSE(tclose->isActive());
}

TEST(MainWindow, StartUpTimers)
{
    Launcher l({});
    const struct
    {
        const char* name;
        int interval;
    } timers[] = {{"Timer1", 100}, {"tshow", 100}, {"tauto", 4000}, {"Timer2", 500}, {"tclose", 2000}};
    for (const auto& t : timers)
        EXPECT_EQ(l.timer(t.name)->interval(), t.interval) << t.name;
}

TEST(MainWindow, ExecForwardsTheParametersAndHidesForFiles)
{
    Launcher l({QString(), QStringLiteral("a"), QStringLiteral("b c"), QStringLiteral("d")});
    l.window->show();
    l.window->exec(QStringLiteral("https://www.example.test/registrar"));
    EXPECT_TRUE(l.window->isVisible());
    l.window->exec(QDir::toNativeSeparators(QStringLiteral("/opt/Quorvel Face/quorface.exe")));
    EXPECT_FALSE(l.window->isVisible());
    ASSERT_EQ(l.fake.shell.opened.size(), 2);
    EXPECT_EQ(l.fake.shell.opened[1].second, QStringLiteral("a \"b c\" d"));
    // The running product was ended first.
    EXPECT_NE(std::find(l.fake.processes.terminated.begin(), l.fake.processes.terminated.end(), 300u),
              l.fake.processes.terminated.end());
}

TEST(MainWindow, CheckVrmArmsTheSelfUpdateFromAWorker)
{
    Launcher l({});
    QTimer* timer2 = l.timer("Timer2");
    const auto checkFromWorker = [&l](const char* version) {
        l.window->state().latest.set(VersionSlot::vrsMenu, QString::fromLatin1(version));
        std::thread worker([&l] { l.window->checkVrm(); });
        worker.join();
        QCoreApplication::processEvents();
    };
    checkFromWorker("1.77");
    EXPECT_FALSE(timer2->isActive());
    checkFromWorker("");
    EXPECT_FALSE(timer2->isActive());
    checkFromWorker("1.79");
    EXPECT_TRUE(timer2->isActive());
    EXPECT_EQ(timer2->interval(), 500);
}

TEST(MainWindow, TileClicksAndTheTileMenuReachTheDecision)
{
    Launcher l({});
    const auto click = [](QWidget* target, Qt::MouseButton button, QPoint at = {5, 5}) {
        QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), button, button, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), button, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
        QCoreApplication::processEvents();
    };
    click(l.element("label_face"), Qt::LeftButton);
    click(l.element("img_mkt"), Qt::LeftButton);
    click(l.element("img_quor"), Qt::LeftButton); // the logo is a link, not a tile
    EXPECT_EQ(l.launched, (QStringList{QStringLiteral("label_face"), QStringLiteral("img_mkt")}));

    // A press on one element released over another is no click.
    l.launched.clear();
    QWidget* face = l.element("img_face");
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(face->mapToGlobal(QPoint(5, 5))), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(face, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(l.element("img_tik"), &release);
    QCoreApplication::processEvents();
    EXPECT_TRUE(l.launched.isEmpty());

    auto* menu = l.window->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->objectName(), QStringLiteral("Atualizar1"));
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("Atualizar"));
    EXPECT_EQ(menu->actions()[1]->objectName(), QStringLiteral("Fechar1"));
    EXPECT_EQ(menu->actions()[1]->text(), QStringLiteral("Fechar"));
    menu->actions()[1]->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(l.launched, QStringList{QStringLiteral("Fechar1")});
}
