#include "db/database.h"
#include "db/defaults.h"
#include "support/tempdatafolder.h"

#include <gtest/gtest.h>
#include <QCryptographicHash>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace tallyhawk;

namespace {

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(Database, OpensTheSeedAndReadsItsDefaults)
{
    TempDataFolder folder;
    ASSERT_TRUE(folder.isValid());
    DatabaseOpening opening = openDatabase(folder.databasePath(), "seed-defaults");
    ASSERT_TRUE(opening.ok()) << opening.error.toStdString();
    ProgramDefaults defaults;
    QString error;
    ASSERT_TRUE(ReadDefaults(opening.db, &defaults, &error)) << error.toStdString();
    EXPECT_EQ(defaults.SaveCredits, 100);
    EXPECT_EQ(defaults.StartupCredits, 100);
    EXPECT_EQ(defaults.RandomSeed, 0);
    EXPECT_EQ(defaults.SimGames, 1000000);
    EXPECT_FALSE(defaults.RandomPickForSim);
    EXPECT_TRUE(defaults.SoundON);
    EXPECT_TRUE(defaults.ShowNumbers);
    EXPECT_EQ(defaults.Speed, "Fast");
    EXPECT_EQ(defaults.StartupGame.substr(0, 25), "NEVADA - Las Vegas       ");

    ASSERT_TRUE(SaveStartupState(opening.db, "some game", 57, &error));
    ASSERT_TRUE(ReadDefaults(opening.db, &defaults, &error));
    EXPECT_EQ(defaults.StartupGame, "some game");
    EXPECT_EQ(defaults.SaveCredits, 57);
    closeDatabase(opening.db);
}

TEST(Database, SeedHoldsTheSmallTablesOfTheControls)
{
    TempDataFolder folder;
    DatabaseOpening opening = openDatabase(folder.databasePath(), "seed-tables");
    ASSERT_TRUE(opening.ok());
    auto count = [&](const char* statement) {
        QSqlQuery query(opening.db);
        EXPECT_TRUE(query.exec(statement));
        return query.next() ? query.value(0).toInt() : -1;
    };
    EXPECT_EQ(count("SELECT count(*) FROM [Speeds]"), 4);
    EXPECT_EQ(count("SELECT count(*) FROM [Counts]"), 8);
    EXPECT_EQ(count("SELECT count(*) FROM [Counts] WHERE [C1] = 0 AND [C10] = 0"), 8);
    EXPECT_EQ(count("SELECT count(*) FROM [Board]"), 9);
    EXPECT_EQ(count("SELECT [Col10] FROM [Board] WHERE rowid = 9"), 80);
    EXPECT_EQ(count("SELECT count(*) FROM [Sessions]"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM [Defaults]"), 1);
    // Booleans are stored as -1 and 0.
    EXPECT_EQ(count("SELECT [SoundON] FROM [Defaults]"), -1);
    // Text compares without regard to case.
    EXPECT_EQ(count("SELECT count(*) FROM [Speeds] WHERE [SpeedChoices] = 'turbo'"), 1);
    closeDatabase(opening.db);
}

TEST(Database, RefusesFilesThatAreNotUsableAndLeavesThemUntouched)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.orf");
    DatabaseOpening opening = openDatabase(missing, "missing");
    EXPECT_FALSE(opening.ok());
    EXPECT_TRUE(opening.error.contains("does not exist"));
    EXPECT_FALSE(QFile::exists(missing)); // not created by the attempt

    const QString garbage = dir.filePath("garbage.orf");
    writeFile(garbage, QByteArray(4096, 'x'));
    const QByteArray before = fileHash(garbage);
    opening = openDatabase(garbage, "garbage");
    EXPECT_FALSE(opening.ok());
    EXPECT_TRUE(opening.error.contains(garbage)) << opening.error.toStdString();
    EXPECT_EQ(fileHash(garbage), before);
    EXPECT_FALSE(QFile::exists(garbage + "-journal"));

    // An empty file reads as an empty database: it lacks the tables.
    const QString empty = dir.filePath("empty.orf");
    writeFile(empty, {});
    opening = openDatabase(empty, "empty");
    EXPECT_FALSE(opening.ok());
    EXPECT_TRUE(opening.error.contains("no table")) << opening.error.toStdString();
    EXPECT_EQ(QFile(empty).size(), 0);
}

TEST(Database, RefusesADatabaseThatLacksAField)
{
    TempDataFolder folder;
    {
        DatabaseOpening opening = openDatabase(folder.databasePath(), "drop-field");
        ASSERT_TRUE(opening.ok());
        QSqlQuery query(opening.db);
        ASSERT_TRUE(query.exec("ALTER TABLE [Defaults] DROP COLUMN [Speed]"));
        query.finish();
        closeDatabase(opening.db);
    }
    DatabaseOpening opening = openDatabase(folder.databasePath(), "lacks-field");
    EXPECT_FALSE(opening.ok());
    EXPECT_TRUE(opening.error.contains("\"Speed\"")) << opening.error.toStdString();
}

TEST(Database, InstallCopiesTheSeedOnlyWhenTheFileIsMissing)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("new/folder/Tallyhawk.orf");
    QString error;
    ASSERT_TRUE(installDatabaseIfMissing(TALLYHAWK_SEED_PATH, target, &error)) << error.toStdString();
    EXPECT_EQ(fileHash(target), fileHash(TALLYHAWK_SEED_PATH));
    EXPECT_FALSE(QFile::exists(target + ".partial"));

    writeFile(target, "user data");
    ASSERT_TRUE(installDatabaseIfMissing(TALLYHAWK_SEED_PATH, target, &error));
    EXPECT_EQ(fileHash(target), QCryptographicHash::hash("user data", QCryptographicHash::Sha256));

    EXPECT_FALSE(
        installDatabaseIfMissing(dir.filePath("no-seed.orf"), dir.filePath("b/Tallyhawk.orf"), &error));
    EXPECT_TRUE(error.contains("missing")) << error.toStdString();
}
