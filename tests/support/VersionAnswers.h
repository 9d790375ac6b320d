#pragma once

#include <QString>

namespace quorvel::fakes {

// A version answer of the vendor's form with every field present: Face's latest version is 5.12, Navigator's 109;
// field 42 and the advertisement section are the caller's.
inline QString
exampleVersionAnswer(const QString& flag = QStringLiteral("000f"),
                     const QString& tail = QStringLiteral("ad;1|Novo curso gratuito|https://cursos.test/novo"))
{
    QString answer = QStringLiteral("ok;2.41;5.12;1.30;4.07;3.55;2.08;1.64;1.78;2.93;1.17;1.02;0;109");
    for (int field = 14; field <= 41; ++field)
        answer += QStringLiteral(";0");
    return answer + u';' + flag + u';' + tail;
}

} // namespace quorvel::fakes
