#include "launcher/TileGrid.h"

#include "common/LauncherState.h"
#include "common/QtCompat.h"
#include "launch/Catalogue.h"
#include "launch/InstallLocations.h"
#include "launcher/LazyPicture.h"
#include "launcher/ShapeWidget.h"
#include "launcher/Tag.h"
#include "platform/Files.h"
#include "platform/Input.h"

#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QWidget>
#include <array>

namespace quorvel {

namespace {

constexpr int kDesignedFrameWidth = 154;
constexpr int kDesignedFooterWidth = 861;
constexpr int kMessagesShift = 85;
constexpr int kFrameAbovePanel = 10;
constexpr int kFrameLeftOfPanel = 11;
constexpr QPoint kPointerIntoFrame{10, 10};

// Keyboard order; only the first eight can be reached with the arrows.
constexpr std::array<const char*, 10> kKeyboardOrder{"face", "insta", "tele", "tik", "whats",
                                                     "sms",  "tube",  "mkt",  "lx",  "contact"};
constexpr int kReachableTiles = 8;

// Order in which the highlights are cleared.
constexpr std::array<const char*, 10> kResetOrder{"face", "insta",   "whats", "tele", "sms",
                                                  "tube", "contact", "mkt",   "tik",  "lx"};

// The six elements that move aside when the Messages tile is hidden.
constexpr std::array<const char*, 6> kShiftedByMessages{"label_face", "img_face",   "label_insta",
                                                        "img_insta",  "label_tele", "img_tele"};

void setColour(QWidget* panel, const QColor& colour)
{
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, colour);
    panel->setPalette(palette);
}

void setFooterCaption(QWidget* caption)
{
    QFont font = caption->font();
    font.setPointSize(10);
    font.setUnderline(false);
    font.setBold(false);
    font.setItalic(false);
    font.setStrikeOut(false);
    caption->setFont(font);
}

} // namespace

TileGrid::TileGrid(Services services) : m_services(services) {}

QWidget* TileGrid::element(const QString& name) const
{
    return m_services.form.findChild<QWidget*>(name);
}

void TileGrid::centerLogo()
{
    QWidget* logo = element(QStringLiteral("img_quor"));
    const QWidget* ia = element(QStringLiteral("img_ia"));
    logo->move((m_services.form.frameGeometry().width() - logo->width() - ia->width() - 10) / 2, logo->y());
}

void TileGrid::centraliza()
{
    const int frameWidth = element(QStringLiteral("shapesel"))->width();
    const int d = (frameWidth - kDesignedFrameWidth) / 2 + 2;
    if (frameWidth <= kDesignedFrameWidth)
        return;
    // Pictures keep their own size inside scaled frames; this puts them back in the middle.
    for (QLabel* image : m_services.form.findChildren<QLabel*>()) {
        const QString name = image->objectName();
        if (!name.startsWith(QLatin1StringView("img_")))
            continue;
        if (QWidget* panel = element(QStringLiteral("p_") + name.mid(4)))
            panel->resize(panel->width() + d - 5, panel->height());
        image->move(image->x() + d, image->y());
        const QSize picture = pictureSizeOf(image);
        if (!picture.isEmpty())
            image->resize(picture.width(), image->height());
    }
}

QString TileGrid::scaleFactor() const
{
    // Whole percent, as display settings offer them: 1076 of 861 pixels is 125 %.
    const int percent = qRound(element(QStringLiteral("pfooter"))->width() * 100.0 / kDesignedFooterWidth);
    return QLocale().toString(percent / 100.0, 'g', 6);
}

void TileGrid::adjustBarAt125()
{
    if (scaleFactor() != QLatin1StringView("1,25"))
        return;
    QWidget* bar = element(QStringLiteral("shapeselm"));
    bar->move(element(QStringLiteral("img_quor"))->x() + 5, bar->y());
}

void TileGrid::dshz(bool ent)
{
    QWidget* image = element(QStringLiteral("img_whats"));
    QWidget* caption = element(QStringLiteral("label_whats"));
    const auto shiftSix = [this](int dx) {
        for (const char* name : kShiftedByMessages) {
            QWidget* widget = element(QLatin1StringView(name));
            widget->move(widget->x() + dx, widget->y());
        }
    };
    if (!ent) {
        const QString messages = catalogue::installPath(*catalogue::rowByKey(u"whats"), pfolder(m_services.folders));
        if (m_services.files.exists(messages))
            return;
        image->hide();
        caption->hide();
        setTag(image, 0);
        setTag(caption, 0);
        shiftSix(kMessagesShift);
        return;
    }
    if (!image->isHidden())
        return;
    shiftSix(-kMessagesShift);
    image->show();
    caption->show();
}

namespace {
class CountedScope
{
public:
    explicit CountedScope(int& counter) : m_counter(counter) { ++m_counter; }
    ~CountedScope() { --m_counter; }
    CountedScope(const CountedScope&) = delete;
    CountedScope& operator=(const CountedScope&) = delete;

private:
    int& m_counter;
};
} // namespace

void TileGrid::resetLabels(QObject* sender)
{
    LauncherState& state = m_services.state;
    if (sender == state.lastHover)
        return;
    const CountedScope changing(m_changingSelection);
    for (const char* suffix : kResetOrder) {
        QWidget* caption = element(QStringLiteral("label_") + QLatin1StringView(suffix));
        QFont font = caption->font();
        font.setUnderline(false);
        font.setBold(false);
        font.setItalic(false);
        font.setStrikeOut(false);
        caption->setFont(font);
    }
    const QColor buttonFace = m_services.form.palette().color(QPalette::Button);
    for (const char* suffix : kResetOrder)
        setColour(element(QStringLiteral("p_") + QLatin1StringView(suffix)), buttonFace);
    for (const char* name : {"Label2", "label3", "Label4"})
        setFooterCaption(element(QLatin1StringView(name)));
    element(QStringLiteral("shapesel"))->hide();
    element(QStringLiteral("shapeselm"))->hide();
    state.currentSoft.clear();
    state.lastHover = sender;
}

void TileGrid::focusSoft(QObject* sender, bool moveMouse)
{
    LauncherState& state = m_services.state;
    if (!sender || sender == state.lastHover)
        return;
    const CountedScope changing(m_changingSelection);
    resetLabels(sender);
    const QString name = sender->objectName();
    auto* frame = static_cast<ShapeWidget*>(element(QStringLiteral("shapesel")));
    QWidget* bar = element(QStringLiteral("shapeselm"));
    if (name == QLatin1StringView("img_quor")) {
        frame->hide();
        bar->show();
        return;
    }
    bar->hide();
    frame->show();

    const QString key = name.mid(name.indexOf(u'_') + 1);
    const bool changed = key != state.currentSoft;
    state.currentSoft = key;

    QString base = asciiLower(name);
    base.remove(QLatin1StringView("label_")).remove(QLatin1StringView("img_"));
    QWidget* caption = element(QStringLiteral("label_") + base);
    if (!caption)
        return;
    QFont font = caption->font();
    font.setUnderline(true);
    caption->setFont(font);

    QWidget* panel = element(QStringLiteral("p_") + base);
    if (panel->palette().color(QPalette::Window) != frame->fillColor())
        setColour(panel, frame->fillColor());

    const QPoint target(panel->x() - kFrameLeftOfPanel, panel->y() - kFrameAbovePanel);
    if (frame->pos() != target) {
        frame->setPenWidth(1);
        frame->move(target);
    }
    frame->show();
    // The pointer follows a keyboard selection, so the next mouse move does not undo it.
    if (moveMouse && changed)
        m_services.input.setPointerPos(frame->mapToGlobal(kPointerIntoFrame));
    state.lastHover = sender;
}

void TileGrid::setSoft(int n)
{
    const QString& current = m_services.state.currentSoft;
    int index = 1;
    if (!current.isEmpty()) {
        int position = 0; // a selection outside the keyboard order counts from before its start
        for (int i = 0; i < static_cast<int>(kKeyboardOrder.size()); ++i) {
            if (current == QLatin1StringView(kKeyboardOrder[i]))
                position = i + 1;
        }
        index = position + n;
    }
    if (index == 0)
        index = kReachableTiles;
    else if (index < 0 || index > kReachableTiles)
        index = 1;
    focusSoft(element(QStringLiteral("img_") + QLatin1StringView(kKeyboardOrder[index - 1])), true);
}

} // namespace quorvel
