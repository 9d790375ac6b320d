#include "platform/win32/Win32Shell.h"

#include <windows.h>

#include <shellapi.h>

namespace quorvel::platform {

void Win32Shell::open(const QString& target, const QString& parameters)
{
    if (target.isEmpty())
        return;
    const auto wide = [](const QString& text) { return reinterpret_cast<const wchar_t*>(text.utf16()); };
    // The window in front of the user owns whatever the shell shows (an error box, a security prompt).
    ShellExecuteW(GetActiveWindow(), L"open", wide(target), parameters.isEmpty() ? nullptr : wide(parameters), nullptr,
                  SW_SHOWNORMAL);
}

} // namespace quorvel::platform
