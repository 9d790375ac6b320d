#include "common/Descrambler.h"

#include "common/ScrambledText.h"

namespace quorvel {

namespace {

// One left-to-right pass; occurrences formed only by the removal stay, as the scrambled data expects.
QString removeEvery(const QString& text, std::u16string_view markerText)
{
    const QStringView marker(markerText.data(), qsizetype(markerText.size()));
    QString result;
    result.reserve(text.size());
    qsizetype from = 0;
    for (qsizetype at = text.indexOf(marker); at >= 0; at = text.indexOf(marker, from)) {
        result.append(QStringView(text).mid(from, at - from));
        from = at + marker.size();
    }
    result.append(QStringView(text).mid(from));
    return result;
}

} // namespace

QString dcp(const QString& ent)
{
    const QString s = removeEvery(removeEvery(ent, scrambling::kFirstMarker), scrambling::kSecondMarker);
    QString result;
    result.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i)
        result.append(QChar(scrambling::unshift(s.at(i).unicode(), i)));
    return result;
}

} // namespace quorvel
