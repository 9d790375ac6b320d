#pragma once

#include <QString>

namespace quorvel::platform {

// The installed Windows release's product name ("Windows 10 Pro"), empty when it cannot be read or on other systems.
// Any failure is reported through `error`.
QString windowsProductName(QString* error = nullptr);

} // namespace quorvel::platform
