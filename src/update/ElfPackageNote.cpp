#include "update/ElfPackageNote.h"

#include "common/QtCompat.h"
#include "update/ByteSource.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <algorithm>
#include <optional>
#include <vector>

namespace quorvel {

namespace {

constexpr QByteArrayView kElfMagic("\177ELF", 4);
constexpr quint32 kPackageNoteType = 0xcafe1a7e;
constexpr QByteArrayView kPackageNoteOwner("FDO\0", 4);
constexpr QByteArrayView kPackageSectionName(".note.package\0", 14);
constexpr quint32 kSectionNoBits = 8;
constexpr quint32 kSegmentNote = 4;
constexpr quint64 kExtendedCount = 0xffff;
// Bounds on what a forged header can make the reader walk or load.
constexpr quint64 kMaxHeaders = 65536;
constexpr quint64 kMaxNotesBytes = 1024 * 1024;

struct Range
{
    quint64 offset = 0;
    quint64 size = 0;
    quint64 alignment = 4;
};

struct SectionHeader
{
    quint32 name = 0;
    quint32 type = 0;
    quint32 link = 0;
    quint32 info = 0;
    Range range;
};

class ElfFile
{
public:
    explicit ElfFile(ByteSource& source) : m_source(source) {}

    bool readHeader()
    {
        const auto ident = m_source.read(0, 16);
        if (!ident || !QByteArrayView(*ident).startsWith(kElfMagic))
            return false;
        const char elfClass = ident->at(4);
        const char encoding = ident->at(5);
        if ((elfClass != 1 && elfClass != 2) || (encoding != 1 && encoding != 2))
            return false;
        m_is64 = elfClass == 2;
        m_bigEndian = encoding == 2;

        const auto header = m_source.read(0, m_is64 ? 64 : 52);
        if (!header)
            return false;
        FieldReader fields(*header, m_bigEndian);
        const quint64 tail = m_is64 ? 0x30 : 0x24;
        if (m_is64) {
            m_segmentTable = fields.u64(0x20);
            m_sectionTable = fields.u64(0x28);
        } else {
            m_segmentTable = fields.u32(0x1c);
            m_sectionTable = fields.u32(0x20);
        }
        m_segmentEntrySize = fields.u16(tail + 6);
        m_segmentCount = fields.u16(tail + 8);
        m_sectionEntrySize = fields.u16(tail + 10);
        m_sectionCount = fields.u16(tail + 12);
        m_namesIndex = fields.u16(tail + 14);

        // Files with very many sections or segments keep the real counts in section 0.
        if (m_sectionTable != 0 &&
            (m_sectionCount == 0 || m_namesIndex == kExtendedCount || m_segmentCount == kExtendedCount)) {
            const auto first = section(0);
            if (first) {
                if (m_sectionCount == 0)
                    m_sectionCount = first->range.size;
                if (m_namesIndex == kExtendedCount)
                    m_namesIndex = first->link;
                if (m_segmentCount == kExtendedCount)
                    m_segmentCount = first->info;
            }
        }
        m_sectionCount = std::min(m_sectionCount, kMaxHeaders);
        m_segmentCount = std::min(m_segmentCount, kMaxHeaders);
        return fields.ok();
    }

    // The note section found by name, which survives in files whose segments were rearranged.
    std::optional<Range> packageSection()
    {
        if (m_sectionTable == 0 || m_namesIndex >= m_sectionCount)
            return std::nullopt;
        const auto names = section(m_namesIndex);
        if (!names)
            return std::nullopt;
        for (quint64 i = 0; i < m_sectionCount; ++i) {
            const auto candidate = section(i);
            if (!candidate)
                return std::nullopt;
            if (candidate->type != kSectionNoBits && hasName(*candidate, names->range))
                return candidate->range;
        }
        return std::nullopt;
    }

    // Note segments, for files whose section headers were stripped or damaged.
    std::vector<Range> noteSegments()
    {
        std::vector<Range> notes;
        const quint64 entrySize = m_is64 ? 56 : 32;
        if (m_segmentTable == 0 || m_segmentEntrySize < entrySize)
            return notes;
        for (quint64 i = 0; i < m_segmentCount; ++i) {
            const auto at = checkedAdd(m_segmentTable, i * m_segmentEntrySize);
            const auto entry = at ? m_source.read(*at, entrySize) : std::nullopt;
            if (!entry)
                break;
            FieldReader fields(*entry, m_bigEndian);
            if (fields.u32(0) != kSegmentNote)
                continue;
            if (m_is64)
                notes.push_back({fields.u64(8), fields.u64(32), fields.u64(48)});
            else
                notes.push_back({fields.u32(4), fields.u32(16), fields.u32(28)});
        }
        return notes;
    }

    QString versionIn(const Range& range)
    {
        const auto bytes = m_source.read(range.offset, std::min(range.size, kMaxNotesBytes));
        if (!bytes)
            return {};
        // Notes are padded to 4 bytes, or to 8 in the few note sections aligned so.
        const quint64 alignment = range.alignment == 8 ? 8 : 4;
        FieldReader fields(*bytes, m_bigEndian);
        const auto size = static_cast<quint64>(bytes->size());
        quint64 at = 0;
        while (at <= size && size - at >= 12) {
            const quint64 nameSize = fields.u32(at);
            const quint64 descriptionSize = fields.u32(at + 4);
            const quint32 type = fields.u32(at + 8);
            const quint64 nameAt = at + 12;
            const quint64 descriptionAt = nameAt + *alignUp(nameSize, alignment);
            if (descriptionAt > size || descriptionSize > size - descriptionAt)
                return {};
            if (type == kPackageNoteType && QByteArrayView(*bytes).sliced(nameAt, nameSize) == kPackageNoteOwner)
                return versionFromJson(QByteArrayView(*bytes).sliced(descriptionAt, descriptionSize));
            at = descriptionAt + *alignUp(descriptionSize, alignment);
        }
        return {};
    }

private:
    std::optional<SectionHeader> section(quint64 index)
    {
        const quint64 entrySize = m_is64 ? 64 : 40;
        if (m_sectionEntrySize < entrySize)
            return std::nullopt;
        const auto at = checkedAdd(m_sectionTable, index * m_sectionEntrySize);
        const auto entry = at ? m_source.read(*at, entrySize) : std::nullopt;
        if (!entry)
            return std::nullopt;
        FieldReader fields(*entry, m_bigEndian);
        SectionHeader header;
        header.name = fields.u32(0);
        header.type = fields.u32(4);
        if (m_is64) {
            header.range = {fields.u64(24), fields.u64(32), fields.u64(48)};
            header.link = fields.u32(40);
            header.info = fields.u32(44);
        } else {
            header.range = {fields.u32(16), fields.u32(20), fields.u32(32)};
            header.link = fields.u32(24);
            header.info = fields.u32(28);
        }
        return header;
    }

    bool hasName(const SectionHeader& header, const Range& names)
    {
        const auto length = static_cast<quint64>(kPackageSectionName.size());
        if (header.name > names.size || length > names.size - header.name)
            return false;
        const auto at = checkedAdd(names.offset, header.name);
        const auto name = at ? m_source.read(*at, length) : std::nullopt;
        return name && *name == kPackageSectionName;
    }

    static QString versionFromJson(QByteArrayView description)
    {
        // The linker stores the JSON as a C string: it ends at the first zero, whatever follows.
        if (const qsizetype zero = description.indexOf('\0'); zero >= 0)
            description.truncate(zero);
        const QJsonDocument document = QJsonDocument::fromJson(description.toByteArray());
        const QJsonValue version = document.object().value(QLatin1String("version"));
        return version.isString() ? version.toString() : QString();
    }

    ByteSource& m_source;
    bool m_is64 = false;
    bool m_bigEndian = false;
    quint64 m_segmentTable = 0;
    quint64 m_sectionTable = 0;
    quint64 m_segmentEntrySize = 0;
    quint64 m_segmentCount = 0;
    quint64 m_sectionEntrySize = 0;
    quint64 m_sectionCount = 0;
    quint64 m_namesIndex = 0;
};

} // namespace

QString elfPackageVersion(ByteSource& source)
{
    ElfFile file(source);
    if (!file.readHeader())
        return {};
    if (const auto section = file.packageSection()) {
        const QString version = file.versionIn(*section);
        if (!version.isEmpty())
            return version;
    }
    for (const Range& segment : file.noteSegments()) {
        const QString version = file.versionIn(segment);
        if (!version.isEmpty())
            return version;
    }
    return {};
}

QString elfPackageVersion(QByteArrayView data)
{
    BufferSource source(data);
    return elfPackageVersion(source);
}

} // namespace quorvel
