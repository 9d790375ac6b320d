#pragma once

#include <QString>

namespace quorvel::platform {

// The special folders of the user's session.
class Folders
{
public:
    virtual ~Folders() = default;

    // The roaming per-user application-data folder as the system gives it (it may end with a separator).
    virtual QString roamingAppData() const = 0;
    // Program Files as a 32-bit program sees it, without a trailing separator; empty when unavailable.
    virtual QString programFiles() const = 0;
    // Full path of the running executable.
    virtual QString ownExecutablePath() const = 0;
};

} // namespace quorvel::platform
