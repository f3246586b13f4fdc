#include "db/catalogue.h"
#include "db/database.h"
#include "db/defaults.h"
#include "db/paytable.h"
#include "support/databasefiles.h"
#include "support/tempdatafolder.h"

#include <gtest/gtest.h>
#include <limits>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace tallyhawk;

namespace {

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

TEST(Database, ADamagedFileIsRefusedAndLeftByteForByte)
{
    TempDataFolder folder;
    const QString path = folder.databasePath();
    ASSERT_TRUE(damagePayTablePage(path));
    const QByteArray before = fileHash(path);
    for (const OpenMode mode : {OpenMode::ReadWrite, OpenMode::ReadOnly}) {
        DatabaseOpening opening = openDatabase(path, "damaged", mode);
        EXPECT_EQ(opening.outcome, OpenOutcome::Unusable);
        EXPECT_TRUE(opening.error.contains(path)) << opening.error.toStdString();
        EXPECT_TRUE(opening.error.contains("damaged")) << opening.error.toStdString();
    }
    EXPECT_EQ(fileHash(path), before);
    EXPECT_FALSE(QFile::exists(path + "-journal"));
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
            ASSERT_TRUE(opening.ok()) << opening.error.toStdString();
            EXPECT_TRUE(opening.readOnly);
            EXPECT_TRUE(IsReadOnly(opening.db));
            QString error;
            EXPECT_TRUE(CleanPayTable(opening.db, &error)) << error.toStdString();
            EXPECT_TRUE(SaveStartupState(opening.db, "a game", 5, &error)) << error.toStdString();
            EXPECT_EQ(SaveCredits(opening.db, 5).outcome, SaveOutcome::ReadOnly);
            EXPECT_FALSE(
                CopyGameAsNew(opening.db, {"OTHER", "Published example", "Cleopatra Keno"}, "Copy", &error));
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
    EXPECT_TRUE(opening.error.contains("Start Tallyhawk once to repair it.")) << opening.error.toStdString();
    EXPECT_FALSE(opening.error.contains("attempt to write"));
    {
        ReadOnlyMark mark(dir.path());
        opening = openDatabase(path, "hot-read-only-folder");
        EXPECT_FALSE(opening.ok());
        EXPECT_TRUE(opening.error.contains("cannot be repaired while")) << opening.error.toStdString();
    }
    EXPECT_EQ(fileHash(path), before);

    opening = openDatabase(path, "hot-read-write");
    ASSERT_TRUE(opening.ok()) << opening.error.toStdString();
    EXPECT_FALSE(QFileInfo(path + "-journal").size() > 0);
    ProgramDefaults defaults;
    QString error;
    ASSERT_TRUE(ReadDefaults(opening.db, &defaults, &error));
    EXPECT_EQ(defaults.SaveCredits, 100); // the unfinished change is gone
    closeDatabase(opening.db);
}

TEST(Database, StoredOptionsOutOfRangeAreReportedNotConverted)
{
    const double infinity = std::numeric_limits<double>::infinity();
    const struct
    {
        const char* field;
        QVariant stored;
        const char* reported; // empty: read as it is
    } cases[] = {
        {"StartupCredits", 1e20, "StartupCredits holds 1E+20"},
        {"RandomSeed", -3e9, "RandomSeed holds -3000000000"},
        {"SimGames", infinity, "SimGames holds inf"},
        {"SaveCredits", -infinity, "SaveCredits holds -inf"},
        {"SaveCredits", 1e300, "SaveCredits holds 1E+300"},
        {"SaveCredits", 999999999999999.0, ""},
        {"SoundON", 1e20, ""}, // a switch is on for any number but 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        TempDataFolder folder;
        DatabaseOpening opening = openDatabase(folder.databasePath(), "out-of-range");
        ASSERT_TRUE(opening.ok());
        QString error;
        ASSERT_TRUE(ExecuteSql(opening.db, QStringLiteral("UPDATE [Defaults] SET [%1] = ?").arg(c.field),
                               {c.stored}, &error));
        ProgramDefaults defaults;
        QStringList setAside;
        EXPECT_TRUE(ReadDefaults(opening.db, &defaults, &error, &setAside)) << error.toStdString();
        EXPECT_EQ(setAside.size(), QString(c.reported).isEmpty() ? 0 : 1);
        EXPECT_TRUE(setAside.join(' ').contains(c.reported)) << setAside.join(' ').toStdString();
        if (!setAside.isEmpty()) { // what a new database holds, never a converted value
            EXPECT_EQ(defaults.StartupCredits, 100);
            EXPECT_EQ(defaults.SimGames, 1000000);
            EXPECT_EQ(defaults.RandomSeed, 0);
            EXPECT_EQ(defaults.SaveCredits, 100);
        }
        closeDatabase(opening.db);
    }
}

TEST(Database, SaveCreditsStoresAtOnceAndRefusesWhatIsNotANumber)
{
    TempDataFolder folder;
    DatabaseOpening opening = openDatabase(folder.databasePath(), "save-credits");
    ASSERT_TRUE(opening.ok());
    auto storedCredits = [&] {
        DatabaseOpening other = openDatabase(folder.databasePath(), "other-reader", OpenMode::ReadOnly);
        ProgramDefaults defaults;
        QString error;
        EXPECT_TRUE(ReadDefaults(other.db, &defaults, &error)) << error.toStdString();
        closeDatabase(other.db);
        return defaults.SaveCredits;
    };
    EXPECT_EQ(SaveCredits(opening.db, 1234.5).outcome, SaveOutcome::Saved);
    EXPECT_EQ(storedCredits(), 1234.5);
    for (const double bad :
         {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
        const SaveResult result = SaveCredits(opening.db, bad);
        EXPECT_TRUE(result.failed());
        EXPECT_TRUE(result.error.contains("not a number of credits")) << result.error.toStdString();
    }
    EXPECT_EQ(storedCredits(), 1234.5);
    closeDatabase(opening.db);
}
