#pragma once

#include <QString>
#include <cstdint>

namespace quorvel::platform {

// File operations whose meaning differs between systems.
class Files
{
public:
    virtual ~Files() = default;

    virtual bool exists(const QString& path) const = 0;
    // Size in bytes, -1 when the file cannot be read.
    virtual std::int64_t size(const QString& path) const = 0;
    // Deletion; failures are ignored.
    virtual void remove(const QString& path) = 0;
    // Lets the owner start the file as a program (a downloaded installer); a no-op where files need no such mark.
    virtual void makeExecutable(const QString& path) = 0;
};

} // namespace quorvel::platform
