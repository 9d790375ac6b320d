#include "update/VersionNumbers.h"

#include "common/QtCompat.h"

namespace quorvel {

namespace {

constexpr qsizetype kComparedDigits = 3;

QString withoutPoints(QString text)
{
    return text.remove(u'.');
}

} // namespace

bool isProductCurrent(const QString& installed, const QString& latest, const QString& displayWord)
{
    QString i = installed;
    // The browser runtime's version starts with its three-digit major number (109.1.18.0).
    if (displayWord == QLatin1StringView("Nav"))
        i = i.left(kComparedDigits);
    i = withoutPoints(i).left(kComparedDigits);
    return i == withoutPoints(latest);
}

bool launcherUpdateNeeded(const QString& latestLauncherVersion)
{
    const QString own = withoutPoints(QString::fromLatin1(kLauncherVersion)).left(kComparedDigits);
    const QString latest = withoutPoints(latestLauncherVersion);
    if (latest.isEmpty() || latest == own)
        return false;
    bool ownIsNumber = false;
    bool latestIsNumber = false;
    const qlonglong ownNumber = own.toLongLong(&ownIsNumber);
    const qlonglong latestNumber = latest.toLongLong(&latestIsNumber);
    // A version that is no number (1.8b) differs from ours and so asks for the update.
    const bool runningIsNewer = ownIsNumber && latestIsNumber && ownNumber > latestNumber;
    return !runningIsNewer;
}

} // namespace quorvel
