#include "download/LeftoverFiles.h"

#include "common/QtCompat.h"
#include "download/ZipExtractor.h"
#include "support/QtPrinters.h"
#include "support/ZipBuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quorvel;

namespace {

void touch(const QString& path, const QByteArray& content = "x")
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path;
    file.write(content);
}

// A file in a folder, in the system's own form, as the launcher builds its paths.
QString nativePath(const QTemporaryDir& dir, const char* name)
{
    return QDir::toNativeSeparators(dir.filePath(QString::fromUtf8(name)));
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

TEST(LeftoverFiles, OlderDownloadsAreClearedAndNothingElse)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name :
         {"quorface_178.zip", "quorface_179.exe", ".quorface_1.zip", "quortwit_5.zip", "path.dat", "quorface.txt"})
        touch(dir.filePath(QLatin1StringView(name)));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("quorface_sub.zip")));

    // Masks from the version prefix: hidden files and folders match too; the folder is counted but stays.
    EXPECT_EQ(leftovers::versionPrefix(nativePath(dir, "quorface_12.zip")), QStringLiteral("quorface_"));
    EXPECT_EQ(leftovers::deleteFiles(dir.path(), QStringLiteral("quorface_*.zip")), 2);
    EXPECT_EQ(leftovers::deleteFiles(dir.path(), QStringLiteral("quorface_*.exe")), 1);
    EXPECT_EQ(leftovers::deleteFiles(dir.path(), QStringLiteral("nothing*.zip")), 0);
    EXPECT_EQ(entries(dir.path()), (QStringList{QStringLiteral(".quorface_1.zip"), QStringLiteral("path.dat"),
                                                QStringLiteral("quorface.txt"), QStringLiteral("quorface_sub.zip"),
                                                QStringLiteral("quortwit_5.zip")}));

    // Every plain visible file starting with the name before its "_" goes, and only in the folder of dest.
    leftovers::deleteOldVersions(nativePath(dir, "quorface_179.zip"));
    EXPECT_EQ(entries(dir.path()), (QStringList{QStringLiteral(".quorface_1.zip"), QStringLiteral("path.dat"),
                                                QStringLiteral("quorface_sub.zip"), QStringLiteral("quortwit_5.zip")}));
    // A name without a prefix must not empty the folder.
    leftovers::deleteOldVersions(nativePath(dir, "_179.zip"));
    EXPECT_EQ(entries(dir.path()).size(), 4);

    EXPECT_EQ(leftovers::versionPrefix(QDir::toNativeSeparators(QStringLiteral("/a_b/quorface.zip"))), QString());
    EXPECT_EQ(leftovers::versionPrefix(QDir::toNativeSeparators(QStringLiteral("/d/quor_x_y.v_1.zip"))),
              QStringLiteral("quor_"));
}

TEST(LeftoverFiles, SizesBeyond32Bits)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString big = dir.filePath(QStringLiteral("big.zip"));
    touch(big);
    ASSERT_TRUE(QFile::resize(big, qint64(5) * 1024 * 1024 * 1024)); // sparse: takes no space
    EXPECT_EQ(leftovers::fileSize(big), qint64(5) * 1024 * 1024 * 1024);
    EXPECT_EQ(leftovers::fileSize(dir.filePath(QStringLiteral("missing"))), -1);
}

TEST(ZipExtractor, TheInstallerComesOutWholeOrNotAtAll)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(out));
    const QByteArray installer = QByteArray("#!/bin/sh\necho installed\n").repeated(1000);

    {
        // Overwrites an older installer and keeps the stored executable mode.
        touch(out + QStringLiteral("/instalar.exe"), "old");
        ZipBuilder(dir.filePath(QStringLiteral("good.zip")))
            .add(QStringLiteral("leia-me.txt"), "x")
            .add(QStringLiteral("instalar.exe"), installer, 0755);
        EXPECT_EQ(
            zip_extractor::extractEntry(dir.filePath(QStringLiteral("good.zip")), QStringLiteral("instalar.exe"), out),
            QString());
        QFile file(out + QStringLiteral("/instalar.exe"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), installer);
        EXPECT_TRUE(QFileInfo(file).permissions() & QFileDevice::ExeOwner);
        EXPECT_FALSE(QFileInfo::exists(out + QStringLiteral("/leia-me.txt")));
    }
    {
        // In a sub-folder when the root has none; nothing else is created.
        ZipBuilder(dir.filePath(QStringLiteral("nested.zip")))
            .add(QStringLiteral("setup/bin/instalar.exe"), "nested", 0700);
        QFile::remove(out + QStringLiteral("/instalar.exe"));
        EXPECT_EQ(zip_extractor::extractEntry(dir.filePath(QStringLiteral("nested.zip")),
                                              QStringLiteral("instalar.exe"), out),
                  QString());
        EXPECT_EQ(entries(out), QStringList{QStringLiteral("instalar.exe")});
    }
    const auto failsLeavingNothing = [&](const QString& archive, const char* what) {
        QFile::remove(out + QStringLiteral("/instalar.exe"));
        const QString message = zip_extractor::extractEntry(archive, QStringLiteral("instalar.exe"), out);
        EXPECT_FALSE(message.isEmpty()) << what;
        EXPECT_TRUE(entries(out).isEmpty()) << what << ": " << entries(out).join(u',');
    };
    {
        ZipBuilder(dir.filePath(QStringLiteral("other.zip"))).add(QStringLiteral("programa.exe"), "x");
        failsLeavingNothing(dir.filePath(QStringLiteral("other.zip")), "no installer in the archive");
        touch(dir.filePath(QStringLiteral("text.zip")), "<html>404</html>");
        failsLeavingNothing(dir.filePath(QStringLiteral("text.zip")), "an error page instead of an archive");
        failsLeavingNothing(dir.filePath(QStringLiteral("missing.zip")), "no archive at all");
    }
    {
        // A flipped byte in the stored data fails the checksum; a cut archive cannot be read.
        const QString stored = dir.filePath(QStringLiteral("stored.zip"));
        ZipBuilder(stored).add(QStringLiteral("instalar.exe"), installer, 0755, true);
        QFile file(stored);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        file.close();
        QByteArray corrupt = bytes;
        const qsizetype at = corrupt.indexOf("echo installed", corrupt.size() / 2);
        ASSERT_GT(at, 0);
        corrupt.data()[at] = 'E';
        touch(dir.filePath(QStringLiteral("corrupt.zip")), corrupt);
        failsLeavingNothing(dir.filePath(QStringLiteral("corrupt.zip")), "damaged data");
        touch(dir.filePath(QStringLiteral("cut.zip")), bytes.left(bytes.size() / 2));
        failsLeavingNothing(dir.filePath(QStringLiteral("cut.zip")), "cut archive");
    }
    {
        // Larger than allowed: refused before anything is written.
        const QString good = dir.filePath(QStringLiteral("good.zip"));
        QFile::remove(out + QStringLiteral("/instalar.exe"));
        EXPECT_FALSE(zip_extractor::extractEntry(good, QStringLiteral("instalar.exe"), out, {1000}).isEmpty());
        EXPECT_TRUE(entries(out).isEmpty());
    }
}

TEST(ZipExtractor, ArchivesAsRealToolsWriteThem)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("out"));
    const QString work = dir.filePath(QStringLiteral("work"));
    ASSERT_TRUE(QDir().mkpath(out));
    ASSERT_TRUE(QDir().mkpath(work + QStringLiteral("/setup")));
    const QByteArray installer = QByteArray("#!/bin/sh\necho installed\n").repeated(500);
    touch(work + QStringLiteral("/instalar.exe"), installer);
    touch(work + QStringLiteral("/setup/INSTALAR.EXE"), installer);
    // Made writable by everyone, as a careless packer leaves it.
    QFile::setPermissions(work + QStringLiteral("/instalar.exe"), QFileDevice::Permissions(0x7777));
    QFile::setPermissions(work + QStringLiteral("/setup/INSTALAR.EXE"), QFileDevice::Permissions(0x7555));
    const auto sh = [&](const QString& command) {
        QProcess process;
        process.setWorkingDirectory(work);
        process.start(QStringLiteral("sh"), {QStringLiteral("-c"), command});
        return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    };
    ASSERT_TRUE(sh(QStringLiteral("bsdtar --format zip -cf ../bsdtar.zip instalar.exe"))); // data descriptors
    ASSERT_TRUE(sh(QStringLiteral("zip -q - instalar.exe | cat > ../piped.zip")));         // the same, from a pipe
    ASSERT_TRUE(sh(QStringLiteral("zip -q ../upper.zip setup/INSTALAR.EXE")));
    ZipBuilder(dir.filePath(QStringLiteral("backslash.zip")))
        .add(QStringLiteral("leia-me.txt"), "x")
        .add(QStringLiteral("setup\\Instalar.exe"), installer, 0755);

    for (const char* archive : {"bsdtar.zip", "piped.zip", "upper.zip", "backslash.zip"}) {
        QFile::remove(out + QStringLiteral("/instalar.exe"));
        EXPECT_EQ(
            zip_extractor::extractEntry(dir.filePath(QLatin1StringView(archive)), QStringLiteral("instalar.exe"), out),
            QString())
            << archive;
        EXPECT_EQ(entries(out), QStringList{QStringLiteral("instalar.exe")}) << archive;
        QFile file(out + QStringLiteral("/instalar.exe"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << archive;
        EXPECT_EQ(file.readAll(), installer) << archive;
        const QFileDevice::Permissions permissions = file.permissions();
        EXPECT_TRUE(permissions & QFileDevice::ExeOwner) << archive;
        EXPECT_FALSE(permissions & (QFileDevice::WriteGroup | QFileDevice::WriteOther)) << archive;
    }
}

TEST(LeftoverFiles, PartFoldersThatAreLinksAreRemovedNotFollowed)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString data = dir.filePath(QStringLiteral("data"));
    const QString precious = dir.filePath(QStringLiteral("precious"));
    ASSERT_TRUE(QDir().mkpath(data));
    ASSERT_TRUE(QDir().mkpath(precious));
    touch(precious + QStringLiteral("/keep.txt"));
    ASSERT_TRUE(QFile::link(precious, data + QStringLiteral("/part_1")));
    ASSERT_TRUE(QDir().mkpath(data + QStringLiteral("/part_2/inner")));
    touch(data + QStringLiteral("/part_2/inner/x"));

    leftovers::deletePartFolders(data + QStringLiteral("/quorface_12.zip"));
    EXPECT_TRUE(entries(data).isEmpty()) << entries(data).join(u',');
    EXPECT_EQ(entries(precious), QStringList{QStringLiteral("keep.txt")});
}
