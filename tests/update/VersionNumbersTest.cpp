#include "update/VersionNumbers.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using quorvel::isProductCurrent;
using quorvel::launcherUpdateNeeded;

TEST(VersionNumbers, ProductIsCurrent)
{
    const struct
    {
        const char* installed;
        const char* latest;
        const char* word;
        bool current;
    } cases[] = {
        {"2.4.1.0", "2.41", "Face", true},
        {"2.4.1.0", "2.4.1", "Face", true},
        {"2.4.1.0", "2.5", "Face", false},
        {"2.4.1.0", "2.4.10", "Face", false}, // four digits never match the three compared
        {"2.4.1.0", "", "Face", false},       // no answer: anything installed is outdated
        {"", "", "Face", true},               // no version resource and no answer
        {"", "2.4.1", "Face", false},
        {"2.4", "2.4", "Tele", true},
        {"2.4", "24", "Tele", true},
        {"2.4", "2.4.0", "Tele", false},
        // The browser runtime counts by its major version.
        {"109.1.18.0", "109", "Nav", true},
        {"109.1.18.0", "1.09", "Nav", true},
        {"109.1.18.0", "10.9", "Nav", true},
        {"109.1.18.0", "110", "Nav", false},
        // Only the browser application is cut before its points go: the display word is compared exactly.
        {"1.09.5", "10", "Nav", true},
        {"1.09.5", "10", "nav", false},
        {"1.09.5", "10", "Face", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isProductCurrent(QString::fromLatin1(c.installed), QString::fromLatin1(c.latest),
                                   QString::fromLatin1(c.word)),
                  c.current)
            << c.installed << " / " << c.latest << " / " << c.word;
    }
}

TEST(VersionNumbers, LauncherSelfUpdate)
{
    const struct
    {
        const char* latest;
        bool update;
    } cases[] = {
        {"1.79", true},   {"1.7.9", true}, {"2.0.0", true},
        {"1.78.1", true}, {"1.8b", true},  {"1.77", false},
        {"2.0", false},   {"1.78", false}, {"178", false},
        {"", false},      {"0.99", false}, {"99999999999999999999", true}, // no number: it differs, so it updates
    };
    for (const auto& c : cases)
        EXPECT_EQ(launcherUpdateNeeded(QString::fromLatin1(c.latest)), c.update) << c.latest;
}
