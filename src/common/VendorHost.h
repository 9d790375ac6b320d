#pragma once

#include "common/QtCompat.h"

#include <QString>

namespace quorvel {

// The vendor's web server host (optionally with ":port"); $QUORVEL_HOST replaces the built-in one, so tests and
// the demo can point the launcher at a local service.
QString vendorHost();

// "https://" + host + path
QString vendorAddress(const QString& path);

// The vendor's web domain and the sister brand's; hosts under either are the vendor's own.
inline constexpr QLatin1StringView kVendorWebDomain("quorvel.com.br");
inline constexpr QLatin1StringView kSisterWebDomain("zephranel.com.br");

// The link names the vendor's host or a host under one of the two web domains.
bool isVendorLink(const QString& link);

} // namespace quorvel
