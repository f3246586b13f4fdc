#include "db/datafolderlock.h"
#include "support/databasefiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace tallyhawk;

TEST(DataFolderLock, ASecondCopyIsRefusedUntilTheFirstLetsGo)
{
    QTemporaryDir folder;
    QString error;
    auto first = std::make_unique<DataFolderLock>(folder.path());
    ASSERT_EQ(first->lock(&error), DataFolderLock::Outcome::Locked) << error.toStdString();

    DataFolderLock second(folder.path());
    EXPECT_EQ(second.lock(&error), DataFolderLock::Outcome::HeldByAnotherCopy);
    EXPECT_TRUE(error.contains("Tallyhawk is already running with the data folder " + folder.path()))
        << error.toStdString();

    first.reset();
    EXPECT_FALSE(QFile::exists(QDir(folder.path()).filePath(kLockFileName)));
    EXPECT_EQ(second.lock(&error), DataFolderLock::Outcome::Locked) << error.toStdString();
}

TEST(DataFolderLock, AReadOnlyFolderGetsNoLockFile)
{
    QTemporaryDir folder;
    ReadOnlyMark mark(folder.path());
    DataFolderLock lock(folder.path());
    QString error;
    EXPECT_EQ(lock.lock(&error), DataFolderLock::Outcome::ReadOnlyFolder);
    EXPECT_FALSE(QFile::exists(QDir(folder.path()).filePath(kLockFileName)));
}
