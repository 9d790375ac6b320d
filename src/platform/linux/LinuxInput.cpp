#include "platform/NativeInput.h"
#include "platform/linux/ForegroundWindow.h"

#include <QCursor>
#include <QGuiApplication>

namespace quorvel::platform {

namespace {

class LinuxInput final : public Input
{
public:
    bool isShiftDown() const override
    {
        // queryKeyboardModifiers asks the X server now; keyboardModifiers() would give the state of the last event.
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return false;
        return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
    }

    void setPointerPos(const QPoint& globalPos) override { QCursor::setPos(globalPos); }

    QString activeWindowCaption() const override { return foregroundWindowTitle(); }
};

} // namespace

Input& nativeInput()
{
    static LinuxInput input;
    return input;
}

} // namespace quorvel::platform
