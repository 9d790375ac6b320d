#pragma once

#include "platform/Folders.h"

namespace quorvel::platform {

// XDG data home for roaming data, $QUORVEL_PROGRAM_FILES (else /opt) for installed products, /proc/self/exe.
class LinuxFolders final : public Folders
{
public:
    QString roamingAppData() const override;
    QString programFiles() const override;
    QString ownExecutablePath() const override;
};

} // namespace quorvel::platform
