#pragma once

#include <QString>

namespace quorvel {

// Clearing the leftovers of earlier downloads from the data folder, and the file facts the install step needs.
namespace leftovers {

// Deletes every entry of `folder` matching the wildcard `pattern` (* and ?), hidden ones included; returns how many
// matched, whether or not they could be deleted (a sub-folder is counted and stays).
int deleteFiles(const QString& folder, const QString& pattern);

// Deletes the plain files in the folder of `dest` whose names start with the file name of `dest` up to its first
// "_" (the whole name without one): the earlier downloads of the same product.
void deleteOldVersions(const QString& dest);

// Removes the "part_1" and "part_2" folders an interrupted transfer may leave beside `dest`.
void deletePartFolders(const QString& dest);

// The part of a downloaded file's name that its versions share: up to and including the first "_" of the name
// before its first "."; empty when that part has no "_". quorface_12.zip gives quorface_.
QString versionPrefix(const QString& dest);

// Size in bytes, -1 when the file cannot be examined.
qint64 fileSize(const QString& path);

} // namespace leftovers

} // namespace quorvel
