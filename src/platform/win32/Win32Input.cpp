#include "platform/NativeInput.h"
#include "platform/win32/ForegroundWindow.h"

#include <QCursor>

#include <windows.h>

namespace quorvel::platform {

namespace {

class Win32Input final : public Input
{
public:
    // The high bit says the key is down now, not when the last message was sent.
    bool isShiftDown() const override { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; }

    // Qt's positions are scaled for the monitor; QCursor turns them into the physical pixels of SetCursorPos.
    void setPointerPos(const QPoint& globalPos) override { QCursor::setPos(globalPos); }

    QString activeWindowCaption() const override { return foregroundWindowTitle(); }
};

} // namespace

Input& nativeInput()
{
    static Win32Input input;
    return input;
}

} // namespace quorvel::platform
