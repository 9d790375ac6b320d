#pragma once

#include <QString>

namespace quorvel {

// The version text an installed product file carries: the FileVersion string of a Windows executable's version
// resource, or the "version" of an ELF file's package metadata note. Empty for any other file, a file without one,
// a missing or unreadable path, and malformed data. Reads only the ranges it needs, so large files cost little.
QString fileVersion(const QString& path);

} // namespace quorvel
