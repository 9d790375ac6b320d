#include "platform/CommandLine.h"

namespace quorvel::platform {

QStringList splitWindowsArguments(const QString& parameters)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    int quoteCount = 0;     // odd while inside a quoted part
    int backslashCount = 0; // backslashes just before the current character

    const qsizetype n = parameters.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = parameters.at(i);
        if ((c == u' ' || c == u'\t') && quoteCount == 0) {
            if (inArgument) {
                arguments.append(current);
                current.clear();
                inArgument = false;
            }
            backslashCount = 0;
            ++i;
            continue;
        }
        inArgument = true;
        if (c == u'\\') {
            current.append(c);
            ++backslashCount;
            ++i;
            continue;
        }
        if (c != u'"') {
            current.append(c);
            backslashCount = 0;
            ++i;
            continue;
        }
        if (backslashCount % 2 == 0) {
            // 2n backslashes and a quote: n backslashes, and the quote opens or closes a quoted part.
            current.chop(backslashCount / 2);
            ++quoteCount;
        } else {
            // 2n+1 backslashes and a quote: n backslashes and a literal quote.
            current.chop(backslashCount / 2 + 1);
            current.append(u'"');
        }
        backslashCount = 0;
        ++i;
        // Runs of quotes: every third one is literal ("a""b" gives a"b).
        while (i < n && parameters.at(i) == u'"') {
            if (++quoteCount == 3) {
                current.append(u'"');
                quoteCount = 0;
            }
            ++i;
        }
        if (quoteCount == 2)
            quoteCount = 0;
    }
    if (inArgument)
        arguments.append(current);
    return arguments;
}

} // namespace quorvel::platform
