#include "platform/SystemInfo.h"

namespace quorvel::platform {

QString windowsProductName(QString*)
{
    // No Windows release here: only the data folder's override file can name one.
    return {};
}

} // namespace quorvel::platform
