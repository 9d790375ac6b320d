#include "common/Descrambler.h"

#include "common/ScrambledText.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using quorvel::dcp;

namespace {

QString units(std::initializer_list<char16_t> list)
{
    return QString(reinterpret_cast<const QChar*>(std::data(list)), static_cast<qsizetype>(list.size()));
}

const QString kFirst = QStringLiteral("&q!w#+%r@m");
const QString kSecond = QStringLiteral("t418pw;j");

} // namespace

TEST(Descrambler, ShiftsEachUnitBackByPositionPlusThree)
{
    EXPECT_EQ(dcp(QStringLiteral("dfh")), QStringLiteral("abc"));
    EXPECT_EQ(dcp(QString()), QString());
    // Non-ASCII units shift like any other: U+00E9 at position 0 comes from U+00EC.
    EXPECT_EQ(dcp(units({0x00EC})), units({0x00E9}));
    // Below position + 3 the unit wraps around 65536.
    EXPECT_EQ(dcp(units({1})), units({65534}));
    EXPECT_EQ(dcp(units({0, 0})), units({65533, 65532}));
    // A result unit that looks like a byte-order mark is kept like any other.
    EXPECT_EQ(dcp(units({0xFF02, 0x0003})), units({0xFEFF, 0xFFFF}));
}

TEST(Descrambler, RemovesMarkersBeforeCountingPositions)
{
    EXPECT_EQ(dcp(kFirst + kSecond + kFirst), QString());
    EXPECT_EQ(dcp(kFirst + QStringLiteral("d") + kSecond + QStringLiteral("fh") + kFirst), QStringLiteral("abc"));
    // A second marker split by a first one is joined by the first removal and then removed itself.
    EXPECT_EQ(dcp(QStringLiteral("t418") + kFirst + QStringLiteral("pw;jdfh")), QStringLiteral("abc"));
    // A first marker split by a second one is joined only after its own removal pass, so it stays and is shifted.
    const QString joinedFirst = dcp(QStringLiteral("&q!w#") + kSecond + QStringLiteral("+%r@m"));
    EXPECT_EQ(joinedFirst.size(), kFirst.size());
    EXPECT_EQ(joinedFirst.at(0), QChar(u'&' - 3));
}

TEST(Descrambler, RemovesNonOverlappingOccurrencesInOnePass)
{
    // Removing the inner marker forms a new one from its neighbours; that one stays and is shifted.
    const QString nested = QStringLiteral("t418") + kSecond + QStringLiteral("pw;j");
    const QString result = dcp(nested);
    ASSERT_EQ(result.size(), kSecond.size());
    EXPECT_EQ(result.at(0), QChar(u't' - 3));
}

TEST(Descrambler, CompileTimeScramblingRoundTrips)
{
    static constexpr auto kPlain = quorvel::scrambling::scramble(u"/VERYSILENT /SP- \"Instalação\"");
    static constexpr auto kEmpty = quorvel::scrambling::scramble(u"");
    const QString stored = kPlain.text();
    EXPECT_FALSE(stored.contains(QStringLiteral("VERYSILENT")));
    EXPECT_TRUE(stored.contains(kFirst));
    EXPECT_EQ(dcp(stored), QStringLiteral("/VERYSILENT /SP- \"Instalação\""));
    EXPECT_EQ(dcp(kEmpty.text()), QString());
}
