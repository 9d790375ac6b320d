#include "update/FileVersion.h"

#include "common/QtCompat.h"
#include "platform/FileVersionResource.h"
#include "update/ByteSource.h"
#include "update/ElfPackageNote.h"
#include "update/PeVersionReader.h"

#include <QFile>
#include <QFileInfo>

namespace quorvel {

QString fileVersion(const QString& path)
{
    // Regular files only: opening a FIFO would block, and a device could be read forever.
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.isSequential())
        return {};

    DeviceSource source(file);
    const auto magic = source.read(0, 4);
    if (!magic)
        return {};
    // ELF programs (the Linux stand-ins for products) carry their version in a package note.
    if (*magic == QByteArrayView("\177ELF"))
        return elfPackageVersion(source);
    // Windows reads version resources itself; elsewhere the launcher's own reader follows the same rules.
    if (const std::optional<QString> version = platform::systemFileVersion(path))
        return *version;
    if (magic->startsWith("MZ"))
        return peFileVersion(source);
    return {};
}

} // namespace quorvel
