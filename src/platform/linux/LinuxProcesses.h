#pragma once

#include "platform/Processes.h"

namespace quorvel::platform {

// Reads /proc; processes this user may not inspect are passed over.
class LinuxProcesses final : public Processes
{
public:
    std::vector<ProcessEntry> snapshot() const override;
    std::uint32_t currentProcessId() const override;
    void terminate(std::uint32_t pid) override;
};

} // namespace quorvel::platform
