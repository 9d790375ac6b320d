#pragma once

#include "common/QtCompat.h"

#include <QString>

namespace quorvel {

class ByteSource;

// The FileVersion text of a PE file's version resource, looked up as the Windows version API does: the first
// translation listed under VarFileInfo names the string table. Empty when the file has none or is malformed.
QString peFileVersion(ByteSource& source);
QString peFileVersion(QByteArrayView data);

} // namespace quorvel
