#include "common/VendorHost.h"

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

} // namespace quorvel
