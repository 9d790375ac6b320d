#include "download/LinkList.h"

#include "common/QtCompat.h"
#include "common/VendorHost.h"

namespace quorvel::link_list {

namespace {

struct ItemGroup
{
    int item;
    QLatin1StringView group;
};

// The storing order; the server lists the products in item order, the launcher stores them in this one.
constexpr ItemGroup kItemGroups[] = {
    {1, QLatin1StringView("linkh")},  {3, QLatin1StringView("linkf")},  {5, QLatin1StringView("linkt")},
    {7, QLatin1StringView("linki")},  {9, QLatin1StringView("linkw")},  {17, QLatin1StringView("linkl")},
    {19, QLatin1StringView("linkk")}, {11, QLatin1StringView("linku")}, {13, QLatin1StringView("links")},
    {15, QLatin1StringView("linkm")}, {21, QLatin1StringView("linko")},
};

} // namespace

bool isAccepted(const QString& answer)
{
    return answer.startsWith(QLatin1StringView("ok"));
}

ReadLinks readLinks(const QStringList& items)
{
    ReadLinks result;
    for (const ItemGroup& entry : kItemGroups) {
        if (entry.item >= items.size()) {
            result.error = QStringLiteral("List index out of bounds (%1)").arg(entry.item);
            return result;
        }
        result.links.append({entry.group, storedForm(items[entry.item])});
    }
    result.complete = true;
    return result;
}

QString storedForm(QString link)
{
    return link.replace(QLatin1StringView("https"), QLatin1StringView("http"));
}

QString secureLink(QString link)
{
    link.replace(QLatin1StringView("http://"), QLatin1StringView("https://"));
    // A scheme is a scheme in any letter case; "HTTP://" must not slip through in clear text.
    if (link.startsWith(QLatin1StringView("http://"), Qt::CaseInsensitive))
        link.replace(0, 7, QLatin1StringView("https://"));
    return link;
}

QLatin1StringView groupFor(const QString& source)
{
    // Tested in this order; the first that holds wins. Some keys match by part, so the order matters.
    if (source == QLatin1StringView("twit"))
        return QLatin1StringView("linkh");
    if (source.contains(QLatin1StringView("face")))
        return QLatin1StringView("linkf");
    if (source == QLatin1StringView("contact") || source == QLatin1StringView("cont"))
        return QLatin1StringView("linkt");
    if (source.contains(QLatin1StringView("inst")))
        return QLatin1StringView("linki");
    if (source.contains(QLatin1StringView("what")))
        return QLatin1StringView("linkw");
    if (source == QLatin1StringView("tube"))
        return QLatin1StringView("linku");
    if (source == QLatin1StringView("sms"))
        return QLatin1StringView("links");
    if (source == QLatin1StringView("tele"))
        return QLatin1StringView("linkl");
    if (source == QLatin1StringView("tik"))
        return QLatin1StringView("linkk");
    if (source == QLatin1StringView("lx"))
        return QLatin1StringView("linko");
    if (source == QLatin1StringView("menu"))
        return QLatin1StringView("linkm");
    return {};
}

QString browserApplicationLink(bool oldWindows, const QString& cefVersion)
{
    const QString runtime = oldWindows ? QStringLiteral("109") : cefVersion;
    return vendorAddress(QStringLiteral("/app/quornav_") + runtime + QStringLiteral(".exe"));
}

QString oldWindowsLink(QString link)
{
    link.replace(QLatin1StringView(".zip"), QLatin1StringView("_w7.zip"));
    return link.replace(QLatin1StringView(".exe"), QLatin1StringView("_w7.exe"));
}

QString shortLink(QString link)
{
    link.remove(QLatin1StringView("https://"));
    link.remove(QLatin1StringView("http://"));
    return link.remove(QLatin1StringView("www."));
}

} // namespace quorvel::link_list
