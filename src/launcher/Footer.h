#pragma once

#include <QString>

class QObject;
class QWidget;

namespace quorvel {

struct LauncherState;
class TileGrid;

// The footer's links (support chat, licence, videos, advertisement) and the logo's link to the home page.
class Footer
{
public:
    Footer(QWidget& form, LauncherState& state, TileGrid& tileGrid);

    // The address a click on the element opens: empty when it opens nothing (no link, or no advertisement yet).
    QString clickTarget(const QObject* element) const;
    // Whether the element has a footer hover handler; hover() highlights its caption.
    static bool hasHover(const QObject* element);
    void hover(QObject* element);

    static QString supportChatAddress();
    static QString licenceAddress();
    static QString videoChannelAddress();
    static QString homePageAddress();

private:
    QWidget& m_form;
    LauncherState& m_state;
    TileGrid& m_tileGrid;
};

} // namespace quorvel
