#include "platform/FileVersionResource.h"

namespace quorvel::platform {

std::optional<QString> systemFileVersion(const QString&)
{
    // Linux has no version resources: the launcher's own portable reader takes PE and ELF files.
    return std::nullopt;
}

} // namespace quorvel::platform
