#include "launcher/ShapeWidget.h"

#include <QPainter>

namespace quorvel {

ShapeWidget::ShapeWidget(const QColor& fill, const QColor& border, QWidget* parent)
    : QWidget(parent), m_fill(fill), m_border(border)
{}

void ShapeWidget::setPenWidth(int width)
{
    m_penWidth = width;
    update();
}

void ShapeWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_border);
    const int inset = m_penWidth;
    painter.fillRect(rect().adjusted(inset, inset, -inset, -inset), m_fill);
}

} // namespace quorvel
