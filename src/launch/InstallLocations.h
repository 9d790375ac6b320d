#pragma once

#include <QString>

namespace quorvel {

namespace platform {
class Folders;
}

// Program Files as a 32-bit program sees it, without a trailing separator (empty when unavailable).
QString pfolder(const platform::Folders& folders);

// path.dat: the suite's shared list of program paths, one per line.
class PathDat
{
public:
    // The file lives in the data folder, or in an earlier folder of its path named "Quorvel" or "Zephranel".
    static QString location(const QString& appDataFolder);

    // The first line containing the display word (ASCII letters compared without case), unchanged; empty when
    // none. A failed lookup appends the launcher's own path as a new line, keeping the file's encoding and every
    // existing byte. Errors of any kind give an empty result and are not reported.
    static QString getExePath(const QString& displayWord, const QString& appDataFolder, const QString& ownExePath);
};

} // namespace quorvel
