#pragma once

#include <QString>

namespace quorvel {

// The vendor's web server host (optionally with ":port"); $QUORVEL_HOST replaces the built-in one, so tests and
// the demo can point the launcher at a local service.
QString vendorHost();

// "https://" + host + path
QString vendorAddress(const QString& path);

} // namespace quorvel
