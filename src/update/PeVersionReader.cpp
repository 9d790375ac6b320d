#include "update/PeVersionReader.h"

#include "common/QtCompat.h"
#include "update/ByteSource.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace quorvel {

namespace {

constexpr quint32 kRtVersion = 16;
constexpr quint16 kPe32Magic = 0x10b;
constexpr quint16 kPe32PlusMagic = 0x20b;
constexpr quint32 kResourceDirectoryIndex = 2;
constexpr quint32 kSubdirectoryFlag = 0x80000000u;
constexpr quint64 kDirectoryHeaderSize = 16;
constexpr quint64 kDirectoryEntrySize = 8;
constexpr quint64 kSectionHeaderSize = 40;
// A version resource states its own length in 16 bits, so nothing of it lies further out.
constexpr quint64 kMaxVersionResource = 0xffff;
// Real files list a few dozen resource types at most; a cap bounds the work a forged directory can ask for.
constexpr quint64 kMaxDirectoryEntries = 4096;

struct Section
{
    quint32 virtualAddress;
    quint32 rawSize;
    quint32 rawOffset;
};

struct Image
{
    quint32 resourceRva = 0;
    std::vector<Section> sections;

    std::optional<quint64> fileOffset(quint32 rva) const
    {
        for (const Section& section : sections) {
            if (rva >= section.virtualAddress && rva - section.virtualAddress < section.rawSize)
                return quint64(section.rawOffset) + (rva - section.virtualAddress);
        }
        return std::nullopt;
    }
};

std::optional<Image> readImage(ByteSource& source)
{
    const auto dosHeader = source.read(0, 64);
    if (!dosHeader || !dosHeader->startsWith("MZ"))
        return std::nullopt;
    const quint64 ntOffset = FieldReader(*dosHeader).u32(0x3c);

    const auto fileHeader = source.read(ntOffset, 24);
    if (!fileHeader || !QByteArrayView(*fileHeader).startsWith(QByteArrayView("PE\0\0", 4)))
        return std::nullopt;
    FieldReader fileFields(*fileHeader);
    const quint16 sectionCount = fileFields.u16(6);
    const quint16 optionalSize = fileFields.u16(20);

    const quint64 optionalOffset = ntOffset + 24;
    const auto optional = source.read(optionalOffset, optionalSize);
    if (!optional)
        return std::nullopt;
    FieldReader optionalFields(*optional);
    quint64 directoryCountAt = 0;
    switch (optionalFields.u16(0)) {
    case kPe32Magic:
        directoryCountAt = 92;
        break;
    case kPe32PlusMagic:
        directoryCountAt = 108;
        break;
    default:
        return std::nullopt;
    }
    Image image;
    const quint32 directoryCount = optionalFields.u32(directoryCountAt);
    if (directoryCount <= kResourceDirectoryIndex)
        return std::nullopt;
    image.resourceRva = optionalFields.u32(directoryCountAt + 4 + kResourceDirectoryIndex * 8);
    if (!optionalFields.ok() || image.resourceRva == 0)
        return std::nullopt;

    const auto table = source.read(optionalOffset + optionalSize, sectionCount * kSectionHeaderSize);
    if (!table)
        return std::nullopt;
    FieldReader tableFields(*table);
    image.sections.reserve(sectionCount);
    for (quint64 at = 0; at < quint64(table->size()); at += kSectionHeaderSize)
        image.sections.push_back({tableFields.u32(at + 12), tableFields.u32(at + 16), tableFields.u32(at + 20)});
    return image;
}

// Walks the three levels of the resource tree (type, name, language) without recursion, so a directory that points
// at itself or an ancestor ends in a failed match rather than a loop.
class ResourceTree
{
public:
    ResourceTree(ByteSource& source, quint64 rootOffset) : m_source(source), m_root(rootOffset) {}

    // The RVA and size of the first language of the first RT_VERSION resource.
    std::optional<std::pair<quint32, quint32>> versionData()
    {
        const auto names = find(0, kRtVersion);
        if (!names || !(*names & kSubdirectoryFlag))
            return std::nullopt;
        const auto languages = find(*names & ~kSubdirectoryFlag, std::nullopt);
        if (!languages || !(*languages & kSubdirectoryFlag))
            return std::nullopt;
        const auto leaf = find(*languages & ~kSubdirectoryFlag, std::nullopt);
        if (!leaf || (*leaf & kSubdirectoryFlag))
            return std::nullopt;

        const auto entryOffset = checkedAdd(m_root, *leaf);
        const auto entry = entryOffset ? m_source.read(*entryOffset, 16) : std::nullopt;
        if (!entry)
            return std::nullopt;
        FieldReader fields(*entry);
        return std::pair(fields.u32(0), fields.u32(4));
    }

private:
    // The target of the entry named by the numeric `id` in the directory at `directory`, or of its first entry when
    // no id is given. Named entries come before numeric ones, so an id lookup skips them.
    std::optional<quint32> find(quint32 directory, std::optional<quint32> id)
    {
        const auto headerOffset = checkedAdd(m_root, directory);
        const auto header = headerOffset ? m_source.read(*headerOffset, kDirectoryHeaderSize) : std::nullopt;
        if (!header)
            return std::nullopt;
        FieldReader headerFields(*header);
        const quint64 named = headerFields.u16(12);
        const quint64 ids = headerFields.u16(14);
        const quint64 first = id ? named : 0;
        const quint64 count = std::min(id ? ids : named + ids, kMaxDirectoryEntries - m_visited);
        m_visited += count;

        const auto entries = m_source.read(*headerOffset + kDirectoryHeaderSize + first * kDirectoryEntrySize,
                                           count * kDirectoryEntrySize);
        if (!entries)
            return std::nullopt;
        FieldReader fields(*entries);
        for (quint64 i = 0; i < count; ++i) {
            if (!id || fields.u32(i * kDirectoryEntrySize) == *id)
                return fields.u32(i * kDirectoryEntrySize + 4);
        }
        return std::nullopt;
    }

    ByteSource& m_source;
    quint64 m_root;
    quint64 m_visited = 0;
};

// One node of a version resource: a length-prefixed block with a UTF-16 key, a value and child blocks, each
// starting on a 4-byte boundary. Every offset is checked against the block's end before it is read.
struct Block
{
    quint64 end = 0;
    quint64 keyStart = 0;
    quint64 keyUnits = 0;
    quint64 valueStart = 0;
    quint64 valueBytes = 0;
    quint64 childrenStart = 0;
};

class VersionResource
{
public:
    explicit VersionResource(QByteArrayView data) : m_data(data), m_fields(data) {}

    QString fileVersion()
    {
        const auto root = block(0, static_cast<quint64>(m_data.size()));
        if (!root || !keyIs(*root, u"VS_VERSION_INFO"))
            return {};

        // Only the first translation counts, even when a later one would name an existing table.
        const auto translation = path(*root, {u"VarFileInfo", u"Translation"});
        if (!translation || translation->valueBytes < 4 || translation->valueStart + 4 > translation->end)
            return {};
        const quint16 language = m_fields.u16(translation->valueStart);
        const quint16 codePage = m_fields.u16(translation->valueStart + 2);

        const QString table = QStringLiteral("%1%2")
                                  .arg(language, 4, 16, QLatin1Char('0'))
                                  .arg(codePage, 4, 16, QLatin1Char('0'))
                                  .toUpper();
        const auto version = path(*root, {u"StringFileInfo", table, u"FileVersion"});
        if (!version || version->valueBytes == 0)
            return {};
        return text(version->valueStart, version->end);
    }

private:
    std::optional<Block> block(quint64 start, quint64 limit)
    {
        if (start > limit || limit - start < 6)
            return std::nullopt;
        const quint64 length = m_fields.u16(start);
        const quint64 valueLength = m_fields.u16(start + 2);
        const quint16 type = m_fields.u16(start + 4);
        if (length < 6)
            return std::nullopt;

        Block result;
        // A block claiming more than its parent holds is read only as far as the parent goes.
        result.end = std::min(start + length, limit);
        result.keyStart = start + 6;
        quint64 at = result.keyStart;
        while (at + 2 <= result.end && m_fields.u16(at) != 0)
            at += 2;
        if (at + 2 > result.end)
            return std::nullopt;
        result.keyUnits = (at - result.keyStart) / 2;
        // Text values count their length in UTF-16 units, binary ones in bytes.
        result.valueStart = *alignUp(at + 2, 4);
        result.valueBytes = type == 1 ? valueLength * 2 : valueLength;
        result.childrenStart = *alignUp(result.valueStart + result.valueBytes, 4);
        return result;
    }

    std::optional<Block> child(const Block& parent, QStringView key)
    {
        quint64 at = parent.childrenStart;
        while (at + 6 <= parent.end) {
            const auto candidate = block(at, parent.end);
            if (!candidate)
                return std::nullopt;
            if (keyIs(*candidate, key))
                return candidate;
            // Every block is at least 6 bytes, so this always moves on.
            at = *alignUp(at + m_fields.u16(at), 4);
        }
        return std::nullopt;
    }

    std::optional<Block> path(const Block& root, std::initializer_list<QStringView> keys)
    {
        std::optional<Block> current = root;
        for (QStringView key : keys) {
            current = child(*current, key);
            if (!current)
                return std::nullopt;
        }
        return current;
    }

    // Keys compare without regard to case: string tables are written both as "041604b0" and "041604B0".
    bool keyIs(const Block& block, QStringView key)
    {
        if (block.keyUnits != static_cast<quint64>(key.size()))
            return false;
        for (qsizetype i = 0; i < key.size(); ++i) {
            const char16_t unit = m_fields.u16(block.keyStart + static_cast<quint64>(i) * 2);
            if (QChar(unit).toCaseFolded() != key.at(i).toCaseFolded())
                return false;
        }
        return true;
    }

    QString text(quint64 start, quint64 end)
    {
        QString result;
        for (quint64 at = start; at + 2 <= end; at += 2) {
            const char16_t unit = m_fields.u16(at);
            if (unit == 0)
                break;
            result.append(QChar(unit));
        }
        return result;
    }

    QByteArrayView m_data;
    FieldReader m_fields;
};

} // namespace

QString peFileVersion(ByteSource& source)
{
    const auto image = readImage(source);
    if (!image)
        return {};
    const auto root = image->fileOffset(image->resourceRva);
    if (!root)
        return {};
    const auto data = ResourceTree(source, *root).versionData();
    if (!data)
        return {};
    const auto offset = image->fileOffset(data->first);
    const auto bytes =
        offset ? source.read(*offset, std::min<quint64>(data->second, kMaxVersionResource)) : std::nullopt;
    if (!bytes)
        return {};
    return VersionResource(*bytes).fileVersion();
}

QString peFileVersion(QByteArrayView data)
{
    BufferSource source(data);
    return peFileVersion(source);
}

} // namespace quorvel
