#include "launcher/LazyPicture.h"

#include "common/QtCompat.h"

#include <QImageReader>
#include <QPainter>

namespace quorvel {

LazyPicture::LazyPicture(const QString& resource, Fit fit, QWidget* parent)
    : QLabel(parent), m_resource(resource), m_fit(fit)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

QSize LazyPicture::pictureSize() const
{
    if (m_decoded)
        return m_fit == Fit::Stretched ? m_stretched.size() : qtcompat::labelPixmap(this).size();
    return QImageReader(m_resource).size();
}

void LazyPicture::ensureDecoded()
{
    if (m_decoded)
        return;
    m_decoded = true;
    if (m_fit == Fit::Stretched) {
        m_stretched = QPixmap(m_resource);
        update();
    } else {
        setPixmap(QPixmap(m_resource));
    }
}

void LazyPicture::showEvent(QShowEvent* event)
{
    // Before its first paint: the reveal shows an element, then paints the window.
    ensureDecoded();
    QLabel::showEvent(event);
}

void LazyPicture::paintEvent(QPaintEvent* event)
{
    if (m_fit != Fit::Stretched || m_stretched.isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_stretched);
}

QSize pictureSizeOf(const QLabel* element)
{
    if (const auto* picture = dynamic_cast<const LazyPicture*>(element))
        return picture->pictureSize();
    return qtcompat::labelPixmap(element).size();
}

} // namespace quorvel
