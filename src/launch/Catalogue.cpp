#include "launch/Catalogue.h"

#include "common/QtCompat.h"

#include <QDir>
#include <array>

namespace quorvel {

namespace {

using L = QLatin1StringView;
using enum VersionSlot;

// One product per line, in columns.
// clang-format off
constexpr std::array<CatalogueRow, 12> kRows{{
    // key      display    match      tile       caption                  archive          file            install folder           slot        link group  argument   tags
    {L("twit"), L("Twit"), L("mkt"), L("mkt"), L("Quorvel Twit"), L("quortwit.zip"), L("quortwit.exe"), L("/Quorvel Twit/"), vrsTwit, L("linkh"), L("twit"), 7, 14},
    {L("face"), L("Face"), L("face"), L("face"), L("Quorvel Face"), L("quorface.zip"), L("quorface.exe"), L("/Quorvel Face/"), vrsFace, L("linkf"), L("face"), 1, 8},
    {L("contact"), L("Contact"), L("contact"), L("contact"), L("Quorvel Contact"), L("quorcont.zip"), L("quorcont.exe"), L("/Quorvel Contact/"), vrsContact, L("linkt"), L("contact"), 6, 13},
    {L("insta"), L("Insta"), L("insta"), L("insta"), L("Quorvel Insta"), L("quorinst.zip"), L("quorinst.exe"), L("/Quorvel Insta/"), vrsInsta, L("linki"), L("insta"), 2, 9},
    {L("whats"), L("Whats"), L("whats"), L("whats"), L("Quorvel Messages"), L("quorwhat.zip"), L("quorwhat.exe"), L("/Quorvel Whats/"), vrsWhats, L("linkw"), L("messages"), 3, 10},
    {L("tube"), L("Tube"), L("tube"), L("tube"), L("Quorvel Tube"), L("quortube.zip"), L("quortube.exe"), L("/Quorvel Tube/"), vrsTube, L("linku"), L("tube"), 5, 12},
    {L("sms"), L("SMS"), L("sms"), L("sms"), L("Quorvel SMS"), L("quorsms.zip"), L("quorsms.exe"), L("/Quorvel SMS/"), vrsSms, L("links"), L("sms"), 4, 11},
    {L("tele"), L("Tele"), L("tele"), L("tele"), L("Quorvel Tele"), L("quortele.zip"), L("quortele.exe"), L("/Quorvel Tele/"), vrsTele, L("linkl"), L("tele"), 3, 10},
    {L("tik"), L("Tik"), L("tik"), L("tik"), L("Quorvel Tik"), L("quortik.zip"), L("quortik.exe"), L("/Quorvel Tik/"), vrsTik, L("linkk"), L("tik"), 3, 10},
    {L("lx"), L("LX"), L("lx"), L("lx"), L("Quorvel LX"), L("quorlx.zip"), L("quorlx.exe"), L("/Quorvel LX/"), vrsLx, L("linko"), L("lx"), 7, 14},
    // The browser application has no tile; only its runtime library's presence and version are used.
    {L("nav"), L("Nav"), L("nav"), L(""), L(""), L("quornav.zip"), L("libcef.dll"), L("/Quorvel/Navigator/"), vrsNav, L(""), L(""), 0, 0},
    // The launcher itself, reached only by its self-update.
    {L("menu"), L(""), L(""), L(""), L(""), L("quorvel.zip"), L(""), L(""), vrsMenu, L("linkm"), L(""), 0, 0},
}};
// clang-format on

// The order is part of the behaviour: the first word that occurs in the name wins.
constexpr std::array<L, 11> kMatchOrder{L("nav"),   L("mkt"),   L("tik"),  L("lx"),  L("face"), L("contact"),
                                        L("insta"), L("whats"), L("tube"), L("sms"), L("tele")};

template <typename Predicate>
const CatalogueRow* findRow(Predicate predicate)
{
    for (const CatalogueRow& row : kRows) {
        if (predicate(row))
            return &row;
    }
    return nullptr;
}

QString mapAscii(QStringView text, char16_t from, char16_t to, int delta)
{
    QString result = text.toString();
    for (QChar& c : result) {
        if (c.unicode() >= from && c.unicode() <= to)
            c = QChar(static_cast<char16_t>(c.unicode() + delta));
    }
    return result;
}

} // namespace

QString asciiLower(QStringView text)
{
    return mapAscii(text, u'A', u'Z', u'a' - u'A');
}

QString asciiUpper(QStringView text)
{
    return mapAscii(text, u'a', u'z', u'A' - u'a');
}

namespace catalogue {

std::span<const CatalogueRow> rows()
{
    return kRows;
}

const CatalogueRow* rowByElementName(QStringView elementName)
{
    const QString name = asciiLower(elementName);
    for (L word : kMatchOrder) {
        if (name.contains(word))
            return findRow([word](const CatalogueRow& row) { return row.matchWord == word; });
    }
    return nullptr;
}

const CatalogueRow* rowByDisplayWord(QStringView displayWord)
{
    if (displayWord.isEmpty())
        return nullptr;
    return findRow([displayWord](const CatalogueRow& row) { return row.displayWord == displayWord; });
}

const CatalogueRow* rowByKey(QStringView key)
{
    return findRow([key](const CatalogueRow& row) { return row.key == key; });
}

const CatalogueRow* rowByTileSuffix(QStringView suffix)
{
    if (suffix.isEmpty())
        return nullptr;
    return findRow([suffix](const CatalogueRow& row) { return row.tileSuffix == suffix; });
}

const CatalogueRow* rowByArgumentWord(QStringView argument)
{
    const QString word = asciiLower(argument);
    if (word.isEmpty())
        return nullptr;
    return findRow([&word](const CatalogueRow& row) { return row.argumentWord == word; });
}

QString installPath(const CatalogueRow& row, const QString& programFiles)
{
    return programFiles + QDir::toNativeSeparators(QString(row.installFolder) + row.file);
}

QString latestVersion(const CatalogueRow& row, const LatestVersions& versions)
{
    return versions.get(row.versionSlot);
}

} // namespace catalogue

} // namespace quorvel
