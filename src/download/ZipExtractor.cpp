#include "download/ZipExtractor.h"

#include "common/QtCompat.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStorageInfo>
#include <algorithm>
#include <memory>
#include <optional>
#include <zip.h>

namespace quorvel::zip_extractor {

namespace {

struct ArchiveCloser
{
    void operator()(zip_t* archive) const { zip_discard(archive); } // read only: nothing to write back
};
struct EntryCloser
{
    void operator()(zip_file_t* entry) const { zip_fclose(entry); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;
using Entry = std::unique_ptr<zip_file_t, EntryCloser>;

QString archiveError(zip_t* archive)
{
    return QString::fromUtf8(zip_strerror(archive));
}

// The name as Windows compares file names: ASCII letters in either case are the same.
bool sameFileName(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size() && qstrnicmp(a.data(), a.size(), b.data(), b.size()) == 0;
}

// The index of the entry: at the root first, else the first in a sub-folder. Windows archivers may separate folders
// with a backslash instead of "/".
std::optional<zip_uint64_t> findEntry(zip_t* archive, const QByteArray& name)
{
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    std::optional<zip_uint64_t> nested;
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* entryName = zip_get_name(archive, zip_uint64_t(i), ZIP_FL_ENC_RAW);
        if (!entryName)
            continue;
        const QByteArrayView path(entryName);
        const qsizetype separator = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
        if (!sameFileName(path.sliced(separator + 1), name))
            continue;
        if (separator < 0)
            return zip_uint64_t(i);
        if (!nested)
            nested = zip_uint64_t(i);
    }
    return nested;
}

// The permission bits an archive made on a Unix system stores; nothing for other archives.
std::optional<QFileDevice::Permissions> storedPermissions(zip_t* archive, zip_uint64_t index)
{
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0 || system != ZIP_OPSYS_UNIX)
        return std::nullopt;
    // Nobody but the owner may change a program the launcher is about to run.
    const unsigned mode = (attributes >> 16) & 0755;
    if (mode == 0)
        return std::nullopt;
    QFileDevice::Permissions permissions;
    const std::pair<unsigned, QFileDevice::Permission> bits[] = {
        {0400, QFileDevice::ReadOwner}, {0200, QFileDevice::WriteOwner}, {0100, QFileDevice::ExeOwner},
        {0040, QFileDevice::ReadGroup}, {0020, QFileDevice::WriteGroup}, {0010, QFileDevice::ExeGroup},
        {0004, QFileDevice::ReadOther}, {0002, QFileDevice::WriteOther}, {0001, QFileDevice::ExeOther},
    };
    for (const auto& [bit, permission] : bits) {
        if (mode & bit)
            permissions |= permission;
    }
    // The owner must keep reading and writing its own file, or the next download cannot replace it.
    return permissions | QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
           QFileDevice::WriteUser;
}

} // namespace

QString extractEntry(const QString& archivePath, const QString& name, const QString& folder, Limits limits)
{
    // No consistency check on open: archives written to a pipe (bsdtar, Info-ZIP) keep sizes in data descriptors,
    // which that check refuses. Each entry's checksum is still verified as it is read.
    int openError = 0;
    Archive archive(zip_open(QFile::encodeName(archivePath).constData(), ZIP_RDONLY, &openError));
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, openError);
        const QString text = QString::fromUtf8(zip_error_strerror(&error));
        zip_error_fini(&error);
        return QStringLiteral("Não foi possível abrir %1: %2").arg(archivePath, text);
    }

    const QByteArray entryName = name.toUtf8();
    const auto index = findEntry(archive.get(), entryName);
    if (!index)
        return QStringLiteral("%1 não está no arquivo %2").arg(name, archivePath);

    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive.get(), *index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        return archiveError(archive.get());
    const QStorageInfo storage(folder);
    if (stat.size > zip_uint64_t(limits.maxEntryBytes) ||
        (storage.isValid() && stat.size > zip_uint64_t(storage.bytesAvailable())))
        return QStringLiteral("%1 é grande demais para ser extraído (%2 bytes)").arg(name).arg(stat.size);

    Entry entry(zip_fopen_index(archive.get(), *index, 0));
    if (!entry)
        return archiveError(archive.get());

    // Written under a temporary name and renamed when complete, so a broken archive never leaves half an installer.
    QSaveFile target(QDir(folder).filePath(name));
    if (!target.open(QIODevice::WriteOnly))
        return target.errorString();
    char buffer[64 * 1024];
    zip_uint64_t total = 0;
    for (;;) {
        const zip_int64_t read = zip_fread(entry.get(), buffer, sizeof buffer);
        if (read < 0) {
            const QString error = QString::fromUtf8(zip_file_strerror(entry.get()));
            target.cancelWriting();
            return error;
        }
        if (read == 0)
            break;
        total += zip_uint64_t(read);
        if (total > stat.size || target.write(buffer, read) != read) {
            target.cancelWriting();
            return total > stat.size ? QStringLiteral("%1 maior que o declarado no arquivo").arg(name)
                                     : target.errorString();
        }
    }
    if (total != stat.size) {
        target.cancelWriting();
        return QStringLiteral("%1 incompleto no arquivo").arg(name);
    }
    if (const auto permissions = storedPermissions(archive.get(), *index))
        target.setPermissions(*permissions);
    if (!target.commit())
        return target.errorString();
    return {};
}

} // namespace quorvel::zip_extractor
