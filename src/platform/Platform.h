#pragma once

#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/Processes.h"
#include "platform/Shell.h"

namespace quorvel::platform {

// The operating-system services the launcher's logic uses. Production code gets the native set; tests build one
// from fakes.
struct Platform
{
    Folders& folders;
    Processes& processes;
    Shell& shell;
    Files& files;
};

Platform& nativePlatform();

} // namespace quorvel::platform
