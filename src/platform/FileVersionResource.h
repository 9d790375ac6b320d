#pragma once

#include <QString>
#include <optional>

namespace quorvel::platform {

// The FileVersion text of a file's version resource as the system reads it (its first translation only); empty
// when the file has none. Nothing where the system has no such reader: the caller then reads the file itself.
std::optional<QString> systemFileVersion(const QString& path);

} // namespace quorvel::platform
