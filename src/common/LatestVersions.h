#pragma once

#include <QString>
#include <array>
#include <mutex>

namespace quorvel {

// The items of the version answer, one slot each; the numbers are the item positions in that answer.
enum class VersionSlot
{
    vrsTwit = 1,
    vrsFace = 2,
    vrsContact = 3,
    vrsInsta = 4,
    vrsWhats = 5,
    vrsTube = 6,
    vrsSms = 7,
    vrsMenu = 8,
    vrsTele = 9,
    vrsTik = 10,
    vrsLx = 11,
    // item 12 serves no product
    vrsNav = 13,
};

// The latest version of each product, empty until the version query has answered. The query's worker writes while
// the window's thread polls, so every text is published whole: a reader gets the old or the new text, never a mix.
class LatestVersions
{
public:
    QString get(VersionSlot slot) const;
    void set(VersionSlot slot, const QString& version);

private:
    static constexpr int kItems = 13;
    mutable std::mutex m_mutex;
    std::array<QString, kItems + 1> m_slots; // indexed by item number; 0 unused
};

} // namespace quorvel
