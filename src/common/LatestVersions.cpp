#include "common/LatestVersions.h"

namespace quorvel {

QString LatestVersions::get(VersionSlot slot) const
{
    std::lock_guard lock(m_mutex);
    return m_slots.at(static_cast<std::size_t>(slot));
}

void LatestVersions::set(VersionSlot slot, const QString& version)
{
    std::lock_guard lock(m_mutex);
    m_slots.at(static_cast<std::size_t>(slot)) = version;
}

} // namespace quorvel
