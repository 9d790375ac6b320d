#pragma once

#include <QByteArray>
#include <QString>
#include <zip.h>

// Writes a real zip archive for the tests, entry by entry.
class ZipBuilder
{
public:
    explicit ZipBuilder(const QString& path)
    {
        int error = 0;
        m_archive = zip_open(path.toLocal8Bit().constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    }
    ~ZipBuilder() { close(); }
    ZipBuilder(const ZipBuilder&) = delete;
    ZipBuilder& operator=(const ZipBuilder&) = delete;

    // `mode`: the Unix permission bits stored with the entry.
    // `stored`: kept uncompressed, so a test can damage the data itself.
    ZipBuilder& add(const QString& name, const QByteArray& content, unsigned mode = 0644, bool stored = false)
    {
        if (!m_archive)
            return *this;
        // libzip frees the copy once written; it does not take an empty one.
        char* copy = nullptr;
        if (!content.isEmpty()) {
            copy = static_cast<char*>(malloc(size_t(content.size())));
            memcpy(copy, content.constData(), size_t(content.size()));
        }
        zip_source_t* source = zip_source_buffer(m_archive, copy, zip_uint64_t(content.size()), copy ? 1 : 0);
        const zip_int64_t index = zip_file_add(m_archive, name.toUtf8().constData(), source, ZIP_FL_OVERWRITE);
        if (index < 0) {
            zip_source_free(source);
            return *this;
        }
        if (stored)
            zip_set_file_compression(m_archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
        zip_file_set_external_attributes(m_archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX, (0100000u | mode) << 16);
        return *this;
    }

    bool close()
    {
        if (!m_archive)
            return false;
        const bool ok = zip_close(m_archive) == 0;
        if (!ok)
            zip_discard(m_archive);
        m_archive = nullptr;
        return ok;
    }

private:
    zip_t* m_archive = nullptr;
};
