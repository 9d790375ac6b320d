#include "common/WebAddress.h"

#include "common/QtCompat.h"

namespace quorvel {

namespace {

bool isHostCharacter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'.' || c == u'-';
}

QString asciiLowered(QStringView text)
{
    QString result = text.toString();
    for (QChar& c : result) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return result;
}

} // namespace

std::optional<WebAddress> parseWebAddress(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() <= 32 || c == u'\\' || c == u'"' || c.unicode() == 0x7f)
            return std::nullopt;
    }
    const qsizetype schemeEnd = text.indexOf(QLatin1StringView("://"));
    if (schemeEnd <= 0)
        return std::nullopt;
    WebAddress address;
    address.scheme = asciiLowered(QStringView(text).left(schemeEnd));
    for (const QChar c : std::as_const(address.scheme)) {
        if (!(c >= u'a' && c <= u'z'))
            return std::nullopt;
    }
    const qsizetype authorityStart = schemeEnd + 3;
    qsizetype authorityEnd = authorityStart;
    while (authorityEnd < text.size() && text.at(authorityEnd) != u'/' && text.at(authorityEnd) != u'?' &&
           text.at(authorityEnd) != u'#')
        ++authorityEnd;
    const QString authority = asciiLowered(QStringView(text).mid(authorityStart, authorityEnd - authorityStart));
    const qsizetype colon = authority.indexOf(u':');
    address.host = colon < 0 ? authority : authority.left(colon);
    address.port = colon < 0 ? QString() : authority.mid(colon + 1);
    if (address.host.isEmpty() || address.host.startsWith(u'.') || address.host.endsWith(u'.'))
        return std::nullopt;
    for (const QChar c : std::as_const(address.host)) {
        if (!isHostCharacter(c))
            return std::nullopt;
    }
    if (colon >= 0 && (address.port.isEmpty() || address.port.size() > 5))
        return std::nullopt;
    for (const QChar c : std::as_const(address.port)) {
        if (!(c >= u'0' && c <= u'9'))
            return std::nullopt;
    }
    return address;
}

bool isHttpsWebAddress(const QString& text)
{
    const auto address = parseWebAddress(text);
    return address && address->scheme == QLatin1StringView("https");
}

} // namespace quorvel
