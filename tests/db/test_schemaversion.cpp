#include "db/database.h"
#include "db/schemaversion.h"
#include "support/databasefiles.h"
#include "support/tempdatafolder.h"

#include <gtest/gtest.h>
#include <QSqlQuery>

using namespace tallyhawk;

namespace {

QVariant scalar(QSqlDatabase db, const QString& statement)
{
    QSqlQuery query(db);
    return query.exec(statement) && query.next() ? query.value(0) : QVariant();
}

const QString kIndexCount = "SELECT count(*) FROM sqlite_master WHERE name = 'Pay Table Game'";

} // namespace

TEST(SchemaVersion, TheSeedIsAtTheCurrentVersion)
{
    TempDataFolder folder;
    DatabaseOpening opening = openDatabase(folder.databasePath(), "seed-version");
    ASSERT_TRUE(opening.ok()) << opening.error.toStdString();
    EXPECT_EQ(opening.outcome, OpenOutcome::Current);
    EXPECT_GE(CurrentSchemaVersion(), 1);
    EXPECT_EQ(opening.fileVersion, CurrentSchemaVersion());
    closeDatabase(opening.db);
}

TEST(SchemaVersion, AFileFromBeforeTheVersionsIsBroughtUpToDate)
{
    TempDataFolder folder;
    ASSERT_TRUE(
        runStatements(folder.databasePath(), {"DROP INDEX [Pay Table Game]", "PRAGMA user_version = 0"}));

    DatabaseOpening opening = openDatabase(folder.databasePath(), "upgrade");
    ASSERT_TRUE(opening.ok()) << opening.error.toStdString();
    EXPECT_EQ(opening.outcome, OpenOutcome::Upgraded);
    EXPECT_EQ(opening.fileVersion, 0);
    EXPECT_EQ(scalar(opening.db, "PRAGMA user_version").toInt(), CurrentSchemaVersion());
    EXPECT_EQ(scalar(opening.db, kIndexCount).toInt(), 1);
    closeDatabase(opening.db);
}

TEST(SchemaVersion, AnOlderFileThatMayNotChangeIsReadAsItIs)
{
    TempDataFolder folder;
    ASSERT_TRUE(runStatements(folder.databasePath(), {"PRAGMA user_version = 0"}));
    const QByteArray before = fileHash(folder.databasePath());
    DatabaseOpening opening = openDatabase(folder.databasePath(), "older-read-only", OpenMode::ReadOnly);
    ASSERT_TRUE(opening.ok()) << opening.error.toStdString();
    EXPECT_EQ(opening.outcome, OpenOutcome::Older);
    closeDatabase(opening.db);
    EXPECT_EQ(fileHash(folder.databasePath()), before);
}

TEST(SchemaVersion, AFileFromANewerTallyhawkIsRefusedUnchanged)
{
    TempDataFolder folder;
    ASSERT_TRUE(runStatements(folder.databasePath(),
                              {QStringLiteral("PRAGMA user_version = %1").arg(CurrentSchemaVersion() + 1)}));
    const QByteArray before = fileHash(folder.databasePath());
    for (const OpenMode mode : {OpenMode::ReadWrite, OpenMode::ReadOnly}) {
        DatabaseOpening opening = openDatabase(folder.databasePath(), "newer", mode);
        EXPECT_FALSE(opening.ok());
        EXPECT_EQ(opening.outcome, OpenOutcome::Newer);
        EXPECT_TRUE(opening.error.contains("newer version of Tallyhawk")) << opening.error.toStdString();
        EXPECT_TRUE(opening.error.contains(folder.databasePath()));
    }
    EXPECT_EQ(fileHash(folder.databasePath()), before);
}

// A step runs in one transaction with its version: one that fails leaves the file as it was.
TEST(SchemaVersion, AStepThatFailsLeavesTheFileUnchanged)
{
    TempDataFolder folder;
    // A table that takes the name of the index the first step creates.
    ASSERT_TRUE(runStatements(
        folder.databasePath(),
        {"DROP INDEX [Pay Table Game]", "CREATE TABLE [Pay Table Game] (x)", "PRAGMA user_version = 0"}));
    const QByteArray before = fileHash(folder.databasePath());
    DatabaseOpening opening = openDatabase(folder.databasePath(), "failed-step");
    EXPECT_EQ(opening.outcome, OpenOutcome::Unusable);
    EXPECT_TRUE(opening.error.contains("could not be brought up to date")) << opening.error.toStdString();
    EXPECT_TRUE(opening.error.contains("version 1")) << opening.error.toStdString();
    EXPECT_EQ(fileHash(folder.databasePath()), before);
}
