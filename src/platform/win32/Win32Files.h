#pragma once

#include "platform/Files.h"

namespace quorvel::platform {

class Win32Files final : public Files
{
public:
    bool exists(const QString& path) const override;
    std::int64_t size(const QString& path) const override;
    void remove(const QString& path) override;
    // Windows starts a program by its name; there is no mark to set.
    void makeExecutable(const QString&) override {}
};

} // namespace quorvel::platform
