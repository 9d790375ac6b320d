#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace quorvel::platform {

struct ProcessEntry
{
    std::uint32_t pid = 0;
    QString exeName; // file name only, no folder
};

// The running processes of the machine, as far as this user may see them.
class Processes
{
public:
    virtual ~Processes() = default;

    virtual std::vector<ProcessEntry> snapshot() const = 0;
    virtual std::uint32_t currentProcessId() const = 0;
    // Ends the process at once (exit code 0 where the system has one); failures are ignored.
    virtual void terminate(std::uint32_t pid) = 0;
};

} // namespace quorvel::platform
