#include "platform/Platform.h"
#include "platform/linux/LinuxFiles.h"
#include "platform/linux/LinuxFolders.h"
#include "platform/linux/LinuxProcesses.h"
#include "platform/linux/LinuxShell.h"

namespace quorvel::platform {

Platform& nativePlatform()
{
    static LinuxFolders folders;
    static LinuxProcesses processes;
    static LinuxShell shell;
    static LinuxFiles files;
    static Platform platform{folders, processes, shell, files};
    return platform;
}

} // namespace quorvel::platform
