#pragma once

#include <QLabel>
#include <QPixmap>
#include <QString>

namespace quorvel {

// A picture element that decodes its picture when it is first shown rather than when the window is built: nothing
// of it is drawn before the reveal, and the window maps without waiting for the decoders. Stretched pictures are
// drawn scaled at paint time, so only the (small) source stays in memory, without the label's scaled copies.
class LazyPicture : public QLabel
{
public:
    enum class Fit
    {
        NaturalSize,
        Stretched
    };

    LazyPicture(const QString& resource, Fit fit, QWidget* parent);

    // The picture's own size, read from its header while it is not yet decoded.
    QSize pictureSize() const;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ensureDecoded();

    QString m_resource;
    Fit m_fit;
    bool m_decoded = false;
    QPixmap m_stretched; // the source of a stretched picture, drawn by paintEvent
};

// The size of the picture a picture element shows (its header's for one not yet decoded); empty for none.
QSize pictureSizeOf(const QLabel* element);

} // namespace quorvel
