#pragma once

#include "platform/Shell.h"

namespace quorvel::platform {

// Programs are started detached with Windows-style argument splitting; everything else goes to xdg-open.
class LinuxShell final : public Shell
{
public:
    void open(const QString& target, const QString& parameters) override;
};

} // namespace quorvel::platform
