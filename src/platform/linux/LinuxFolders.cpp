#include "platform/linux/LinuxFolders.h"

#include <QDir>
#include <QFile>

namespace quorvel::platform {

QString LinuxFolders::roamingAppData() const
{
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (!dataHome.isEmpty())
        return dataHome;
    return QDir::homePath() + QStringLiteral("/.local/share");
}

QString LinuxFolders::programFiles() const
{
    QString folder = qEnvironmentVariable("QUORVEL_PROGRAM_FILES");
    if (folder.isEmpty())
        return QStringLiteral("/opt");
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

QString LinuxFolders::ownExecutablePath() const
{
    return QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
}

} // namespace quorvel::platform
