#pragma once

namespace quorvel {

// The running launcher's own version text ("1.78"). Every launcher program links a definition built with its
// version (cmake/QuorvelLauncher.cmake); the library quorvel_launcher_version holds the project's version for
// everything else that links the core, such as the tests.
extern const char kLauncherVersion[];

} // namespace quorvel
