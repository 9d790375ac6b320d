#include "update/FieldSplit.h"

namespace quorvel {

namespace {

constexpr QChar kDelimiter = u';';
constexpr QChar kQuote = u'"';

bool isBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 32;
}

// The quoted field starting at `at`; `at` ends past the closing quote, or at the end when there is none.
QString quotedField(QStringView text, qsizetype& at)
{
    QString field;
    ++at; // the opening quote
    while (at < text.size()) {
        const QChar c = text[at];
        if (c == kQuote) {
            if (at + 1 < text.size() && text[at + 1] == kQuote) {
                field.append(kQuote);
                at += 2;
                continue;
            }
            ++at;
            break;
        }
        field.append(c);
        ++at;
    }
    return field;
}

} // namespace

QStringList splitFields(QStringView text)
{
    QStringList fields;
    qsizetype at = 0;
    while (at < text.size() && isBlank(text[at]))
        ++at;
    while (at < text.size()) {
        if (text[at] == kQuote) {
            fields.append(quotedField(text, at));
        } else {
            const qsizetype start = at;
            while (at < text.size() && text[at] != kDelimiter && !isBlank(text[at]))
                ++at;
            fields.append(text.mid(start, at - start).toString());
        }
        while (at < text.size() && isBlank(text[at]))
            ++at;
        if (at < text.size() && text[at] == kDelimiter) {
            if (at + 1 == text.size())
                fields.append(QString());
            ++at;
            while (at < text.size() && isBlank(text[at]))
                ++at;
        }
    }
    return fields;
}

} // namespace quorvel
