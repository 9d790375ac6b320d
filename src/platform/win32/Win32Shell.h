#pragma once

#include "platform/Shell.h"

namespace quorvel::platform {

// ShellExecuteW "open": Windows itself splits the parameter text and picks the browser for a web address.
class Win32Shell final : public Shell
{
public:
    void open(const QString& target, const QString& parameters) override;
};

} // namespace quorvel::platform
