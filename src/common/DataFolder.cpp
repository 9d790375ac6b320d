#include "common/DataFolder.h"

#include "platform/Folders.h"
#include "platform/Paths.h"

#include <QDir>

namespace quorvel {

QString appDataFolder(const platform::Folders& folders)
{
    QString path = folders.roamingAppData();
    if (!path.endsWith(platform::kPathSeparator))
        path += platform::kPathSeparator;
    path += QStringLiteral("Quorvel");
    const QDir dir(path);
    if (!dir.exists())
        dir.mkdir(path); // one level only, as the system's own folder is expected to exist
    return path;
}

} // namespace quorvel
