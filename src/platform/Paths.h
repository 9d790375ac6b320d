#pragma once

#include "common/QtCompat.h"

#include <QString>
#include <algorithm>

namespace quorvel::platform {

// The separator of the paths the launcher builds and splits itself.
#ifdef Q_OS_WIN
inline constexpr QChar kPathSeparator = u'\\';
#else
inline constexpr QChar kPathSeparator = u'/';
#endif

// The part of a path after its last separator (the whole text when it has none).
inline QString fileNamePart(const QString& path)
{
    return path.mid(path.lastIndexOf(kPathSeparator) + 1);
}

// The part of a path before its last separator (empty when it has none).
inline QString folderPart(const QString& path)
{
    return path.left(std::max<qsizetype>(0, path.lastIndexOf(kPathSeparator)));
}

// The file name of a program's companion process: "c" before ".exe" (quorface.exe -> quorfacec.exe). Programs
// without the Windows extension get the "c" appended (quorvel -> quorvelc).
inline QString companionFileName(const QString& fileName)
{
    QString companion = fileName;
    companion.replace(QLatin1StringView(".exe"), QLatin1StringView("c.exe"));
#ifndef Q_OS_WIN
    if (!fileName.isEmpty() && !fileName.contains(QLatin1StringView(".exe"), Qt::CaseInsensitive))
        companion += u'c';
#endif
    return companion;
}

} // namespace quorvel::platform
