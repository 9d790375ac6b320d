#include "common/DataFolder.h"

#include "support/FakePlatform.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(DataFolder, CreatesOneLevelAndAddsASingleSeparator)
{
    QTemporaryDir root;
    quorvel::fakes::FakeFolders folders;

    folders.roaming = root.path();
    EXPECT_EQ(quorvel::appDataFolder(folders), root.path() + QStringLiteral("/Quorvel"));
    EXPECT_TRUE(QDir(root.path() + QStringLiteral("/Quorvel")).exists());

    folders.roaming = root.path() + u'/';
    EXPECT_EQ(quorvel::appDataFolder(folders), root.path() + QStringLiteral("/Quorvel"));

    // A missing parent is not created; the path is returned all the same.
    folders.roaming = root.path() + QStringLiteral("/missing");
    EXPECT_EQ(quorvel::appDataFolder(folders), root.path() + QStringLiteral("/missing/Quorvel"));
    EXPECT_FALSE(QDir(root.path() + QStringLiteral("/missing")).exists());
}
