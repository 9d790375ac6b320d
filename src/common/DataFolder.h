#pragma once

#include <QString>

namespace quorvel {

namespace platform {
class Folders;
}

// The per-user data folder: downloads, the extracted installer, path.dat and log.txt live here. Created (one level)
// when missing; a failure to create it is ignored and the path returned all the same.
QString appDataFolder(const platform::Folders& folders);

} // namespace quorvel
