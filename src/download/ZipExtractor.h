#pragma once

#include <QString>

namespace quorvel {

// Takes one named entry out of a zip archive into a folder, as the install step's archive component does.
namespace zip_extractor {

struct Limits
{
    // A small archive must not fill the disk: larger entries are refused.
    qint64 maxEntryBytes = qint64(4) * 1024 * 1024 * 1024;
};

// Extracts the entry `name` of `archive` into `folder` (no sub-folders are created), overwriting a file there.
// The entry's name matches in any ASCII letter case, as on Windows, and may also sit in a sub-folder of the archive
// when the root holds none. The file appears under `name` only once it is whole and its checksum matched, with the
// Unix mode bits stored for it, less any write permission for others. Returns the error text, empty on success.
QString extractEntry(const QString& archive, const QString& name, const QString& folder, Limits limits = {});

} // namespace zip_extractor

} // namespace quorvel
