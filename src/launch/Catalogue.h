#pragma once

#include "common/LatestVersions.h"
#include "common/QtCompat.h"

#include <QString>
#include <span>

namespace quorvel {

// Everything the launcher knows about one product, fixed at build time.
struct CatalogueRow
{
    QLatin1StringView key;         // names the product to the download dialog
    QLatin1StringView displayWord; // part of the install folder; searched in path.dat
    QLatin1StringView matchWord;   // selects the row when it occurs in a clicked element's name
    QLatin1StringView tileSuffix;  // p_<suffix>, img_<suffix>, label_<suffix>; empty without a tile
    QLatin1StringView caption;
    QLatin1StringView archive;       // downloaded into the data folder
    QLatin1StringView file;          // presence means installed; its version is the installed version
    QLatin1StringView installFolder; // under Program Files, written with '/' and converted to native separators
    VersionSlot versionSlot;
    QLatin1StringView linkGroup;    // field of the download dialog holding the product's link; empty for fixed links
    QLatin1StringView argumentWord; // argument 1 that opens the product at start-up (compared in lower case)
    int imageTag = 0;               // tags of the tile image and caption; the panel's is always 1
    int captionTag = 0;

    bool hasTile() const { return !tileSuffix.isEmpty(); }
};

namespace catalogue {

inline constexpr int kTilePanelTag = 1;

// The twelve rows: ten tile products, the browser application "nav" and the launcher itself "menu".
std::span<const CatalogueRow> rows();

// The first row whose match word occurs in the (lower-cased) element name, tested in the fixed order nav, mkt, tik,
// lx, face, contact, insta, whats, tube, sms, tele; null when none occurs.
const CatalogueRow* rowByElementName(QStringView elementName);
// Exact, case-sensitive.
const CatalogueRow* rowByDisplayWord(QStringView displayWord);
const CatalogueRow* rowByKey(QStringView key);
const CatalogueRow* rowByTileSuffix(QStringView suffix);
// The tile product opened by argument 1 at start-up (the argument is compared in lower case); null when none.
const CatalogueRow* rowByArgumentWord(QStringView argument);

// Program Files + install folder + file, with native separators.
QString installPath(const CatalogueRow& row, const QString& programFiles);
// The current text of the row's version slot.
QString latestVersion(const CatalogueRow& row, const LatestVersions& versions);

} // namespace catalogue

// Upper and lower case of ASCII letters only, as the names the launcher compares are ASCII by nature and other
// letters must stay as they are.
QString asciiLower(QStringView text);
QString asciiUpper(QStringView text);

} // namespace quorvel
