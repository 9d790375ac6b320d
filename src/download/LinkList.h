#pragma once

#include "common/QtCompat.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace quorvel {

// The "/ldl.php" answer: after "ok", one download link per product in fixed odd item positions, and the rules that
// pick a product's link for a download attempt.
namespace link_list {

struct StoredLink
{
    QLatin1StringView group; // linkh ... linko
    QString link;            // in stored form
};

struct ReadLinks
{
    QList<StoredLink> links; // in storing order, up to the first missing item
    bool complete = false;
    QString error; // the index error when an item was missing
};

// The answer counts only when it starts with "ok", exactly so.
bool isAccepted(const QString& answer);

// Takes the link items from the split answer in storing order: 1, 3, 5, 7, 9, 17, 19, 11, 13, 15, 21.
ReadLinks readLinks(const QStringList& items);

// Links are kept with every "https" turned into "http"; an attempt turns them back (secureLink), whatever the
// letter case of the scheme.
QString storedForm(QString link);
QString secureLink(QString link);

// The link group a product key downloads from; empty when none serves it. "nav" has fixed links instead.
QLatin1StringView groupFor(const QString& source);

// The browser application's installer on the vendor's server: runtime 109 on old Windows releases.
QString browserApplicationLink(bool oldWindows, const QString& cefVersion);

// The launcher's own archive and program for old Windows releases carry "_w7" before the extension.
QString oldWindowsLink(QString link);

// A link without its scheme and "www.", for captions.
QString shortLink(QString link);

} // namespace link_list

} // namespace quorvel
