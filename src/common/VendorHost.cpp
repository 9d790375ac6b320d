#include "common/VendorHost.h"

#include "common/QtCompat.h"
#include "common/WebAddress.h"

namespace quorvel {

QString vendorHost()
{
    const QString host = qEnvironmentVariable("QUORVEL_HOST");
    return host.isEmpty() ? QStringLiteral("www.quorvel.com.br") : host;
}

QString vendorAddress(const QString& path)
{
    return QStringLiteral("https://") + vendorHost() + path;
}

bool isVendorLink(const QString& link)
{
    const auto address = parseWebAddress(link);
    if (!address)
        return false;
    const auto vendor = parseWebAddress(QStringLiteral("https://") + vendorHost());
    if (vendor && address->host == vendor->host)
        return true;
    for (const QLatin1StringView domain : {kVendorWebDomain, kSisterWebDomain}) {
        if (address->host == domain || address->host.endsWith(u'.' + domain))
            return true;
    }
    return false;
}

} // namespace quorvel
