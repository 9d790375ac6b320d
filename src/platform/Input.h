#pragma once

#include <QPoint>
#include <QString>

namespace quorvel::platform {

// Keyboard and pointer state of the user's session. Needs a GUI application.
class Input
{
public:
    virtual ~Input() = default;

    // Whether Shift is held at this instant (not when the last event arrived); false without a display.
    virtual bool isShiftDown() const = 0;
    // Moves the mouse pointer to a position in global screen coordinates.
    virtual void setPointerPos(const QPoint& globalPos) = 0;
    // The title of the window in the foreground, whichever program it belongs to; empty when there is none.
    virtual QString activeWindowCaption() const = 0;
};

} // namespace quorvel::platform
