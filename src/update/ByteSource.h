#pragma once

#include "common/QtCompat.h"

#include <QByteArray>
#include <QtGlobal>
#include <QtNumeric>
#include <optional>

class QIODevice;

namespace quorvel {

// Random access to bytes whose offsets and lengths come from untrusted files. The version readers ask for the few
// ranges they need, so an installed file is never held in memory whole.
class ByteSource
{
public:
    // No reader needs more than a section table or a note section at once; refusing larger reads keeps a hostile
    // length from turning into a huge allocation.
    static constexpr quint64 kMaxRead = 4 * 1024 * 1024;

    virtual ~ByteSource() = default;

    virtual quint64 size() const = 0;

    // Exactly `length` bytes from `offset`, or nothing when the range is not wholly inside or is over kMaxRead.
    virtual std::optional<QByteArray> read(quint64 offset, quint64 length) = 0;

protected:
    bool isReadable(quint64 offset, quint64 length) const
    {
        return length <= kMaxRead && offset <= size() && length <= size() - offset;
    }
};

class BufferSource final : public ByteSource
{
public:
    explicit BufferSource(QByteArrayView data) : m_data(data) {}

    quint64 size() const override { return static_cast<quint64>(m_data.size()); }
    std::optional<QByteArray> read(quint64 offset, quint64 length) override;

private:
    QByteArrayView m_data;
};

// Reads an open random-access device. A file that shrinks while it is read gives short reads, which fail cleanly.
class DeviceSource final : public ByteSource
{
public:
    explicit DeviceSource(QIODevice& device);

    quint64 size() const override { return m_size; }
    std::optional<QByteArray> read(quint64 offset, quint64 length) override;

private:
    QIODevice& m_device;
    quint64 m_size;
};

// Reads fixed-width integers from a block of bytes. A read outside the block yields 0 and marks the reader failed, so
// a whole header can be read and checked once.
class FieldReader
{
public:
    explicit FieldReader(QByteArrayView bytes, bool bigEndian = false) : m_bytes(bytes), m_bigEndian(bigEndian) {}

    quint8 u8(quint64 offset) { return read<quint8>(offset); }
    quint16 u16(quint64 offset) { return read<quint16>(offset); }
    quint32 u32(quint64 offset) { return read<quint32>(offset); }
    quint64 u64(quint64 offset) { return read<quint64>(offset); }

    bool ok() const { return m_ok; }

private:
    template <typename T>
    T read(quint64 offset);

    QByteArrayView m_bytes;
    bool m_bigEndian;
    bool m_ok = true;
};

// a + b, or nothing when the sum does not fit.
inline std::optional<quint64> checkedAdd(quint64 a, quint64 b)
{
    quint64 sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return std::nullopt;
    return sum;
}

// `value` rounded up to a power-of-two `alignment`, or nothing on overflow.
inline std::optional<quint64> alignUp(quint64 value, quint64 alignment)
{
    const auto raised = checkedAdd(value, alignment - 1);
    if (!raised)
        return std::nullopt;
    return *raised & ~(alignment - 1);
}

} // namespace quorvel
