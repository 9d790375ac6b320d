#include "launcher/MainWindowLayout.h"

#include "common/QtCompat.h"
#include "launch/Catalogue.h"
#include "launcher/Artwork.h"
#include "launcher/LazyPicture.h"
#include "launcher/ShapeWidget.h"
#include "launcher/Tag.h"

#include <QLabel>
#include <QMovie>
#include <QWidget>
#include <array>

namespace quorvel {

namespace {

constexpr QColor kCaptionColor{0x46, 0x46, 0xFF};
constexpr QColor kFooterColor{0xD7, 0xD7, 0xD7};
constexpr QColor kFooterLinkColor{0x6C, 0x6C, 0xFF};
constexpr QColor kBorderGrey{0x66, 0x66, 0x66};
constexpr QColor kSelectionFill{0xBD, 0xB5, 0xB4};
constexpr QColor kBarGreen{0x4F, 0xA5, 0x61};
constexpr QColor kAdBlue{0x00, 0x00, 0xFF};

constexpr int kFooterTop = 533;
constexpr int kFooterHeight = 169;
constexpr int kTileSize = 128;
constexpr int kCaptionHeight = 40;

struct TilePlacement
{
    const char* suffix;
    QPoint panel;
    QRect caption;
};

// Positions at 100 % scaling, relative to Panel3.
constexpr std::array<TilePlacement, 10> kTiles{{
    {"face", {21, 145}, {21, 281, 130, kCaptionHeight}},
    {"insta", {193, 145}, {193, 281, 130, kCaptionHeight}},
    {"whats", {366, 145}, {348, 281, 166, kCaptionHeight}},
    {"tik", {538, 145}, {520, 281, 166, kCaptionHeight}},
    {"tele", {704, 145}, {704, 281, 130, kCaptionHeight}},
    {"sms", {21, 351}, {21, 487, 130, kCaptionHeight}},
    {"tube", {193, 351}, {193, 487, 130, kCaptionHeight}},
    {"mkt", {366, 351}, {366, 487, 130, kCaptionHeight}},
    {"lx", {538, 351}, {536, 485, 130, kCaptionHeight}},
    {"contact", {704, 351}, {704, 487, 145, kCaptionHeight}},
}};

// The component order of the window: captions first, then each tile's panel and image (the reveal shows them so).
constexpr std::array<const char*, 10> kCaptionOrder{"mkt", "face", "contact", "insta", "tube",
                                                    "sms", "tele", "whats",   "tik",   "lx"};
constexpr std::array<const char*, 10> kTileOrder{"face", "insta", "tele", "tik",     "whats",
                                                 "sms",  "tube",  "mkt",  "contact", "lx"};

const TilePlacement& placement(const char* suffix)
{
    for (const TilePlacement& tile : kTiles) {
        if (qstrcmp(tile.suffix, suffix) == 0)
            return tile;
    }
    Q_UNREACHABLE();
}

class Builder
{
public:
    template <typename Widget>
    Widget* add(Widget* widget, const QString& name, const QRect& geometry, int tag = 0)
    {
        widget->setObjectName(name);
        widget->setGeometry(geometry);
        setTag(widget, tag);
        if (tag != 0)
            widget->hide();
        m_elements.components.append(widget);
        return widget;
    }

    QLabel* picture(QWidget* parent, const QString& name, const QRect& geometry, const QString& resource, int tag = 0,
                    LazyPicture::Fit fit = LazyPicture::Fit::NaturalSize)
    {
        return add(new LazyPicture(resource, fit, parent), name, geometry, tag);
    }

    QLabel* caption(QWidget* parent, const QString& name, const QRect& geometry, const QString& text, int tag = 0)
    {
        auto* label = add(new QLabel(parent), name, geometry, tag);
        if (!text.isEmpty())
            m_elements.captionTexts.append({label, text});
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        return label;
    }

    QWidget* panel(QWidget* parent, const QString& name, const QRect& geometry, const QColor& colour, int tag = 0)
    {
        auto* widget = add(new QWidget(parent), name, geometry, tag);
        widget->setAutoFillBackground(true);
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, colour);
        widget->setPalette(palette);
        return widget;
    }

    MainWindowElements& elements() { return m_elements; }

private:
    MainWindowElements m_elements;
};

void setTextColour(QWidget* widget, const QColor& text, const QColor& background)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Window, background);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QFont tahomaPixels(int pixels)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixels);
    return font;
}

QFont tahomaPoints(int points)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(points);
    return font;
}

void buildFooter(Builder& b, QWidget* panel3)
{
    QWidget* footer = b.panel(panel3, QStringLiteral("pfooter"), {0, kFooterTop, 861, kFooterHeight}, kFooterColor);
    b.add(new ShapeWidget(kFooterColor, kBorderGrey, footer), QStringLiteral("Shape1"), {0, 1, 862, 149});

    const auto link = [&](const QString& name, const QRect& geometry, const QString& text) {
        QLabel* label = b.caption(footer, name, geometry, text);
        label->setWordWrap(false);
        label->setFont(tahomaPoints(10));
        setTextColour(label, kFooterLinkColor, kFooterColor);
        label->setCursor(Qt::PointingHandCursor);
    };
    const auto picture = [&](const QString& name, const QRect& geometry, const QString& resource) {
        b.picture(footer, name, geometry, resource)->setCursor(Qt::PointingHandCursor);
    };
    link(QStringLiteral("Label2"), {10, 12, 393, 20}, QStringLiteral("Dúvidas ? Fale com a gente agora !"));
    picture(QStringLiteral("img_fale"), {103, 37, 203, 59}, QStringLiteral(":/fale.jpg"));
    link(QStringLiteral("Label4"), {372, 12, 214, 20}, QStringLiteral("Comprar licença"));
    picture(QStringLiteral("img_comprar"), {443, 32, 72, 65}, QStringLiteral(":/comprar.jpg"));
    link(QStringLiteral("label3"), {616, 12, 214, 20}, QStringLiteral("Vídeos e tutoriais"));
    picture(QStringLiteral("img_videos"), {693, 32, 60, 65}, QStringLiteral(":/videos.jpg"));

    QLabel* ad = b.caption(footer, QStringLiteral("labelad"), {6, 110, 841, 31}, QString());
    QFont adFont = tahomaPixels(16);
    adFont.setUnderline(true);
    ad->setFont(adFont);
    setTextColour(ad, kAdBlue, kFooterColor);
    ad->setAutoFillBackground(false);
    ad->setCursor(Qt::PointingHandCursor);
}

void buildLoadingPanel(Builder& b, QWidget* form)
{
    // Lies outside the visible area; shown with the window, the reveal hides it.
    QWidget* loading = b.panel(form, QStringLiteral("ploading"), {900, 320, 260, 40}, Qt::white);
    loading->hide();
    b.elements().loadingPanel = loading;
    QLabel* spinner = b.add(new QLabel(loading), QStringLiteral("img_loading"), {4, 4, 32, 32});
    auto* movie = new QMovie(QStringLiteral(":/loading.gif"), QByteArray(), spinner);
    spinner->setMovie(movie);
    b.caption(loading, QStringLiteral("label_loading"), {40, 0, 220, 40},
              QStringLiteral("Preparando algo incrível... "))
        ->setWordWrap(false);
}

} // namespace

MainWindowElements buildMainWindowElements(QWidget* form)
{
    registerArtwork();
    Builder b;
    QWidget* panel3 = b.panel(form, QStringLiteral("Panel3"), {0, 0, 861, 702}, Qt::white, 1);

    b.picture(panel3, QStringLiteral("back"), {-5, -40, 871, 649}, QStringLiteral(":/background.jpg"), 1,
              LazyPicture::Fit::Stretched);

    // Behind the tile panels and captions, which are created after it.
    b.add(new ShapeWidget(kSelectionFill, kBorderGrey, panel3), QStringLiteral("shapesel"), {0, 0, 154, 186})->hide();

    for (const char* suffix : kCaptionOrder) {
        const CatalogueRow* row = catalogue::rowByTileSuffix(QString::fromLatin1(suffix));
        QLabel* label = b.caption(panel3, QStringLiteral("label_") + QLatin1StringView(suffix),
                                  placement(suffix).caption, QString(row->caption), row->captionTag);
        label->setFont(tahomaPixels(19));
        setTextColour(label, kCaptionColor, Qt::white);
        label->setCursor(Qt::PointingHandCursor);
    }

    b.picture(panel3, QStringLiteral("img_quor"), {185, 14, 421, 99}, QStringLiteral(":/logo.png"))
        ->setCursor(Qt::PointingHandCursor);
    b.picture(panel3, QStringLiteral("img_ia"), {612, 14, 83, 85}, QStringLiteral(":/ia.png"), 1)
        ->setCursor(Qt::PointingHandCursor);
    b.add(new ShapeWidget(kBarGreen, kBarGreen, panel3), QStringLiteral("shapeselm"), {276, 90, 325, 4})->hide();

    for (const char* suffix : kTileOrder) {
        const CatalogueRow* row = catalogue::rowByTileSuffix(QString::fromLatin1(suffix));
        const QString name = QLatin1StringView(suffix);
        QWidget* tilePanel =
            b.panel(panel3, QStringLiteral("p_") + name, {placement(suffix).panel, QSize(kTileSize, kTileSize)},
                    panel3->palette().color(QPalette::Button), catalogue::kTilePanelTag);
        b.picture(tilePanel, QStringLiteral("img_") + name, {0, 0, kTileSize, kTileSize},
                  QStringLiteral(":/tile_") + name + QStringLiteral(".png"), row->imageTag)
            ->setCursor(Qt::PointingHandCursor);
    }

    buildFooter(b, panel3);
    buildLoadingPanel(b, form);
    return std::move(b.elements());
}

void showOnScreenParts(MainWindowElements& elements)
{
    for (const auto& [label, text] : std::as_const(elements.captionTexts))
        label->setText(text);
    elements.captionTexts.clear();
    if (elements.loadingPanel)
        elements.loadingPanel->show();
    elements.loadingPanel = nullptr;
}

} // namespace quorvel
