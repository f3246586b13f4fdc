// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// Opening the database file in every state that real use leaves it in, installing it, and keeping
// a second copy of the program out of the data folder.

#include "db/catalogue.h"
#include "db/database.h"
#include "db/datafolderlock.h"
#include "db/defaults.h"
#include "db/paytable.h"
#include "db/schemaversion.h"
#include "support/databasefiles.h"
#include "support/qtprint.h"
#include "support/tempdatafolder.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <QTemporaryDir>

using namespace tallyhawk;

namespace {

QVariant scalar(QSqlDatabase db, const QString& statement)
{
    QSqlQuery query(db);
    return query.exec(statement) && query.next() ? query.value(0) : QVariant();
}

const QStringList kVersion0{"DROP INDEX [Pay Table Game]", "PRAGMA user_version = 0"};
const QString kRenamePick3 = "ALTER TABLE [Pay Table] RENAME COLUMN [Pick3] TO [Pick 3]";

// The file as a program killed in the middle of a change leaves it, with its journal.
bool leaveHalfDone(const QString& path)
{
    return QFile::rename(path, path + ".before") && copyWithHotJournal(path + ".before", path);
}

} // namespace

// A file that cannot be used, or may not be changed, is left byte for byte as it was, its journal
// too: refused with a sentence naming it, or opened read-only, where the start-up clean-up and the
// quit save keep quiet and a change says why in plain words.
TEST(Database, AFileIsRefusedOrReadAsItIsAndLeftByteForByte)
{
    using enum OpenOutcome;
    using enum OpenMode;
    const auto run = [](const QStringList& list) -> std::function<bool(const QString&)> {
        return [list](const QString& p) {
            return runStatements(p, list);
        };
    };
    const auto newer = run({QStringLiteral("PRAGMA user_version = %1").arg(CurrentSchemaVersion() + 1)});
    const struct
    {
        const char* name;
        std::function<bool(const QString&)> prepare;
        OpenMode mode;
        const char* marked; // what is marked read-only: "file", "folder" or nothing
        OpenOutcome outcome;
        const char* error;
    } cases[] = {
        {"missing", [](auto p) { return QFile::remove(p); }, ReadWrite, "", Unusable, "does not exist"},
        {"garbage", [](auto p) { return writeFile(p, QByteArray(4096, 'x')); }, ReadWrite, "", Unusable,
         "not a database"},
        {"empty", [](auto p) { return writeFile(p, {}); }, ReadWrite, "", Unusable, "no table"},
        {"damaged", damagePayTablePage, ReadWrite, "", Unusable, "damaged"},
        {"damaged", damagePayTablePage, ReadOnly, "", Unusable, "damaged"},
        {"no field", run({"ALTER TABLE [Defaults] DROP COLUMN [Speed]"}), ReadWrite, "", Unusable,
         "\"Speed\""},
        // What a file at this version or an older one may lack: refused before the upgrade writes.
        {"no table", run({"DROP TABLE [Counts]"}), ReadWrite, "", Unusable, "no table \"Counts\""},
        {"older, no table", run(kVersion0 + QStringList{"DROP TABLE [Counts]"}), ReadWrite, "", Unusable,
         "no table \"Counts\""},
        {"renamed field", run({kRenamePick3}), ReadWrite, "", Unusable, "has no field \"Pick3\""},
        {"older, renamed field", run(kVersion0 + QStringList{kRenamePick3}), ReadWrite, "", Unusable,
         "has no field \"Pick3\""},
        {"no options", run({"DELETE FROM [Defaults]"}), ReadWrite, "", Unusable,
         "The table \"Defaults\" holds no row."},
        {"older, no options", run(kVersion0 + QStringList{"DELETE FROM [Defaults]"}), ReadWrite, "", Unusable,
         "The table \"Defaults\" holds no row."},
        {"older, no options", run(kVersion0 + QStringList{"DELETE FROM [Defaults]"}), ReadOnly, "", Unusable,
         "The table \"Defaults\" holds no row."},
        {"newer", newer, ReadWrite, "", Newer, "newer version of Tallyhawk"},
        {"newer", newer, ReadOnly, "", Newer, "newer version of Tallyhawk"},
        // A table that takes the name of the index the first step creates: the step leaves nothing.
        {"failed step", run(kVersion0 + QStringList{"CREATE TABLE [Pay Table Game] (x)"}), ReadWrite, "",
         Unusable, "Bringing it to version 1"},
        {"half done", leaveHalfDone, ReadOnly, "", Unusable, "Start Tallyhawk once to repair it."},
        {"half done", leaveHalfDone, ReadWrite, "folder", Unusable,
         "cannot be repaired while the file or its"},
        {"older", run(kVersion0), ReadOnly, "", Older, ""},
        {"read-only file", [](auto) { return true; }, ReadWrite, "file", Current, ""},
        {"read-only folder", [](auto) { return true; }, ReadWrite, "folder", Current, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << (c.mode == ReadOnly ? ", opened read-only" : ""));
        TempDataFolder folder;
        const QString path = folder.databasePath();
        ASSERT_TRUE(c.prepare(path));
        const QByteArray before = fileHash(path), journal = fileHash(path + "-journal"); // empty: none
        {
            std::optional<ReadOnlyMark> mark;
            if (*c.marked)
                mark.emplace(c.marked == std::string("file") ? path : folder.path());
            DatabaseOpening opening = openDatabase(path, "opened", c.mode);
            EXPECT_EQ(opening.outcome, c.outcome) << opening.error;
            if (!opening.ok())
                EXPECT_TRUE(opening.error.contains(path) && opening.error.contains(c.error)) << opening.error;
            else {
                EXPECT_TRUE(opening.readOnly && IsReadOnly(opening.db));
                QString error;
                EXPECT_TRUE(CleanPayTable(opening.db, &error) &&
                            SaveStartupState(opening.db, "a game", 5, &error))
                    << error;
                EXPECT_EQ(SaveCredits(opening.db, 5).outcome, SaveOutcome::ReadOnly);
                EXPECT_FALSE(
                    CopyGameAsNew(opening.db, {"OTHER", "Published example", "Cleopatra Keno"}, "C", &error));
                EXPECT_EQ(error, "The database file is read-only.");
                closeDatabase(opening.db);
            }
        }
        EXPECT_EQ(fileHash(path), before);
        EXPECT_EQ(fileHash(path + "-journal"), journal);
    }
}

TEST(Database, AnOlderFileIsBroughtUpToDateAndAChangeLeftHalfDoneIsRolledBack)
{
    TempDataFolder older, halfDone;
    ASSERT_TRUE(runStatements(older.databasePath(), kVersion0) && leaveHalfDone(halfDone.databasePath()));
    DatabaseOpening opening = openDatabase(older.databasePath(), "upgrade");
    ASSERT_EQ(opening.outcome, OpenOutcome::Upgraded) << opening.error;
    EXPECT_EQ(opening.fileVersion, 0);
    EXPECT_EQ(scalar(opening.db, "PRAGMA user_version").toInt(), CurrentSchemaVersion());
    EXPECT_EQ(scalar(opening.db, "SELECT count(*) FROM sqlite_master WHERE name = 'Pay Table Game'").toInt(),
              1);
    closeDatabase(opening.db);

    opening = openDatabase(halfDone.databasePath(), "rolled-back");
    ASSERT_TRUE(opening.ok()) << opening.error;
    EXPECT_FALSE(QFileInfo(halfDone.databasePath() + "-journal").size() > 0);
    EXPECT_EQ(scalar(opening.db, "SELECT [SaveCredits] FROM [Defaults]").toInt(), 100); // the change is gone
    closeDatabase(opening.db);
}

TEST(Database, InstallCopiesTheSeedOnlyWhenTheFileIsMissing)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("new/folder/Tallyhawk.orf");
    QString error;
    ASSERT_TRUE(installDatabaseIfMissing(TALLYHAWK_SEED_PATH, target, &error)) << error;
    EXPECT_EQ(fileHash(target), fileHash(TALLYHAWK_SEED_PATH));
    ASSERT_TRUE(writeFile(target, "user data"));
    ASSERT_TRUE(installDatabaseIfMissing(TALLYHAWK_SEED_PATH, target, &error));
    EXPECT_EQ(fileHash(target), QCryptographicHash::hash("user data", QCryptographicHash::Sha256));
    EXPECT_FALSE(
        installDatabaseIfMissing(dir.filePath("no-seed.orf"), dir.filePath("b/Tallyhawk.orf"), &error));
    EXPECT_TRUE(error.contains("missing")) << error;
}

TEST(Database, AFailedInstallSaysWhy)
{
    QTemporaryDir dir;
    QString error;
    {
        ReadOnlyMark mark(dir.path());
        EXPECT_FALSE(installDatabaseIfMissing(TALLYHAWK_SEED_PATH, dir.filePath("Tallyhawk.orf"), &error));
        EXPECT_EQ(error,
                  QStringLiteral("The database could not be installed as %1. The folder %2 is not writable.")
                      .arg(dir.filePath("Tallyhawk.orf"), dir.path()));
        EXPECT_FALSE(
            installDatabaseIfMissing(TALLYHAWK_SEED_PATH, dir.filePath("a/b/Tallyhawk.orf"), &error));
        EXPECT_EQ(error,
                  QStringLiteral("The data folder %1 cannot be created. The folder %2 is not writable.")
                      .arg(dir.filePath("a/b"), dir.path()));
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty()); // not even a temporary file is left

    const struct
    {
        qint64 needed, available;
        const char* fault;
    } cases[] = {
        {4096, 4095,
         "The disk is full: the database needs 4096 bytes and the disk holding /d has 4095 free."},
        {4096, 0, "The disk is full: the database needs 4096 bytes and the disk holding /d has 0 free."},
        {4096, 4096, ""},
        {4096, -1, ""}, // unknown: the write itself will say
    };
    for (const auto& c : cases)
        EXPECT_EQ(NoRoomFault("/d", c.needed, c.available), c.fault) << c.needed << " " << c.available;
}

TEST(Database, ASecondCopyIsRefusedTheDataFolderUntilTheFirstLetsGo)
{
    QTemporaryDir folder;
    QString error;
    auto first = std::make_unique<DataFolderLock>(folder.path());
    ASSERT_EQ(first->lock(&error), DataFolderLock::Outcome::Locked) << error;
    DataFolderLock second(folder.path());
    EXPECT_EQ(second.lock(&error), DataFolderLock::Outcome::HeldByAnotherCopy);
    EXPECT_TRUE(error.contains("Tallyhawk is already running with the data folder " + folder.path()))
        << error;
    first.reset();
    EXPECT_FALSE(QFile::exists(QDir(folder.path()).filePath(kLockFileName)));
    EXPECT_EQ(second.lock(&error), DataFolderLock::Outcome::Locked) << error;

    QTemporaryDir readOnly;
    ReadOnlyMark mark(readOnly.path());
    EXPECT_EQ(DataFolderLock(readOnly.path()).lock(&error), DataFolderLock::Outcome::ReadOnlyFolder);
    EXPECT_FALSE(QFile::exists(QDir(readOnly.path()).filePath(kLockFileName)));
}
