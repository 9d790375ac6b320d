#include "update/FileVersion.h"

#include "common/QtCompat.h"
#include "support/QtPrinters.h"
#include "update/ElfPackageNote.h"
#include "update/PeVersionReader.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>

using namespace quorvel;

namespace {

QString fixturePath(const QString& name)
{
    return QStringLiteral(QUORVEL_VERSION_FIXTURES "/") + name;
}

QByteArray fixture(const QString& name)
{
    QFile file(fixturePath(name));
    if (!file.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "missing fixture " << name;
    return file.readAll();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray utf16(const QString& text)
{
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

// 0 outside the bytes, so a layout search that went wrong fails its test instead of reading stray memory.
quint32 u32At(const QByteArray& bytes, qsizetype at)
{
    if (at < 0 || at + 4 > bytes.size())
        return 0;
    const QByteArrayView field = QByteArrayView(bytes).sliced(at, 4);
    return quint32(quint8(field[0])) | quint32(quint8(field[1])) << 8 | quint32(quint8(field[2])) << 16 |
           quint32(quint8(field[3])) << 24;
}

template <typename T>
void put(QByteArray& bytes, qsizetype at, T value)
{
    qToLittleEndian(value, bytes.data() + at);
}

void replaceOnce(QByteArray& bytes, const QByteArray& from, const QByteArray& to)
{
    const qsizetype at = bytes.indexOf(from);
    ASSERT_GE(at, 0) << from;
    ASSERT_EQ(from.size(), to.size());
    bytes.replace(at, from.size(), to);
}

// Where the pieces of a real PE fixture sit, found the way a hex editor user would: by the .rsrc section header and
// the UTF-16 keys of the version resource.
struct PeLayout
{
    qsizetype ntHeader;
    qsizetype optionalHeader;
    qsizetype resourceRoot;
    qsizetype dataEntry;
    qsizetype versionBlock;

    explicit PeLayout(const QByteArray& pe)
    {
        ntHeader = u32At(pe, 0x3c);
        optionalHeader = ntHeader + 24;
        const qsizetype rsrc = pe.indexOf(QByteArray(".rsrc\0\0\0", 8));
        resourceRoot = u32At(pe, rsrc + 20);
        const qsizetype names = resourceRoot + (u32At(pe, resourceRoot + 20) & 0x7fffffff);
        const qsizetype languages = resourceRoot + (u32At(pe, names + 20) & 0x7fffffff);
        dataEntry = resourceRoot + u32At(pe, languages + 20);
        versionBlock = pe.indexOf(utf16(QStringLiteral("VS_VERSION_INFO"))) - 6;
    }
    qsizetype versionEnd(const QByteArray& pe) const
    {
        return versionBlock + qFromLittleEndian<quint16>(pe.constData() + versionBlock);
    }
};

// A key's block starts 6 bytes before the key; its value follows the key's terminator on a 4-byte boundary.
qsizetype blockOf(const QByteArray& bytes, const QString& key)
{
    return bytes.indexOf(utf16(key)) - 6;
}

qsizetype valueOf(const QByteArray& bytes, const QString& key)
{
    const qsizetype afterKey = bytes.indexOf(utf16(key)) + (key.size() + 1) * 2;
    return (afterKey + 3) & ~qsizetype(3);
}

using Mutation = std::function<void(QByteArray&)>;

struct MutationCase
{
    const char* what;
    Mutation mutate;
    const char* expected;
};

} // namespace

TEST(FileVersion, RealBinaries)
{
    const struct
    {
        const char* file;
        const char* expected;
    } cases[] = {
        {"pe-no-resource.exe", ""},          {"pe-fixed-only.exe", ""},        {"pe-ptbr.exe", "2.4.1.0"},
        {"pe-second-table.exe", "2.4.1.0"},  {"pe-missing-table.exe", ""},     {"pe-no-fileversion.exe", ""},
        {"pe-two-languages.exe", "1.0.0.0"}, {"pe32-ptbr.exe", "3.0.0.7"},     {"elf64-version.elf", "2.4.1.0"},
        {"elf32-version.elf", "5.6.7"},      {"elf64be-version.elf", "8.1.2"}, {"elf64-no-note.elf", ""},
        {"elf64-no-version.elf", ""},
    };
    for (const auto& c : cases) {
        const QString name = QString::fromLatin1(c.file);
        const QByteArray bytes = fixture(name);
        const bool isPe = name.endsWith(QLatin1String(".exe"));
        EXPECT_EQ(fileVersion(fixturePath(name)), QLatin1StringView(c.expected)) << c.file;
        EXPECT_EQ(isPe ? peFileVersion(bytes) : elfPackageVersion(bytes), QLatin1StringView(c.expected)) << c.file;
        // Each reader must refuse the other's format rather than find something in it.
        EXPECT_EQ(isPe ? elfPackageVersion(bytes) : peFileVersion(bytes), QString()) << c.file;
    }
}

TEST(FileVersion, TheDemoBrowserRuntimeCarriesItsVersion)
{
    // A resource-only DLL linked without a C library: the demo relies on reading it as a real runtime would be read.
    EXPECT_EQ(fileVersion(QStringLiteral(QUORVEL_DEMO_TOOLS "/libcef.dll")), QStringLiteral("109.1.18.0"));
}

TEST(FileVersion, PathsWithoutAVersion)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString empty = dir.filePath(QStringLiteral("empty.exe"));
    const QString text = dir.filePath(QStringLiteral("readme.txt"));
    const QString fifo = dir.filePath(QStringLiteral("fifo.exe"));
    ASSERT_TRUE(writeFile(empty, {}));
    ASSERT_TRUE(writeFile(text, "MZ is not enough\n"));

    for (const QString& path : {QString(), dir.filePath(QStringLiteral("missing.exe")), dir.path(), empty, text})
        EXPECT_EQ(fileVersion(path), QString()) << path;

    // Opening a FIFO for reading blocks until a writer comes, so it must be refused before it is opened.
    if (QProcess::execute(QStringLiteral("mkfifo"), {fifo}) == 0) {
        EXPECT_EQ(fileVersion(fifo), QString());
    }
}

TEST(FileVersion, LinkedAndLargeFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("linked.exe"));
    ASSERT_TRUE(QFile::link(fixturePath(QStringLiteral("pe-ptbr.exe")), link));
    EXPECT_EQ(fileVersion(link), QStringLiteral("2.4.1.0"));

    // Installers carry their payload after the image; a large file is read only where the resource lies.
    const QString large = dir.filePath(QStringLiteral("installer.exe"));
    ASSERT_TRUE(QFile::copy(fixturePath(QStringLiteral("pe-ptbr.exe")), large));
    ASSERT_TRUE(QFile::resize(large, qint64(300) * 1024 * 1024));
    EXPECT_EQ(fileVersion(large), QStringLiteral("2.4.1.0"));
}

TEST(FileVersion, TruncatedFilesNeverGiveAWrongVersion)
{
    const struct
    {
        const char* file;
        const char* expected;
    } cases[] = {
        {"pe-ptbr.exe", "2.4.1.0"},     {"pe32-ptbr.exe", "3.0.0.7"},     {"elf64-version.elf", "2.4.1.0"},
        {"elf32-version.elf", "5.6.7"}, {"elf64be-version.elf", "8.1.2"},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const auto& c : cases) {
        const QString name = QString::fromLatin1(c.file);
        const QByteArray whole = fixture(name);
        const bool isPe = name.endsWith(QLatin1String(".exe"));
        // No cut before the end of the version data may give the version.
        const qsizetype needed = isPe ? PeLayout(whole).versionEnd(whole) : whole.indexOf("\"}") + 2;
        ASSERT_GT(needed, 2) << c.file;

        bool seen = false;
        for (qsizetype cut = 0; cut <= whole.size(); ++cut) {
            const QByteArray part = whole.left(cut);
            const QString got = isPe ? peFileVersion(part) : elfPackageVersion(part);
            if (cut < needed || !seen)
                EXPECT_TRUE(got.isEmpty() || (cut >= needed && got == QLatin1StringView(c.expected)))
                    << c.file << " cut at " << cut << ": " << got;
            else
                EXPECT_EQ(got, QLatin1StringView(c.expected)) << c.file << " cut at " << cut;
            seen = seen || !got.isEmpty();
            // The file path reads ranges through a different source; sample it too.
            if (cut % 61 == 0) {
                const QString path = dir.filePath(QStringLiteral("cut"));
                ASSERT_TRUE(writeFile(path, part));
                EXPECT_EQ(fileVersion(path), got) << c.file << " cut at " << cut;
            }
        }
        EXPECT_TRUE(seen) << c.file;
    }
}

TEST(FileVersion, DamagedPeHeadersAndResources)
{
    const auto fileVersionKey = utf16(QStringLiteral("FileVersion"));
    const MutationCase cases[] = {
        // Headers
        {"NT header offset far outside", [](QByteArray& pe) { put<quint32>(pe, 0x3c, 0xfffffff0u); }, ""},
        {"NT header offset at the last bytes", [](QByteArray& pe) { put<quint32>(pe, 0x3c, pe.size() - 2); }, ""},
        {"section count runs off the end", [](QByteArray& pe) { put<quint16>(pe, PeLayout(pe).ntHeader + 6, 0xffff); },
         ""},
        {"optional header size runs off the end",
         [](QByteArray& pe) { put<quint16>(pe, PeLayout(pe).ntHeader + 20, 0xffff); }, ""},
        {"unknown optional header magic", [](QByteArray& pe) { put<quint16>(pe, PeLayout(pe).optionalHeader, 0x107); },
         ""},
        {"too few data directories", [](QByteArray& pe) { put<quint32>(pe, PeLayout(pe).optionalHeader + 108, 2); },
         ""},
        {"resource RVA outside every section",
         [](QByteArray& pe) { put<quint32>(pe, PeLayout(pe).optionalHeader + 128, 0xfffffff0u); }, ""},
        // Resource directory
        {"type entry points back at the root",
         [](QByteArray& pe) { put<quint32>(pe, PeLayout(pe).resourceRoot + 20, 0x80000000u); }, ""},
        {"type entry points at a leaf", [](QByteArray& pe) { put<quint32>(pe, PeLayout(pe).resourceRoot + 20, 0x18); },
         ""},
        {"type entry offset far outside",
         [](QByteArray& pe) { put<quint32>(pe, PeLayout(pe).resourceRoot + 20, 0xfffffff0u); }, ""},
        {"entry count runs off the end",
         [](QByteArray& pe) { put<quint16>(pe, PeLayout(pe).resourceRoot + 14, 0xffff); }, ""},
        {"named entries hide the only id entry",
         [](QByteArray& pe) { put<quint16>(pe, PeLayout(pe).resourceRoot + 12, 1); }, ""},
        {"no version type", [](QByteArray& pe) { put<quint32>(pe, PeLayout(pe).resourceRoot + 16, 17); }, ""},
        {"data RVA outside every section",
         [](QByteArray& pe) { put<quint32>(pe, PeLayout(pe).dataEntry, 0x7ffffff0u); }, ""},
        {"data size far past the end",
         [](QByteArray& pe) { put<quint32>(pe, PeLayout(pe).dataEntry + 4, 0xffffffffu); }, ""},
        // Version blocks
        {"root length zero", [](QByteArray& pe) { put<quint16>(pe, PeLayout(pe).versionBlock, 0); }, ""},
        {"root length beyond the resource is cut to it",
         [](QByteArray& pe) { put<quint16>(pe, PeLayout(pe).versionBlock, 0xffff); }, "2.4.1.0"},
        {"root key changed",
         [](QByteArray& pe) { replaceOnce(pe, utf16("VS_VERSION_INFO"), utf16("VS_VERSION_INFX")); }, ""},
        {"odd string length too short for its key",
         [=](QByteArray& pe) { put<quint16>(pe, blockOf(pe, QStringLiteral("FileVersion")), 7); }, ""},
        {"string length zero", [=](QByteArray& pe) { put<quint16>(pe, blockOf(pe, QStringLiteral("FileVersion")), 0); },
         ""},
        {"string value length zero",
         [=](QByteArray& pe) { put<quint16>(pe, blockOf(pe, QStringLiteral("FileVersion")) + 2, 0); }, ""},
        {"key differs only in case", [=](QByteArray& pe) { replaceOnce(pe, fileVersionKey, utf16("FILEversion")); },
         "2.4.1.0"},
        {"key misspelt", [=](QByteArray& pe) { replaceOnce(pe, fileVersionKey, utf16("FileVersiom")); }, ""},
        // Translation
        {"translation names another language",
         [](QByteArray& pe) { put<quint16>(pe, valueOf(pe, QStringLiteral("Translation")), 0x0409); }, ""},
        {"translation names another code page",
         [](QByteArray& pe) { put<quint16>(pe, valueOf(pe, QStringLiteral("Translation")) + 2, 1252); }, ""},
        {"translation value too short",
         [](QByteArray& pe) { put<quint16>(pe, blockOf(pe, QStringLiteral("Translation")) + 2, 2); }, ""},
        {"table key changed with the translation",
         [](QByteArray& pe) {
             replaceOnce(pe, utf16("041604b0"), utf16("041604e4"));
             put<quint16>(pe, valueOf(pe, QStringLiteral("Translation")) + 2, 1252);
         },
         "2.4.1.0"},
    };
    const QByteArray original = fixture(QStringLiteral("pe-ptbr.exe"));
    for (const MutationCase& c : cases) {
        QByteArray pe = original;
        c.mutate(pe);
        ASSERT_NE(pe, original) << c.what;
        EXPECT_EQ(peFileVersion(pe), QLatin1StringView(c.expected)) << c.what;
    }
}

TEST(FileVersion, DamagedElfHeadersAndNotes)
{
    const auto noteAt = [](const QByteArray& elf) { return elf.indexOf(QByteArray("FDO\0", 4)) - 12; };
    const MutationCase cases[] = {
        // JSON
        {"other version", [](QByteArray& elf) { replaceOnce(elf, "\"2.4.1.0\"", "\"7.0.0.1\""); }, "7.0.0.1"},
        {"key in other case", [](QByteArray& elf) { replaceOnce(elf, "\"version\"", "\"Version\""); }, ""},
        {"version not a string", [](QByteArray& elf) { replaceOnce(elf, "\"2.4.1.0\"", "[2,4,1,0]"); }, ""},
        {"not an object", [](QByteArray& elf) { replaceOnce(elf, "{\"type\"", "[\"type\""); }, ""},
        {"zero inside the JSON", [](QByteArray& elf) { replaceOnce(elf, "\"deb\"", QByteArray("\"\0eb\"", 5)); }, ""},
        // Note
        {"description size huge", [=](QByteArray& elf) { put<quint32>(elf, noteAt(elf) + 4, 0xffffffffu); }, ""},
        {"name size huge", [=](QByteArray& elf) { put<quint32>(elf, noteAt(elf), 0xfffffff0u); }, ""},
        {"other note type", [=](QByteArray& elf) { put<quint32>(elf, noteAt(elf) + 8, 0xcafe1a7fu); }, ""},
        {"other owner", [](QByteArray& elf) { replaceOnce(elf, QByteArray("FDO\0", 4), QByteArray("GNU\0", 4)); }, ""},
        // Section headers lost: the note segment still leads to the note.
        {"no section table", [](QByteArray& elf) { put<quint64>(elf, 0x28, 0); }, "2.4.1.0"},
        {"section table offset wraps", [](QByteArray& elf) { put<quint64>(elf, 0x28, ~quint64(0) - 8); }, "2.4.1.0"},
        {"section count runs off the end", [](QByteArray& elf) { put<quint16>(elf, 0x3c, 0xffff); }, "2.4.1.0"},
        {"names section index out of range", [](QByteArray& elf) { put<quint16>(elf, 0x3e, 0x7fff); }, "2.4.1.0"},
        {"extended names index in a null section 0", [](QByteArray& elf) { put<quint16>(elf, 0x3e, 0xffff); },
         "2.4.1.0"},
        {"segment count escapes to an empty section 0", [](QByteArray& elf) { put<quint16>(elf, 0x38, 0xffff); },
         "2.4.1.0"},
        // Both ways to the note lost
        {"no tables at all",
         [](QByteArray& elf) {
             put<quint64>(elf, 0x28, 0);
             put<quint64>(elf, 0x20, 0);
         },
         ""},
        {"entry sizes too small",
         [](QByteArray& elf) {
             put<quint16>(elf, 0x36, 8);
             put<quint16>(elf, 0x3a, 8);
         },
         ""},
        {"unknown class", [](QByteArray& elf) { elf[4] = 3; }, ""},
        {"unknown byte order", [](QByteArray& elf) { elf[5] = 0; }, ""},
    };
    const QByteArray original = fixture(QStringLiteral("elf64-version.elf"));
    for (const MutationCase& c : cases) {
        QByteArray elf = original;
        c.mutate(elf);
        ASSERT_NE(elf, original) << c.what;
        EXPECT_EQ(elfPackageVersion(elf), QLatin1StringView(c.expected)) << c.what;
    }
}

TEST(FileVersion, RandomBytesGiveNothing)
{
    QRandomGenerator random(20240611);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes(random.bounded(0, 4096), Qt::Uninitialized);
        for (char& byte : bytes)
            byte = static_cast<char>(random.bounded(256));
        // Give most rounds a real signature so the readers get past their first check.
        if (round % 3 == 0 && bytes.size() >= 2)
            bytes.replace(0, 2, "MZ");
        else if (round % 3 == 1 && bytes.size() >= 6)
            bytes.replace(0, 6, QByteArray("\177ELF", 4) + char(1 + round % 2) + char(1 + round / 2 % 2));
        EXPECT_EQ(peFileVersion(bytes), QString()) << "round " << round;
        EXPECT_EQ(elfPackageVersion(bytes), QString()) << "round " << round;
    }
}
