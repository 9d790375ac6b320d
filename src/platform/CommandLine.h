#pragma once

#include <QString>
#include <QStringList>

namespace quorvel::platform {

// Splits a parameter text into arguments the way a Windows program's runtime does (blanks and tabs separate,
// double quotes group and are removed, backslashes escape quotes only), so products receive the same arguments on
// every system.
QStringList splitWindowsArguments(const QString& parameters);

} // namespace quorvel::platform
