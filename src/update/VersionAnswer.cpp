#include "update/VersionAnswer.h"

#include "common/LatestVersions.h"
#include "common/QtCompat.h"

namespace quorvel::version_answer {

namespace {

constexpr int kMessagesFlagField = 42;

// Everything after the first "|"; the whole text when it holds none.
QString afterBar(const QString& text)
{
    const qsizetype bar = text.indexOf(u'|');
    return bar < 0 ? text : text.mid(bar + 1);
}

} // namespace

bool isAccepted(const QString& body)
{
    return body.startsWith(QLatin1StringView("ok"));
}

QString withSecureLinks(QString body)
{
    return body.replace(QLatin1StringView("http://"), QLatin1StringView("https://"));
}

bool storeFields(const QStringList& fields, LatestVersions& latest, std::atomic<bool>& showWhats)
{
    static constexpr VersionSlot kSlots[] = {
        VersionSlot::vrsTwit,  VersionSlot::vrsFace, VersionSlot::vrsContact, VersionSlot::vrsInsta,
        VersionSlot::vrsWhats, VersionSlot::vrsTube, VersionSlot::vrsSms,     VersionSlot::vrsMenu,
        VersionSlot::vrsTele,  VersionSlot::vrsTik,  VersionSlot::vrsLx,      VersionSlot::vrsNav,
    };
    for (const VersionSlot slot : kSlots) {
        const int field = static_cast<int>(slot); // slots are numbered after their field
        if (field >= fields.size())
            return false;
        latest.set(slot, fields[field]);
    }
    if (kMessagesFlagField >= fields.size())
        return false;
    const QString& flag = fields[kMessagesFlagField];
    showWhats = !(flag.size() >= 4 && flag[3] == u'f');
    return true;
}

std::optional<Advertisement> advertisement(const QString& body)
{
    static constexpr QLatin1StringView kOpening("ad;");
    const qsizetype opening = body.indexOf(kOpening);
    if (opening < 0)
        return std::nullopt;
    const QString rest = body.mid(opening + kOpening.size());

    Advertisement ad;
    ad.text = afterBar(rest);
    if (const qsizetype bar = ad.text.indexOf(u'|'); bar >= 0)
        ad.text.truncate(bar);
    ad.link = afterBar(afterBar(rest));
    if (ad.link.endsWith(u';'))
        ad.link.chop(1);
    return ad;
}

} // namespace quorvel::version_answer
