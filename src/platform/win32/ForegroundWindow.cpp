#include "platform/win32/ForegroundWindow.h"

#include <windows.h>

namespace quorvel::platform {

QString foregroundWindowTitle()
{
    HWND window = GetForegroundWindow();
    if (!window)
        return {};
    wchar_t title[1024] = {};
    const int length = GetWindowTextW(window, title, int(std::size(title)));
    return length > 0 ? QString::fromWCharArray(title, length) : QString();
}

} // namespace quorvel::platform
