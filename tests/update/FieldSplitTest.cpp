#include "update/FieldSplit.h"

#include "common/LatestVersions.h"
#include "common/QtCompat.h"
#include "support/QtPrinters.h"
#include "support/VersionAnswers.h"
#include "update/VersionAnswer.h"

#include <gtest/gtest.h>

using namespace quorvel;
using quorvel::fakes::exampleVersionAnswer;

TEST(FieldSplit, SeparatorsQuotesAndEmptyFields)
{
    const struct
    {
        QString text;
        QStringList fields;
    } cases[] = {
        {QString(), {}},
        {QStringLiteral("ok"), {QStringLiteral("ok")}},
        {QStringLiteral("  \t\r\nok;1"), {QStringLiteral("ok"), QStringLiteral("1")}},
        // Blanks separate just as ";" does, and runs of them count once.
        {QStringLiteral("ok;a b;c"),
         {QStringLiteral("ok"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        {QStringLiteral("a ; \n b"), {QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("a;;b"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {QStringLiteral(";a"), {QString(), QStringLiteral("a")}},
        // Only a ";" that is the very last character adds a final empty field.
        {QStringLiteral("a;"), {QStringLiteral("a"), QString()}},
        {QStringLiteral("a; "), {QStringLiteral("a")}},
        {QStringLiteral("a;;"), {QStringLiteral("a"), QString(), QString()}},
        // Quotes group blanks and ";", "" stands for one quote, and a quote closes a field.
        {QStringLiteral("\"a b;c\";d"), {QStringLiteral("a b;c"), QStringLiteral("d")}},
        {QStringLiteral("\"say \"\"hi\"\"\""), {QStringLiteral("say \"hi\"")}},
        {QStringLiteral("\"ab\"cd"), {QStringLiteral("ab"), QStringLiteral("cd")}},
        {QStringLiteral("\"\";x"), {QString(), QStringLiteral("x")}},
        {QStringLiteral("\"open to the end"), {QStringLiteral("open to the end")}},
        // A quote inside an unquoted field is an ordinary character.
        {QStringLiteral("a\"b;c"), {QStringLiteral("a\"b"), QStringLiteral("c")}},
        {QStringLiteral("ç|ü;\u00a0x"), {QStringLiteral("ç|ü"), QStringLiteral("\u00a0x")}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitFields(c.text), c.fields) << c.text;
}

TEST(VersionAnswer, FieldsFillTheSlotsInOrder)
{
    LatestVersions latest;
    std::atomic<bool> showWhats{true};
    ASSERT_TRUE(version_answer::storeFields(splitFields(exampleVersionAnswer()), latest, showWhats));
    const std::pair<VersionSlot, const char*> expected[] = {
        {VersionSlot::vrsTwit, "2.41"},  {VersionSlot::vrsFace, "5.12"},  {VersionSlot::vrsContact, "1.30"},
        {VersionSlot::vrsInsta, "4.07"}, {VersionSlot::vrsWhats, "3.55"}, {VersionSlot::vrsTube, "2.08"},
        {VersionSlot::vrsSms, "1.64"},   {VersionSlot::vrsMenu, "1.78"},  {VersionSlot::vrsTele, "2.93"},
        {VersionSlot::vrsTik, "1.17"},   {VersionSlot::vrsLx, "1.02"},    {VersionSlot::vrsNav, "109"},
    };
    for (const auto& [slot, version] : expected)
        EXPECT_EQ(latest.get(slot), QLatin1StringView(version)) << int(slot);
    EXPECT_FALSE(showWhats);

    // Only the fourth character of field 42 counts, and only a lower-case f.
    for (const char* flag : {"000F", "00f", "", "0000"}) {
        showWhats = false;
        EXPECT_TRUE(
            version_answer::storeFields(splitFields(exampleVersionAnswer(QLatin1StringView(flag))), latest, showWhats));
        EXPECT_TRUE(showWhats) << flag;
    }
}

TEST(VersionAnswer, TooFewFieldsStoreWhatCameAndFail)
{
    LatestVersions latest;
    std::atomic<bool> showWhats{true};
    EXPECT_FALSE(version_answer::storeFields(splitFields(u"ok;2.41;5.12;1.30"), latest, showWhats));
    EXPECT_EQ(latest.get(VersionSlot::vrsContact), QStringLiteral("1.30"));
    EXPECT_EQ(latest.get(VersionSlot::vrsInsta), QString());

    // Fields up to 13 but not 42: every slot is filled, the flag is not touched.
    LatestVersions more;
    EXPECT_FALSE(version_answer::storeFields(splitFields(exampleVersionAnswer().left(70)), more, showWhats));
    EXPECT_EQ(more.get(VersionSlot::vrsNav), QStringLiteral("109"));
    EXPECT_TRUE(showWhats);
}

TEST(VersionAnswer, AdvertisementSection)
{
    using version_answer::advertisement;
    EXPECT_FALSE(advertisement(QStringLiteral("ok;1;2;add;x")));
    const struct
    {
        const char* body;
        const char* text;
        const char* link;
    } cases[] = {
        {"ok;x;ad;1|Novo curso gratuito|https://l.test/a", "Novo curso gratuito", "https://l.test/a"},
        {"ok;ad;1|Promo|https://l.test/a;", "Promo", "https://l.test/a"},
        // The link runs to the end of the body, bars and all.
        {"ok;ad;1|Promo|https://l.test/?a|b", "Promo", "https://l.test/?a|b"},
        {"ok;ad;x|Promo", "Promo", "Promo"},
        {"ok;ad;Promo;", "Promo;", "Promo"},
        {"ok;ad;", "", ""},
        // The first "ad;" anywhere opens the section, even at the end of a longer field.
        {"ok;upload;1|Early|L;ad;2|Late|M", "Early", "L;ad;2|Late|M"},
    };
    for (const auto& c : cases) {
        const auto ad = advertisement(QString::fromUtf8(c.body));
        ASSERT_TRUE(ad) << c.body;
        EXPECT_EQ(ad->text, QString::fromUtf8(c.text)) << c.body;
        EXPECT_EQ(ad->link, QString::fromUtf8(c.link)) << c.body;
    }
}
