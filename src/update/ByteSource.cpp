#include "update/ByteSource.h"

#include <QIODevice>
#include <QtEndian>
#include <cstring>

namespace quorvel {

std::optional<QByteArray> BufferSource::read(quint64 offset, quint64 length)
{
    if (!isReadable(offset, length))
        return std::nullopt;
    return m_data.sliced(static_cast<qsizetype>(offset), static_cast<qsizetype>(length)).toByteArray();
}

DeviceSource::DeviceSource(QIODevice& device)
    : m_device(device), m_size(device.size() > 0 ? static_cast<quint64>(device.size()) : 0)
{}

std::optional<QByteArray> DeviceSource::read(quint64 offset, quint64 length)
{
    if (!isReadable(offset, length) || !m_device.seek(static_cast<qint64>(offset)))
        return std::nullopt;
    QByteArray bytes = m_device.read(static_cast<qint64>(length));
    if (static_cast<quint64>(bytes.size()) != length)
        return std::nullopt;
    return bytes;
}

template <typename T>
T FieldReader::read(quint64 offset)
{
    const auto size = static_cast<quint64>(m_bytes.size());
    if (!m_ok || offset > size || sizeof(T) > size - offset) {
        m_ok = false;
        return 0;
    }
    T value;
    std::memcpy(&value, m_bytes.data() + offset, sizeof(T));
    return m_bigEndian ? qFromBigEndian(value) : qFromLittleEndian(value);
}

template quint8 FieldReader::read<quint8>(quint64);
template quint16 FieldReader::read<quint16>(quint64);
template quint32 FieldReader::read<quint32>(quint64);
template quint64 FieldReader::read<quint64>(quint64);

} // namespace quorvel
