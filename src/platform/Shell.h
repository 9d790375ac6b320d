#pragma once

#include <QString>

namespace quorvel::platform {

// The system's "open" of a file or a web address, as a user's double-click would do it.
class Shell
{
public:
    virtual ~Shell() = default;

    // A target containing "://" goes to the default browser; a program is started with the parameter text,
    // which follows the Windows command-line quoting rules. Nothing is waited for and failures are ignored.
    virtual void open(const QString& target, const QString& parameters) = 0;
};

} // namespace quorvel::platform
