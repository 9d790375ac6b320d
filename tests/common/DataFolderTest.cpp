#include "common/DataFolder.h"

#include "support/FakePlatform.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(DataFolder, CreatesOneLevelAndAddsASingleSeparator)
{
    QTemporaryDir root;
    const QString base = QDir::toNativeSeparators(root.path());
    const auto native = [&](const char* relative) {
        return base + QDir::toNativeSeparators(QString::fromUtf8(relative));
    };
    quorvel::fakes::FakeFolders folders;

    folders.roaming = base;
    EXPECT_EQ(quorvel::appDataFolder(folders), native("/Quorvel"));
    EXPECT_TRUE(QDir(native("/Quorvel")).exists());

    folders.roaming = native("/");
    EXPECT_EQ(quorvel::appDataFolder(folders), native("/Quorvel"));

    // A missing parent is not created; the path is returned all the same.
    folders.roaming = native("/missing");
    EXPECT_EQ(quorvel::appDataFolder(folders), native("/missing/Quorvel"));
    EXPECT_FALSE(QDir(native("/missing")).exists());
}
