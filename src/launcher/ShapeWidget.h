#pragma once

#include <QColor>
#include <QWidget>

namespace quorvel {

// A filled rectangle with a border, for the selection frame, the logo bar and the footer background.
class ShapeWidget : public QWidget
{
    Q_OBJECT
public:
    ShapeWidget(const QColor& fill, const QColor& border, QWidget* parent = nullptr);

    QColor fillColor() const { return m_fill; }
    int penWidth() const { return m_penWidth; }
    void setPenWidth(int width);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_fill;
    QColor m_border;
    int m_penWidth = 1;
};

} // namespace quorvel
