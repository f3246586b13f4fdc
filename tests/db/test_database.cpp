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
#include <QTemporaryDir>

using namespace tallyhawk;

namespace {

QVariant scalar(QSqlDatabase db, const QString& statement)
{
    QSqlQuery query(db);
    return query.exec(statement) && query.next() ? query.value(0) : QVariant();
}

} // namespace

TEST(Database, AFileThatCannotBeUsedIsRefusedInEitherModeAndLeftByteForByte)
{
    const QString newer = QStringLiteral("PRAGMA user_version = %1").arg(CurrentSchemaVersion() + 1);
    const struct
    {
        const char* name;
        std::function<bool(const QString&)> prepare;
        OpenOutcome outcome;
        const char* error;
    } cases[] = {
        {"missing", [](const QString& p) { return QFile::remove(p); }, OpenOutcome::Unusable,
         "does not exist"},
        {"not a database", [](const QString& p) { return writeFile(p, QByteArray(4096, 'x')); },
         OpenOutcome::Unusable, "not a database"},
        {"empty", [](const QString& p) { return writeFile(p, {}); }, OpenOutcome::Unusable, "no table"},
        {"damaged", damagePayTablePage, OpenOutcome::Unusable, "damaged"},
        {"lacking a field",
         [](const QString& p) { return runStatements(p, {"ALTER TABLE [Defaults] DROP COLUMN [Speed]"}); },
         OpenOutcome::Unusable, "\"Speed\""},
        {"newer", [&](const QString& p) { return runStatements(p, {newer}); }, OpenOutcome::Newer,
         "newer version of Tallyhawk"},
    };
    for (const auto& c : cases)
        for (const OpenMode mode : {OpenMode::ReadWrite, OpenMode::ReadOnly}) {
            SCOPED_TRACE(testing::Message() << c.name << (mode == OpenMode::ReadOnly ? ", read-only" : ""));
            TempDataFolder folder;
            const QString path = folder.databasePath();
            ASSERT_TRUE(c.prepare(path));
            const QByteArray before = fileHash(path); // empty when missing: the attempt creates nothing
            const DatabaseOpening opening = openDatabase(path, "refused", mode);
            EXPECT_EQ(opening.outcome, c.outcome);
            EXPECT_TRUE(opening.error.contains(path) && opening.error.contains(c.error)) << opening.error;
            EXPECT_EQ(fileHash(path), before);
            EXPECT_FALSE(QFile::exists(path + "-journal"));
        }
}

// Each step runs in one transaction with its version: one that fails leaves the file as it was.
TEST(Database, AnOlderFileIsBroughtUpToDateOrReadAsItIsWhenItMayNotChange)
{
    TempDataFolder older, blocked;
    const QStringList version0{"DROP INDEX [Pay Table Game]", "PRAGMA user_version = 0"};
    ASSERT_TRUE(runStatements(older.databasePath(), version0));
    // A table that takes the name of the index the first step creates.
    ASSERT_TRUE(
        runStatements(blocked.databasePath(), QStringList(version0) << "CREATE TABLE [Pay Table Game] (x)"));
    const QByteArray olderBefore = fileHash(older.databasePath()),
                     blockedBefore = fileHash(blocked.databasePath());

    DatabaseOpening opening = openDatabase(blocked.databasePath(), "failed-step");
    EXPECT_EQ(opening.outcome, OpenOutcome::Unusable);
    EXPECT_TRUE(opening.error.contains("could not be brought up to date") &&
                opening.error.contains("version 1"))
        << opening.error;
    EXPECT_EQ(fileHash(blocked.databasePath()), blockedBefore);

    opening = openDatabase(older.databasePath(), "older-read-only", OpenMode::ReadOnly);
    EXPECT_EQ(opening.outcome, OpenOutcome::Older) << opening.error;
    closeDatabase(opening.db);
    EXPECT_EQ(fileHash(older.databasePath()), olderBefore);

    opening = openDatabase(older.databasePath(), "upgrade");
    ASSERT_EQ(opening.outcome, OpenOutcome::Upgraded) << opening.error;
    EXPECT_EQ(opening.fileVersion, 0);
    EXPECT_EQ(scalar(opening.db, "PRAGMA user_version").toInt(), CurrentSchemaVersion());
    EXPECT_EQ(scalar(opening.db, "SELECT count(*) FROM sqlite_master WHERE name = 'Pay Table Game'").toInt(),
              1);
    closeDatabase(opening.db);
}

// A file or folder marked read-only is opened read-only: nothing tries to write it, the
// start-up clean-up and the quit save keep quiet, and a change says why in plain words.
TEST(Database, AFileThatMayNotChangeIsOpenedReadOnlyAndLeftAsItIs)
{
    for (const bool markFolder : {false, true}) {
        SCOPED_TRACE(markFolder ? "read-only folder" : "read-only file");
        TempDataFolder folder;
        const QString path = folder.databasePath();
        const QByteArray before = fileHash(path);
        {
            ReadOnlyMark mark(markFolder ? folder.path() : path);
            DatabaseOpening opening = openDatabase(path, "read-only");
            ASSERT_TRUE(opening.ok()) << opening.error;
            EXPECT_TRUE(opening.readOnly && IsReadOnly(opening.db));
            QString error;
            EXPECT_TRUE(CleanPayTable(opening.db, &error)) << error;
            EXPECT_TRUE(SaveStartupState(opening.db, "a game", 5, &error)) << error;
            EXPECT_EQ(SaveCredits(opening.db, 5).outcome, SaveOutcome::ReadOnly);
            EXPECT_FALSE(
                CopyGameAsNew(opening.db, {"OTHER", "Published example", "Cleopatra Keno"}, "C", &error));
            EXPECT_EQ(error, "The database file is read-only.");
            closeDatabase(opening.db);
        }
        EXPECT_EQ(fileHash(path), before);
    }
}

TEST(Database, AChangeLeftHalfDoneIsExplainedReadOnlyAndRolledBackByTheProgram)
{
    TempDataFolder source;
    QTemporaryDir dir;
    const QString path = dir.filePath("Tallyhawk.orf");
    ASSERT_TRUE(copyWithHotJournal(source.databasePath(), path));
    const QByteArray before = fileHash(path);

    DatabaseOpening opening = openDatabase(path, "hot-read-only", OpenMode::ReadOnly);
    EXPECT_FALSE(opening.ok());
    EXPECT_TRUE(opening.error.contains("Start Tallyhawk once to repair it.")) << opening.error;
    EXPECT_FALSE(opening.error.contains("attempt to write"));
    {
        ReadOnlyMark mark(dir.path());
        opening = openDatabase(path, "hot-read-only-folder");
        EXPECT_TRUE(opening.error.contains("cannot be repaired while")) << opening.error;
    }
    EXPECT_EQ(fileHash(path), before);

    opening = openDatabase(path, "hot-read-write");
    ASSERT_TRUE(opening.ok()) << opening.error;
    EXPECT_FALSE(QFileInfo(path + "-journal").size() > 0);
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
    EXPECT_FALSE(QFile::exists(target + ".partial"));
    DatabaseOpening opening = openDatabase(target, "installed");
    EXPECT_EQ(opening.outcome, OpenOutcome::Current);
    EXPECT_EQ(opening.fileVersion, CurrentSchemaVersion());
    closeDatabase(opening.db);

    ASSERT_TRUE(writeFile(target, "user data"));
    ASSERT_TRUE(installDatabaseIfMissing(TALLYHAWK_SEED_PATH, target, &error));
    EXPECT_EQ(fileHash(target), QCryptographicHash::hash("user data", QCryptographicHash::Sha256));

    EXPECT_FALSE(
        installDatabaseIfMissing(dir.filePath("no-seed.orf"), dir.filePath("b/Tallyhawk.orf"), &error));
    EXPECT_TRUE(error.contains("missing")) << error;
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
