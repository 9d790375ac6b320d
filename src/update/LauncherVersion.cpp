#include "update/LauncherVersion.h"

#ifndef QUORVEL_LAUNCHER_VERSION
#error "QUORVEL_LAUNCHER_VERSION names the launcher's version text"
#endif

namespace quorvel {

const char kLauncherVersion[] = QUORVEL_LAUNCHER_VERSION;

} // namespace quorvel
