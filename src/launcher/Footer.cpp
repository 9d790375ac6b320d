#include "launcher/Footer.h"

#include "common/LauncherState.h"
#include "common/QtCompat.h"
#include "common/VendorHost.h"
#include "launcher/TileGrid.h"

#include <QWidget>

namespace quorvel {

namespace {

// Which caption a footer element highlights on hover; Shape1 only clears.
QString hoverCaption(const QString& name)
{
    if (name == QLatin1StringView("img_fale") || name == QLatin1StringView("Label2"))
        return QStringLiteral("Label2");
    if (name == QLatin1StringView("img_comprar") || name == QLatin1StringView("Label4"))
        return QStringLiteral("Label4");
    if (name == QLatin1StringView("img_videos") || name == QLatin1StringView("label3"))
        return QStringLiteral("label3");
    return {};
}

} // namespace

Footer::Footer(QWidget& form, LauncherState& state, TileGrid& tileGrid)
    : m_form(form), m_state(state), m_tileGrid(tileGrid)
{}

QString Footer::supportChatAddress()
{
    return vendorAddress(QStringLiteral("/contato#chat"));
}

QString Footer::licenceAddress()
{
    return vendorAddress(QStringLiteral("/registrar"));
}

QString Footer::videoChannelAddress()
{
    return QStringLiteral("https://www.youtube.com/@quorvel");
}

QString Footer::homePageAddress()
{
    return vendorAddress(QString());
}

QString Footer::clickTarget(const QObject* element) const
{
    const QString name = element->objectName();
    if (name == QLatin1StringView("img_fale") || name == QLatin1StringView("Label2"))
        return supportChatAddress();
    if (name == QLatin1StringView("img_comprar") || name == QLatin1StringView("Label4"))
        return licenceAddress();
    if (name == QLatin1StringView("img_videos") || name == QLatin1StringView("label3"))
        return videoChannelAddress();
    if (name == QLatin1StringView("img_quor") || name == QLatin1StringView("img_ia"))
        return homePageAddress();
    if (name == QLatin1StringView("labelad"))
        return m_state.adLink.get(); // taken at click time: the advertisement may arrive late
    return {};
}

bool Footer::hasHover(const QObject* element)
{
    return element->objectName() == QLatin1StringView("Shape1") || !hoverCaption(element->objectName()).isEmpty();
}

void Footer::hover(QObject* element)
{
    m_tileGrid.resetLabels(element);
    const QString captionName = hoverCaption(element->objectName());
    if (captionName.isEmpty())
        return;
    QWidget* caption = m_form.findChild<QWidget*>(captionName);
    QFont font = caption->font();
    font.setUnderline(true);
    font.setPointSize(11);
    caption->setFont(font);
}

} // namespace quorvel
