#include "common/QtCompat.h"
#include "launcher/LauncherFixture.h"
#include "launcher/LazyPicture.h"
#include "launcher/ShapeWidget.h"
#include "launcher/Tag.h"
#include "platform/DesignFonts.h"
#include "support/QtPrinters.h"
#include "support/TempEnv.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <gtest/gtest.h>

using namespace quorvel;
using quorvel::fakes::Launcher;

namespace {

void press(QWidget* target, int key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void hover(QWidget* target)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), QPointF(target->mapToGlobal(QPoint(3, 3))), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

void click(QWidget* target)
{
    const QPoint at(3, 3);
    QMouseEvent down(QEvent::MouseButtonPress, at, QPointF(target->mapToGlobal(at)), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QMouseEvent up(QEvent::MouseButtonRelease, at, QPointF(target->mapToGlobal(at)), Qt::LeftButton, Qt::NoButton,
                   Qt::NoModifier);
    QApplication::sendEvent(target, &down);
    QApplication::sendEvent(target, &up);
    QCoreApplication::processEvents();
}

bool underlined(QWidget* caption)
{
    return caption->font().underline();
}

} // namespace

TEST(TileGrid, KeyboardWalk)
{
    const struct
    {
        const char* from; // selected by the mouse first; empty: nothing selected
        int key;
        const char* to;
    } walk[] = {
        {"", Qt::Key_Left, "face"},         {"", Qt::Key_Right, "face"},       {"", Qt::Key_Up, "face"},
        {"", Qt::Key_Down, "face"},         {"face", Qt::Key_Left, "mkt"},     {"face", Qt::Key_Up, "face"},
        {"face", Qt::Key_Down, "whats"},    {"face", Qt::Key_Right, "insta"},  {"whats", Qt::Key_Down, "face"},
        {"mkt", Qt::Key_Right, "face"},     {"lx", Qt::Key_Right, "face"},     {"lx", Qt::Key_Left, "mkt"},
        {"contact", Qt::Key_Right, "face"}, {"contact", Qt::Key_Left, "face"}, {"contact", Qt::Key_Up, "sms"},
        {"insta", Qt::Key_Up, "face"},      {"tube", Qt::Key_Up, "tele"},      {"tele", Qt::Key_Left, "insta"},
    };
    for (const auto& step : walk) {
        Launcher l({});
        if (*step.from)
            hover(l.element((std::string("img_") + step.from).c_str()));
        press(l.window.get(), step.key);
        const QString to = QString::fromLatin1(step.to);
        EXPECT_EQ(l.window->state().currentSoft, to) << step.from << " key " << step.key;
        // The frame sits on the selected tile and the pointer was moved into it.
        QWidget* panel = l.element(("p_" + to.toStdString()).c_str());
        QWidget* frame = l.element("shapesel");
        EXPECT_EQ(frame->pos(), panel->pos() - QPoint(11, 10)) << step.to;
        EXPECT_FALSE(frame->isHidden());
        EXPECT_TRUE(underlined(l.element(("label_" + to.toStdString()).c_str())));
        // The pointer follows a selection the keys changed.
        if (qstrcmp(step.from, step.to) != 0) {
            ASSERT_EQ(l.input.pointerMoves.size(), 1) << step.from << " key " << step.key;
            EXPECT_EQ(l.input.pointerMoves.last(), frame->mapToGlobal(QPoint(10, 10)));
        } else {
            EXPECT_TRUE(l.input.pointerMoves.isEmpty());
        }
    }
}

TEST(TileGrid, HoverSelectsAndClears)
{
    Launcher l({});
    l.window->tshowTimer();
    QWidget* frame = l.element("shapesel");
    auto* facePanel = l.element("p_face");

    hover(l.element("img_face"));
    EXPECT_EQ(l.window->state().currentSoft, QStringLiteral("face"));
    EXPECT_EQ(facePanel->palette().color(QPalette::Window), QColor(0xBD, 0xB5, 0xB4));
    const QPoint framePos = frame->pos();

    // From the image to its own caption: reset and selected again, the frame ends where it was.
    hover(l.element("label_face"));
    EXPECT_EQ(l.window->state().currentSoft, QStringLiteral("face"));
    EXPECT_EQ(frame->pos(), framePos);
    EXPECT_TRUE(underlined(l.element("label_face")));
    EXPECT_TRUE(l.input.pointerMoves.isEmpty()); // the mouse is never moved for a mouse selection

    // The caption of the mkt tile selects the mkt suffix.
    hover(l.element("label_mkt"));
    EXPECT_EQ(l.window->state().currentSoft, QStringLiteral("mkt"));
    EXPECT_FALSE(underlined(l.element("label_face")));
    EXPECT_NE(facePanel->palette().color(QPalette::Window), QColor(0xBD, 0xB5, 0xB4));

    // The logo shows its bar and selects no tile, so Enter does nothing.
    hover(l.element("img_quor"));
    EXPECT_TRUE(l.window->state().currentSoft.isEmpty());
    EXPECT_TRUE(frame->isHidden());
    EXPECT_FALSE(l.element("shapeselm")->isHidden());
    press(l.window.get(), Qt::Key_Return);
    EXPECT_TRUE(l.launched.isEmpty());

    // The background clears everything.
    hover(l.element("img_tube"));
    hover(l.element("back"));
    EXPECT_TRUE(l.window->state().currentSoft.isEmpty());
    EXPECT_TRUE(frame->isHidden());
    EXPECT_FALSE(underlined(l.element("label_tube")));

    hover(l.element("img_tik"));
    press(l.window.get(), Qt::Key_Enter);
    EXPECT_EQ(l.launched, QStringList{QStringLiteral("img_tik")});
}

TEST(TileGrid, FooterHoverAndLinks)
{
    TempEnv host("QUORVEL_HOST", "vendor.test:8443");
    Launcher l({});
    l.window->tshowTimer();
    QWidget* label2 = l.element("Label2");

    hover(l.element("img_fale"));
    EXPECT_TRUE(underlined(label2));
    EXPECT_EQ(label2->font().pointSize(), 11);
    // The advertisement line has no hover of its own: the highlight stays until another element is reached.
    hover(l.element("labelad"));
    EXPECT_TRUE(underlined(label2));
    hover(l.element("Shape1"));
    EXPECT_FALSE(underlined(label2));
    EXPECT_EQ(label2->font().pointSize(), 10);
    hover(l.element("img_videos"));
    EXPECT_TRUE(underlined(l.element("label3")));

    click(l.element("labelad")); // no advertisement yet: nothing opens
    for (const char* name :
         {"Label2", "img_fale", "Label4", "img_comprar", "label3", "img_videos", "img_quor", "img_ia", "Shape1"})
        click(l.element(name));
    l.window->state().adLink.set(QStringLiteral("https://vendor.test/oferta"));
    click(l.element("labelad"));

    QStringList opened;
    for (const auto& [target, parameters] : l.fake.shell.opened) {
        opened.append(target);
        EXPECT_EQ(parameters, QStringLiteral(" \"\"")); // the forwarded parameters go along
    }
    EXPECT_EQ(opened,
              QStringList({"https://vendor.test:8443/contato#chat", "https://vendor.test:8443/contato#chat",
                           "https://vendor.test:8443/registrar", "https://vendor.test:8443/registrar",
                           "https://www.youtube.com/@quorvel", "https://www.youtube.com/@quorvel",
                           "https://vendor.test:8443", "https://vendor.test:8443", "https://vendor.test/oferta"}));
    EXPECT_TRUE(l.launched.isEmpty());
}

TEST(TileGrid, MessagesTileHidesAndComesBackWithZ)
{
    Launcher l({});
    QWidget* faceImage = l.element("img_face");
    const int faceX = faceImage->x();

    // Z does nothing while the tile is visible.
    l.window->tshowTimer();
    press(l.window.get(), Qt::Key_Z);
    EXPECT_TRUE(l.launched.isEmpty());

    Launcher hidden({});
    hidden.window->state().showWhats = false; // the version answer came before the reveal
    hidden.window->tshowTimer();
    EXPECT_TRUE(hidden.element("img_whats")->isHidden());
    EXPECT_TRUE(hidden.element("label_whats")->isHidden());
    EXPECT_EQ(tagOf(hidden.element("img_whats")), 0);
    EXPECT_EQ(hidden.element("img_face")->x(), faceX + 85);
    EXPECT_EQ(hidden.element("label_tele")->x(), 704 + 85);
    EXPECT_EQ(hidden.element("p_face")->x(), 21); // panels stay

    press(hidden.window.get(), Qt::Key_Z);
    EXPECT_FALSE(hidden.element("img_whats")->isHidden());
    EXPECT_EQ(hidden.element("img_face")->x(), faceX);
    EXPECT_EQ(hidden.launched, QStringList{QStringLiteral("img_whats")});
    EXPECT_EQ(tagOf(hidden.element("label_whats")), 0);

    // Installed Messages stays visible whatever the answer said.
    Launcher installed({});
    installed.fake.files.present[installed.fake.folders.programFilesFolder +
                                 QDir::toNativeSeparators(QStringLiteral("/Quorvel Whats/quorwhat.exe"))] = 1;
    installed.window->state().showWhats = false;
    installed.window->tshowTimer();
    EXPECT_FALSE(installed.element("img_whats")->isHidden());
    EXPECT_EQ(installed.element("img_face")->x(), faceX);
}

TEST(TileGrid, ScaledFramesCentreTheirPictures)
{
    Launcher l({});
    TileGrid& grid = l.window->tileGrid();
    grid.centraliza(); // at 100 % nothing moves
    EXPECT_EQ(l.element("img_face")->x(), 0);
    EXPECT_EQ(l.element("p_face")->width(), 128);

    l.element("shapesel")->resize(193, 233);
    const int logoX = l.element("img_quor")->x();
    const int faleX = l.element("img_fale")->x();
    grid.centraliza();
    for (const char* tile : {"face", "insta", "whats", "tik", "tele", "sms", "tube", "mkt", "lx", "contact"}) {
        EXPECT_EQ(l.element((std::string("img_") + tile).c_str())->x(), 21) << tile;
        EXPECT_EQ(l.element((std::string("p_") + tile).c_str())->width(), 128 + 16) << tile;
    }
    // Every picture named img_ moves, the logo and the footer pictures too, and takes its picture's width.
    EXPECT_EQ(l.element("img_quor")->x(), logoX + 21);
    EXPECT_EQ(l.element("img_quor")->width(), pictureSizeOf(qobject_cast<QLabel*>(l.element("img_quor"))).width());
    EXPECT_EQ(l.element("img_fale")->x(), faleX + 21);
}

TEST(TileGrid, ScaleFactorAndTheBarAt125)
{
    Launcher l({});
    TileGrid& grid = l.window->tileGrid();
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    EXPECT_EQ(grid.scaleFactor(), QStringLiteral("1"));
    QWidget* bar = l.element("shapeselm");
    grid.adjustBarAt125();
    EXPECT_EQ(bar->x(), 276);

    l.element("pfooter")->resize(1076, 211);
    EXPECT_EQ(grid.scaleFactor(), QStringLiteral("1,25"));
    grid.adjustBarAt125();
    EXPECT_EQ(bar->x(), l.element("img_quor")->x() + 5);

    // With a decimal point the text is 1.25 and nothing moves.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    bar->move(276, bar->y());
    EXPECT_EQ(grid.scaleFactor(), QStringLiteral("1.25"));
    grid.adjustBarAt125();
    EXPECT_EQ(bar->x(), 276);
    QLocale::setDefault(saved);
}

// A caption that wraps past its 40-pixel label loses its second line's bottom; one wider than its label loses its
// ends. Judged on the label as drawn, at 100 % and at 200 %, in the font the window is designed in.
TEST(TileGrid, CaptionsFitTheirLabelsAt100And200Percent)
{
    platform::provideDesignFonts();
    Launcher launcher({});
    launcher.window->show(); // the captions take their texts on screen
    const char* captions[] = {"label_face", "label_insta", "label_whats", "label_tik", "label_tele",
                              "label_sms",  "label_tube",  "label_mkt",   "label_lx",  "label_contact"};
    for (const char* name : captions) {
        auto* label = qobject_cast<QLabel*>(launcher.element(name));
        ASSERT_NE(label, nullptr) << name;
        const QRect laidOut = label->fontMetrics().boundingRect(
            QRect(QPoint(), label->size()), int(label->alignment()) | Qt::TextWordWrap, label->text());
        EXPECT_LE(laidOut.height(), label->height()) << name << " wraps past its label: " << laidOut.height();
        for (const int scale : {1, 2}) {
            QImage drawn(label->size() * scale, QImage::Format_RGB32);
            drawn.setDevicePixelRatio(scale);
            label->render(&drawn);
            const QRgb background = drawn.pixel(0, 0);
            int inked = 0;
            bool edgeInked = false;
            for (int y = 0; y < drawn.height(); ++y) {
                for (int x = 0; x < drawn.width(); ++x) {
                    if (drawn.pixel(x, y) == background)
                        continue;
                    ++inked;
                    edgeInked |= x == 0 || y == 0 || x == drawn.width() - 1 || y == drawn.height() - 1;
                }
            }
            EXPECT_GT(inked, 0) << name << " draws nothing at " << scale * 100 << " %";
            EXPECT_FALSE(edgeInked) << name << " is cut at its label's edge at " << scale * 100 << " %";
        }
    }
}
