#include "platform/linux/LinuxFiles.h"

#include <QFile>
#include <QFileInfo>

namespace quorvel::platform {

bool LinuxFiles::exists(const QString& path) const
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

std::int64_t LinuxFiles::size(const QString& path) const
{
    const QFileInfo info(path);
    return info.isFile() ? info.size() : -1;
}

void LinuxFiles::remove(const QString& path)
{
    QFile::remove(path);
}

void LinuxFiles::makeExecutable(const QString& path)
{
    QFile file(path);
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

} // namespace quorvel::platform
