#pragma once

#include "platform/Folders.h"

namespace quorvel::platform {

class Win32Folders final : public Folders
{
public:
    QString roamingAppData() const override;
    QString programFiles() const override;
    QString ownExecutablePath() const override;
};

} // namespace quorvel::platform
