#include "download/LeftoverFiles.h"

#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quorvel::leftovers {

int deleteFiles(const QString& folder, const QString& pattern)
{
    const QDir dir(folder);
    const QStringList names =
        dir.entryList({pattern}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names)
        QFile::remove(dir.filePath(name));
    return int(names.size());
}

void deleteOldVersions(const QString& dest)
{
    QString prefix = platform::fileNamePart(dest);
    if (const qsizetype underscore = prefix.indexOf(u'_'); underscore >= 0)
        prefix.truncate(underscore);
    // A name starting with "_" has no prefix; matching everything would empty the data folder.
    if (prefix.isEmpty())
        return;
    const QDir dir(platform::folderPart(dest));
    // Only names made of the prefix and more: a prefix holding wildcard characters matches nothing but itself.
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot)) {
        if (entry.fileName().startsWith(prefix))
            QFile::remove(entry.filePath());
    }
}

void deletePartFolders(const QString& dest)
{
    const QString folder = platform::folderPart(dest) + platform::kPathSeparator;
    for (const QString& part : {QStringLiteral("part_1"), QStringLiteral("part_2")}) {
        const QString path = folder + part;
        // A link is removed as a link: following it would empty whatever folder it points at.
        if (QFileInfo(path).isSymLink())
            QFile::remove(path);
        else
            QDir(path).removeRecursively();
    }
}

QString versionPrefix(const QString& dest)
{
    QString name = platform::fileNamePart(dest);
    if (const qsizetype dot = name.indexOf(u'.'); dot >= 0)
        name.truncate(dot);
    const qsizetype underscore = name.indexOf(u'_');
    return underscore < 0 ? QString() : name.left(underscore + 1);
}

qint64 fileSize(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() ? info.size() : -1;
}

} // namespace quorvel::leftovers
