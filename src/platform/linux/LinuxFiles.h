#pragma once

#include "platform/Files.h"

namespace quorvel::platform {

class LinuxFiles final : public Files
{
public:
    bool exists(const QString& path) const override;
    std::int64_t size(const QString& path) const override;
    void remove(const QString& path) override;
    void makeExecutable(const QString& path) override;
};

} // namespace quorvel::platform
