#include "platform/linux/ProcessName.h"

#include "common/QtCompat.h"

namespace quorvel::platform::linux_proc {

namespace {

// The kernel keeps only this many characters of a process name in comm.
constexpr qsizetype kCommLength = 15;

QString baseName(const QString& path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

} // namespace

QString resolveProcessName(const QString& exeLink, const QString& comm, const QStringList& cmdline)
{
    QString target = exeLink;
    const QLatin1StringView deleted(" (deleted)");
    if (target.endsWith(deleted))
        target.chop(deleted.size());
    const QString name = baseName(target);

    if (!name.isEmpty() && (comm == name || comm == name.left(kCommLength)))
        return name;
    if (!comm.isEmpty()) {
        for (const QString& entry : cmdline) {
            const QString entryName = baseName(entry);
            if (entryName.startsWith(comm))
                return entryName;
        }
    }
    return comm;
}

} // namespace quorvel::platform::linux_proc
