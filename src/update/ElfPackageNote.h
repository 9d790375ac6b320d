#pragma once

#include "common/QtCompat.h"

#include <QString>

namespace quorvel {

class ByteSource;

// The "version" of the packaging metadata that linkers store in an ELF file's .note.package note (owner "FDO"): a
// JSON object such as {"type":"deb","name":"x","version":"2.4.1.0"}. Empty when there is no such note, the JSON
// has no string "version", or the file is malformed.
QString elfPackageVersion(ByteSource& source);
QString elfPackageVersion(QByteArrayView data);

} // namespace quorvel
