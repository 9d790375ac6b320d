#pragma once

#include "platform/Processes.h"

namespace quorvel::platform {

// The Toolhelp snapshot; processes that cannot be opened for termination keep running.
class Win32Processes final : public Processes
{
public:
    std::vector<ProcessEntry> snapshot() const override;
    std::uint32_t currentProcessId() const override;
    void terminate(std::uint32_t pid) override;
};

} // namespace quorvel::platform
