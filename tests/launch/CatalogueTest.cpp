#include "launch/Catalogue.h"

#include "common/QtCompat.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QSet>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using namespace quorvel;

namespace {

QString keyOf(const CatalogueRow* row)
{
    return row ? QString(row->key) : QStringLiteral("<none>");
}

} // namespace

TEST(Catalogue, RowByElementNameFollowsTheMatchOrder)
{
    const struct
    {
        const char* name;
        const char* key;
    } cases[] = {
        {"img_mkt", "twit"},
        {"label_mkt", "twit"},
        {"mkt", "twit"},
        {"img_face", "face"},
        {"LABEL_FACE", "face"},
        {"img_whats", "whats"},
        {"img_contact", "contact"},
        {"img_ia", "<none>"},
        {"img_quor", "<none>"},
        {"", "<none>"},
        {"nav", "nav"},
        // The first word of the fixed order wins, wherever it stands in the name.
        {"img_face_tik", "tik"},
        {"telesms", "sms"},
        {"navface", "nav"},
        {"img_lxtele", "lx"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(keyOf(catalogue::rowByElementName(QString::fromLatin1(c.name))), QLatin1StringView(c.key)) << c.name;
}

TEST(Catalogue, OtherLookups)
{
    EXPECT_EQ(keyOf(catalogue::rowByDisplayWord(u"Whats")), QStringLiteral("whats"));
    EXPECT_EQ(keyOf(catalogue::rowByDisplayWord(u"SMS")), QStringLiteral("sms"));
    EXPECT_EQ(keyOf(catalogue::rowByDisplayWord(u"sms")), QStringLiteral("<none>")); // case-sensitive
    EXPECT_EQ(keyOf(catalogue::rowByDisplayWord(u"")), QStringLiteral("<none>"));
    EXPECT_EQ(keyOf(catalogue::rowByKey(u"menu")), QStringLiteral("menu"));
    EXPECT_EQ(keyOf(catalogue::rowByTileSuffix(u"mkt")), QStringLiteral("twit"));
    EXPECT_EQ(keyOf(catalogue::rowByTileSuffix(u"")), QStringLiteral("<none>"));

    EXPECT_EQ(keyOf(catalogue::rowByArgumentWord(u"FACE")), QStringLiteral("face"));
    EXPECT_EQ(keyOf(catalogue::rowByArgumentWord(u"Messages")), QStringLiteral("whats"));
    EXPECT_EQ(keyOf(catalogue::rowByArgumentWord(u"twit")), QStringLiteral("twit"));
    for (const char* ignored : {"mkt", "whats", "ia", "nav", "menu", ""})
        EXPECT_EQ(keyOf(catalogue::rowByArgumentWord(QString::fromLatin1(ignored))), QStringLiteral("<none>"))
            << ignored;
}

TEST(Catalogue, InstallPaths)
{
    const auto native = [](const char* path) { return QDir::toNativeSeparators(QString::fromUtf8(path)); };
    const QString pf = native("/opt");
    EXPECT_EQ(catalogue::installPath(*catalogue::rowByKey(u"face"), pf), native("/opt/Quorvel Face/quorface.exe"));
    // The Messages tile installs under its display word.
    EXPECT_EQ(catalogue::installPath(*catalogue::rowByKey(u"whats"), pf), native("/opt/Quorvel Whats/quorwhat.exe"));
    EXPECT_EQ(catalogue::installPath(*catalogue::rowByKey(u"nav"), pf), native("/opt/Quorvel/Navigator/libcef.dll"));
    EXPECT_EQ(catalogue::installPath(*catalogue::rowByKey(u"sms"), QString()), native("/Quorvel SMS/quorsms.exe"));
}

TEST(Catalogue, TableIsConsistent)
{
    QSet<QString> keys, versionSlots, links, archives;
    int tiles = 0;
    for (const CatalogueRow& row : catalogue::rows()) {
        keys.insert(row.key);
        versionSlots.insert(QString::number(static_cast<int>(row.versionSlot)));
        archives.insert(row.archive);
        if (!row.linkGroup.isEmpty())
            links.insert(row.linkGroup);
        if (row.hasTile()) {
            ++tiles;
            EXPECT_EQ(QString(row.installFolder), QStringLiteral("/Quorvel ") + row.displayWord + u'/') << row.key;
            EXPECT_NE(row.imageTag, 0);
            EXPECT_NE(row.captionTag, 0);
            EXPECT_EQ(catalogue::rowByElementName(QStringLiteral("img_") + row.tileSuffix), &row) << row.key;
            EXPECT_EQ(catalogue::rowByElementName(QStringLiteral("label_") + row.tileSuffix), &row) << row.key;
        }
    }
    EXPECT_EQ(tiles, 10);
    EXPECT_EQ(keys.size(), 12);
    EXPECT_EQ(versionSlots.size(), 12);
    EXPECT_FALSE(versionSlots.contains(QStringLiteral("12")));
    EXPECT_EQ(links.size(), 11);
    EXPECT_EQ(archives.size(), 12);
}

TEST(Catalogue, LatestVersionsArePublishedWhole)
{
    LatestVersions versions;
    const CatalogueRow& tele = *catalogue::rowByKey(u"tele");
    EXPECT_TRUE(catalogue::latestVersion(tele, versions).isEmpty());
    versions.set(VersionSlot::vrsTele, QStringLiteral("2.4.1"));
    EXPECT_EQ(catalogue::latestVersion(tele, versions), QStringLiteral("2.4.1"));
    EXPECT_TRUE(versions.get(VersionSlot::vrsTik).isEmpty());

    // A reader racing a writer sees one of the two texts, never a mix or a torn value.
    const QString a(64, u'a');
    const QString b(128, u'b');
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int i = 0; !stop; ++i)
            versions.set(VersionSlot::vrsFace, i % 2 ? a : b);
    });
    for (int i = 0; i < 20000; ++i) {
        const QString seen = versions.get(VersionSlot::vrsFace);
        ASSERT_TRUE(seen.isEmpty() || seen == a || seen == b);
    }
    stop = true;
    writer.join();
}

TEST(Catalogue, AsciiCaseOnlyTouchesAsciiLetters)
{
    EXPECT_EQ(asciiUpper(u"quorface.exe"), QStringLiteral("QUORFACE.EXE"));
    EXPECT_EQ(asciiUpper(u"ação"), QStringLiteral("AçãO"));
    EXPECT_EQ(asciiLower(u"ÁGUA"), QStringLiteral("Água"));
}
