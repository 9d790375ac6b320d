#include "launch/InstallLocations.h"

#include "common/QtCompat.h"
#include "launch/Catalogue.h"
#include "platform/Folders.h"
#include "platform/Paths.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>

namespace quorvel {

QString pfolder(const platform::Folders& folders)
{
    return folders.programFiles();
}

namespace {

// The longest path.dat read; anything larger is not a list of program paths.
constexpr qint64 kMaxPathDatBytes = 16 * 1024 * 1024;

struct Encoding
{
    qtcompat::Encoding encoding;
    qsizetype bomLength;
};

Encoding detectEncoding(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {qtcompat::Encoding::Utf8, 3};
    if (bytes.startsWith("\xFF\xFE"))
        return {qtcompat::Encoding::Utf16LE, 2};
    if (bytes.startsWith("\xFE\xFF"))
        return {qtcompat::Encoding::Utf16BE, 2};
    return {qtcompat::Encoding::Locale, 0};
}

// Lines end with CR LF, a lone CR or a lone LF; a break at the very end adds no empty line.
QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

// Whether the raw bytes end with a line break in their own encoding.
bool endsWithLineBreak(const QByteArray& bytes, qtcompat::Encoding encoding)
{
    switch (encoding) {
    case qtcompat::Encoding::Utf16LE:
        return bytes.endsWith(QByteArray("\n\0", 2)) || bytes.endsWith(QByteArray("\r\0", 2));
    case qtcompat::Encoding::Utf16BE:
        return bytes.endsWith(QByteArray("\0\n", 2)) || bytes.endsWith(QByteArray("\0\r", 2));
    default:
        return bytes.endsWith('\n') || bytes.endsWith('\r');
    }
}

std::optional<QByteArray> readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxPathDatBytes)
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

} // namespace

QString PathDat::location(const QString& appDataFolder)
{
    const QString folder = appDataFolder + platform::kPathSeparator;
    const QString brands[] = {QStringLiteral("Quorvel") + platform::kPathSeparator,
                              QStringLiteral("Zephranel") + platform::kPathSeparator};
    qsizetype cut = -1;
    qsizetype earliest = folder.size();
    for (const QString& brand : brands) {
        const qsizetype at = folder.indexOf(brand);
        if (at >= 0 && at < earliest) {
            earliest = at;
            cut = at + brand.size();
        }
    }
    return (cut < 0 ? folder : folder.left(cut)) + QStringLiteral("path.dat");
}

QString PathDat::getExePath(const QString& displayWord, const QString& appDataFolder, const QString& ownExePath)
{
    const QString path = location(appDataFolder);
    QByteArray bytes;
    if (QFileInfo::exists(path)) {
        const std::optional<QByteArray> read = readAll(path);
        if (!read)
            return {};
        bytes = *read;
    }

    const Encoding encoding = detectEncoding(bytes);
    const QString text = qtcompat::decode(QByteArrayView(bytes).sliced(encoding.bomLength), encoding.encoding);

    if (!displayWord.isEmpty()) {
        const QString word = asciiLower(displayWord);
        for (const QString& line : splitLines(text)) {
            if (asciiLower(line).contains(word))
                return line;
        }
    }

    // Appended to the bytes as read, so lines in any encoding, even ones that do not decode cleanly, survive.
    if (QFileInfo::exists(path) && !QFileInfo(path).isWritable())
        return {};
    QByteArray updated = bytes;
    if (!bytes.isEmpty() && bytes.size() > encoding.bomLength && !endsWithLineBreak(bytes, encoding.encoding))
        updated += qtcompat::encode(QStringLiteral("\r\n"), encoding.encoding);
    bool unencodable = false;
    updated += qtcompat::encode(ownExePath + QStringLiteral("\r\n"), encoding.encoding, &unencodable);
    if (unencodable)
        return {};

    // Written aside and renamed, so an interrupted write never leaves the suite with a cut list.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(updated) != updated.size() || !file.commit())
        return {};
    return {};
}

} // namespace quorvel
