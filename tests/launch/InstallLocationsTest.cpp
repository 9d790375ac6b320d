#include "launch/InstallLocations.h"

#include "support/FakePlatform.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using quorvel::PathDat;

namespace {

const QString kOwn = QStringLiteral("/usr/lib/quorvel/quorvel");

struct Folder
{
    QTemporaryDir dir;
    QString data = dir.filePath(QStringLiteral("Quorvel"));
    QString file = data + QStringLiteral("/path.dat");

    Folder() { QDir().mkpath(data); }

    void write(const QByteArray& bytes) const
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    QByteArray read() const
    {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }
    QString lookup(const QString& word) const { return PathDat::getExePath(word, data, kOwn); }
};

// The fixtures' bytes, made without the launcher's own converters.
enum class Encoding
{
    Utf8,
    Utf16LE,
    Utf16BE,
    Locale,
};

QByteArray encode(Encoding encoding, const QString& text)
{
    switch (encoding) {
    case Encoding::Utf8:
        return text.toUtf8();
    case Encoding::Locale:
        return text.toLocal8Bit();
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
        break;
    }
    QByteArray bytes;
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8);
        const char low = char(c.unicode() & 0xff);
        bytes.append(encoding == Encoding::Utf16LE ? low : high).append(encoding == Encoding::Utf16LE ? high : low);
    }
    return bytes;
}

} // namespace

TEST(PathDat, Location)
{
    const auto location = [](const char* dataFolder) {
        return QDir::fromNativeSeparators(PathDat::location(QDir::toNativeSeparators(QString::fromUtf8(dataFolder))));
    };
    EXPECT_EQ(location("/home/ana maria/.local/share/Quorvel"),
              QStringLiteral("/home/ana maria/.local/share/Quorvel/path.dat"));
    // An earlier folder carrying a brand name wins.
    EXPECT_EQ(location("/srv/Zephranel/users/x/Quorvel"), QStringLiteral("/srv/Zephranel/path.dat"));
    EXPECT_EQ(location("/srv/Quorvel/Zephranel/Quorvel"), QStringLiteral("/srv/Quorvel/path.dat"));
    // Only a whole folder name followed by the separator counts.
    EXPECT_EQ(location("/data/QuorvelX/Quorvel"), QStringLiteral("/data/QuorvelX/Quorvel/path.dat"));
}

TEST(PathDat, FirstContainingLineWinsInEveryEncoding)
{
    const QString lines = QStringLiteral("/opt/Tiktok Tools/tool.exe\r\n/opt/Quorvel Tik/quortik.exe\r\n"
                                         "/home/ação/Quorvel Face/quorface.exe\r\n");
    const struct
    {
        const char* name;
        QByteArray bytes;
    } files[] = {
        {"utf-8 with mark", QByteArray("\xEF\xBB\xBF") + encode(Encoding::Utf8, lines)},
        {"utf-16 le", QByteArray("\xFF\xFE") + encode(Encoding::Utf16LE, lines)},
        {"utf-16 be", QByteArray("\xFE\xFF") + encode(Encoding::Utf16BE, lines)},
        {"locale", encode(Encoding::Locale, lines)},
        {"lone line feeds",
         encode(Encoding::Locale, QString(lines).replace(QStringLiteral("\r\n"), QStringLiteral("\n")))},
    };
    for (const auto& f : files) {
        Folder folder;
        folder.write(f.bytes);
        EXPECT_EQ(folder.lookup(QStringLiteral("Face")), QStringLiteral("/home/ação/Quorvel Face/quorface.exe"))
            << f.name;
        // Containment: the first line holding the word, even inside another name.
        EXPECT_EQ(folder.lookup(QStringLiteral("Tik")), QStringLiteral("/opt/Tiktok Tools/tool.exe")) << f.name;
        EXPECT_EQ(folder.lookup(QStringLiteral("QUORVEL TIK")), QStringLiteral("/opt/Quorvel Tik/quortik.exe"))
            << f.name;
        EXPECT_EQ(folder.read(), f.bytes) << f.name; // found: the file is left alone
    }
}

TEST(PathDat, FailedLookupAppendsTheLauncherInTheFilesEncoding)
{
    const QString line = QStringLiteral("C:/Tools/Quorvel Face/quorface.exe\r\n");
    const struct
    {
        const char* name;
        Encoding encoding;
        QByteArray mark;
    } encodings[] = {
        {"utf-8 with mark", Encoding::Utf8, "\xEF\xBB\xBF"},
        {"utf-16 le", Encoding::Utf16LE, "\xFF\xFE"},
        {"utf-16 be", Encoding::Utf16BE, "\xFE\xFF"},
        {"locale", Encoding::Locale, ""},
    };
    for (const auto& e : encodings) {
        Folder folder;
        const QByteArray original = e.mark + encode(e.encoding, line);
        folder.write(original);
        EXPECT_TRUE(folder.lookup(QStringLiteral("Tele")).isEmpty()) << e.name;
        EXPECT_EQ(folder.read(), original + encode(e.encoding, kOwn + QStringLiteral("\r\n"))) << e.name;
    }
}

TEST(PathDat, RepeatedFailuresMissingFilesAndOddContent)
{
    Folder folder;
    // Missing: created with the launcher's path as its only line.
    EXPECT_TRUE(folder.lookup(QStringLiteral("Tele")).isEmpty());
    EXPECT_EQ(folder.read(), kOwn.toUtf8() + "\r\n");
    // Every failed lookup adds one more copy; an empty word matches nothing, not even the launcher's line.
    EXPECT_TRUE(folder.lookup(QString()).isEmpty());
    EXPECT_TRUE(folder.lookup(QStringLiteral("SMS")).isEmpty());
    EXPECT_EQ(folder.read(), (kOwn + QStringLiteral("\r\n")).toUtf8().repeated(3));
    // The launcher's own line contains "quorvel": a lookup for it finds that line.
    EXPECT_EQ(folder.lookup(QStringLiteral("Quorvel")), kOwn);

    // A last line without a break gets one before the appended line; bytes that do not decode survive untouched.
    Folder odd;
    const QByteArray raw("/opt/\xFF\xFE bad/x.exe\r\n/opt/last.exe");
    odd.write(raw);
    EXPECT_TRUE(odd.lookup(QStringLiteral("Tube")).isEmpty());
    EXPECT_EQ(odd.read(), raw + "\r\n" + kOwn.toUtf8() + "\r\n");
}

TEST(PathDat, UnreadableOrUnwritableFilesGiveEmptyResults)
{
    // A folder where the file should be: neither readable as a list nor writable; nothing throws.
    Folder blocked;
    QDir().mkpath(blocked.file);
    EXPECT_TRUE(blocked.lookup(QStringLiteral("Face")).isEmpty());
    EXPECT_TRUE(QFileInfo(blocked.file).isDir());

    // The data folder is gone: the lookup fails quietly.
    EXPECT_TRUE(PathDat::getExePath(QStringLiteral("Face"), blocked.dir.filePath(QStringLiteral("gone/Quorvel")), kOwn)
                    .isEmpty());
}

TEST(PathDat, ReadOnlyFileIsReadButNeverRewritten)
{
    Folder readOnly;
    readOnly.write("/opt/Quorvel Face/quorface.exe\r\n");
    QFile::setPermissions(readOnly.file, QFileDevice::ReadOwner);
    EXPECT_EQ(readOnly.lookup(QStringLiteral("Face")), QStringLiteral("/opt/Quorvel Face/quorface.exe"));
    if (QFileInfo(readOnly.file).isWritable())
        GTEST_SKIP() << "this user writes read-only files";
    EXPECT_TRUE(readOnly.lookup(QStringLiteral("Tele")).isEmpty());
    EXPECT_EQ(readOnly.read(), QByteArray("/opt/Quorvel Face/quorface.exe\r\n"));
}

TEST(InstallLocations, ProgramFilesComesFromThePlatform)
{
    quorvel::fakes::FakeFolders folders;
    folders.programFilesFolder = QStringLiteral("/srv/programs");
    EXPECT_EQ(quorvel::pfolder(folders), QStringLiteral("/srv/programs"));
}
