#include "platform/Platform.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Folders.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Shell.h"

namespace quorvel::platform {

Platform& nativePlatform()
{
    static Win32Folders folders;
    static Win32Processes processes;
    static Win32Shell shell;
    static Win32Files files;
    static Platform platform{folders, processes, shell, files};
    return platform;
}

} // namespace quorvel::platform
