#include "common/WindowsVersion.h"

#include "common/QtCompat.h"

#include <QFile>

namespace quorvel::windows_version {

namespace {

// Digit pairs that only current releases (10, 11, Server 2019 and later) carry in their names.
constexpr QLatin1StringView kCurrentMarkers[] = {
    QLatin1StringView("10"), QLatin1StringView("11"), QLatin1StringView("19"), QLatin1StringView("22"),
    QLatin1StringView("23"), QLatin1StringView("24"), QLatin1StringView("25"),
};

// Lines end at CR LF, LF or CR; each comes back followed by CR LF.
QString joinedLines(const QString& text)
{
    QString result;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text.at(end) != u'\r' && text.at(end) != u'\n')
            ++end;
        result += text.mid(start, end - start) + QStringLiteral("\r\n");
        if (end < text.size() && text.at(end) == u'\r' && end + 1 < text.size() && text.at(end + 1) == u'\n')
            ++end;
        start = end + 1;
    }
    return result;
}

} // namespace

QString winversion(const QString& dataFolder, const ProductNameReader& readProductName,
                   const std::function<void(const QString&)>& log)
{
    QFile override(dataFolder + u'/' + kOverrideFile);
    if (override.exists()) {
        // An override that cannot be read names no release, as an unreadable registry does.
        if (!override.open(QIODevice::ReadOnly)) {
            log(QStringLiteral("wve ") + override.errorString());
            return {};
        }
        // Only its digits matter; UTF-8 (with or without a byte-order mark) covers what people type there.
        return joinedLines(qtcompat::decode(override.readAll(), qtcompat::Encoding::Utf8));
    }
    QString error;
    const QString name = readProductName(&error);
    if (!error.isEmpty()) {
        log(QStringLiteral("wve ") + error);
        return {};
    }
    return name;
}

bool isOldWindowsName(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (const QLatin1StringView marker : kCurrentMarkers) {
        if (name.contains(marker))
            return false;
    }
    return true;
}

QString bool2str(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

} // namespace quorvel::windows_version
