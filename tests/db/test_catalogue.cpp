// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The pay table as the windows read it and the catalogue changes it: copy, delete, store under a
// new key, export and import, each whole or not at all and each finding a game by its key
// in any letter case; the clean-up and the repair at start.

#include "db/catalogue.h"
#include "db/paytable.h"
#include "db/repair.h"
#include "support/databasetest.h"

#include <algorithm>
#include <limits>

using namespace tallyhawk;

namespace {

const GameKey kHarrahs{"NEVADA - Other", "Harrah's Laughlin", "Live Keno $1"};
const GameKey kAquarius{"NEVADA - Other", "Aquarius Laughlin", "Live Keno $1"};
const QVariant kNull = QVariant(QMetaType(QMetaType::QString));

class CatalogueTest : public DatabaseTest
{
protected:
    qlonglong count(const QString& condition = "1")
    {
        return scalar("SELECT count(*) FROM [Pay Table] WHERE " + condition).toLongLong();
    }
    void insert(const QVariantList& key, const QVariant& caught)
    {
        ASSERT_TRUE(ExecuteSql(db,
                               "INSERT INTO [Pay Table] ([Location], [Casino], [Game], [Catch], [Pick1]) "
                               "VALUES (?, ?, ?, ?, 7)",
                               key + QVariantList{caught}));
    }
    std::vector<PayTableFileRecord> records(const GameKey& key)
    {
        std::vector<PayTableFileRecord> result;
        EXPECT_TRUE(ReadGameRecords(db, key, &result, nullptr));
        return result;
    }
    bool import(const std::vector<PayTableFileRecord>& file, QString* error)
    {
        return ImportGame(db, ReadImportedGame(FormatPayTableFile(file)), error);
    }
};

} // namespace

TEST_F(CatalogueTest, TheGameListHoldsEveryGameInKeyOrderAndAGameReadsInCatchOrder)
{
    std::vector<GameKey> keys;
    ASSERT_TRUE(ReadGameList(db, &keys));
    ASSERT_EQ(keys.size(), 17u);
    QStringList games;
    for (const GameKey& key : keys)
        games << GameListText(key);
    QStringList sorted = games; // the parts lie in columns of fixed width
    std::sort(sorted.begin(), sorted.end(),
              [](const QString& a, const QString& b) { return a.toLower() < b.toLower(); });
    EXPECT_EQ(games, sorted);

    // Stored with the Catch falling, and a row without a Catch: read in Catch order, that row last.
    ASSERT_TRUE(ExecuteSql(db, "UPDATE [Pay Table] SET [Catch] = 10 - [Catch] WHERE [Casino] = 'Rampart'"));
    insert({"NEVADA - Las Vegas", "Rampart", "Fire Power Keno"}, kNull);
    const auto game = records({"nevada - las vegas", "RAMPART", "fire power keno"});
    ASSERT_EQ(game.size(), 12u);
    for (int c = 0; c <= 10; ++c)
        EXPECT_EQ(game[c][3], PayTableFileValue(double(c)));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(game[11][3]));
    EXPECT_EQ(game[8][5], PayTableFileValue(12.275)); // the row that was Catch 2
    EXPECT_EQ(game[10][16], PayTableFileValue(4.0));  // the Bonus Factor, on the row that was Catch 0
    EXPECT_TRUE(std::holds_alternative<std::monostate>(game[9][16]));
}

TEST_F(CatalogueTest, CopiesEveryRowOfAGameUnderTheNewKeyBonusRowFirst)
{
    const qlonglong before = count();
    QString error;
    ASSERT_TRUE(CopyGameAsNew(db, kHarrahs, "Keno $1", &error)) << error;
    EXPECT_EQ(scalar("SELECT [Catch] FROM [Pay Table] WHERE [Location] = 'New' ORDER BY rowid").toInt(), 0);
    auto copy = records({"New", "New", "Keno $1"}), original = records(kHarrahs);
    for (auto* game : {&copy, &original})
        for (auto& record : *game)
            record[0] = record[1] = record[2] = std::monostate{};
    EXPECT_EQ(copy, original);
    // A second copy under the same name adds another set of rows; a name the list would cut is refused.
    ASSERT_TRUE(CopyGameAsNew(db, kHarrahs, "Keno $1", &error)) << error;
    EXPECT_FALSE(CopyGameAsNew(db, kHarrahs, QString(21, 'g'), &error));
    EXPECT_EQ(count(), before + 22);
}

TEST_F(CatalogueTest, DeleteFindsTheKeyInAnyLetterCaseAndKeepsTheLastElevenRows)
{
    QString error;
    const qlonglong before = count();
    EXPECT_EQ(DeleteGame(db, {"NEVADA - Other", "Nowhere", "Keno"}, &error), DeleteOutcome::NotFound);
    EXPECT_EQ(count(), before);
    EXPECT_EQ(DeleteGame(db, {"nevada - other", "HARRAH'S LAUGHLIN", "live keno $1"}, &error),
              DeleteOutcome::Deleted);
    EXPECT_EQ(count(), before - 11);
    EXPECT_EQ(records(kAquarius).size(), 11u); // the same location, another casino

    ASSERT_TRUE(ExecuteSql(db, "DELETE FROM [Pay Table] WHERE [Casino] <> 'Aquarius Laughlin'"));
    EXPECT_EQ(DeleteGame(db, kAquarius, &error), DeleteOutcome::TooFewRows);
    insert({"NEVADA - Other", "Aquarius Laughlin", "Live Keno $1"}, 3); // twelve rows let the last game go
    EXPECT_EQ(DeleteGame(db, kAquarius, &error), DeleteOutcome::Deleted) << error;
    EXPECT_EQ(count(), 0);
}

TEST_F(CatalogueTest, StoringRefusesAKeyThatAnotherGameHasOrThatCannotBeStoredAndKeepsTheEditsOut)
{
    const auto harrahs = records(kHarrahs), aquarius = records(kAquarius);
    const qlonglong bonusRow =
        scalar("SELECT rowid FROM [Pay Table] WHERE [Casino] = ? AND [Catch] = 0", {"Harrah's Laughlin"})
            .toLongLong();
    const std::vector<CellEdit> edits{{bonusRow, "Pick1", 5.0}};
    insert({"OTHER", "One Row", "Keno"}, 0);
    QString error;
    // Also typed in other letters or with blanks around it, and when the other game is one row.
    for (const GameKey& taken : {kAquarius,
                                 GameKey{"nevada - other", " AQUARIUS LAUGHLIN ", "live keno $1"},
                                 {"OTHER", "One Row", "Keno"}}) {
        EXPECT_EQ(StoreEditedGame(db, kHarrahs, taken, edits, &error), StoreOutcome::KeyTaken)
            << taken.Casino;
        EXPECT_TRUE(error.startsWith("Another game is already stored as ")) << error;
    }
    EXPECT_EQ(StoreEditedGame(db, kHarrahs, {"NEVADA - Other", std::string(29, 'c'), "Keno"}, edits, &error),
              StoreOutcome::KeyRefused);
    EXPECT_EQ(error.toStdString(),
              "the casino \"" + std::string(29, 'c') + "\" is longer than 28 characters");
    EXPECT_EQ(records(kHarrahs), harrahs);
    EXPECT_EQ(records(kAquarius), aquarius);

    // The same key stores the edits; a new one, in other letters too, renames the game.
    ASSERT_EQ(StoreEditedGame(db, kHarrahs, kHarrahs, edits, &error), StoreOutcome::Stored) << error;
    EXPECT_EQ(count("[Casino] = 'Harrah''s Laughlin' AND [Catch] = 0 AND [Pick1] = 5"), 1);
    const GameKey renamed{"NEVADA - OTHER", "HARRAH'S LAUGHLIN", "Keno $1"};
    ASSERT_EQ(StoreEditedGame(db, kHarrahs, renamed, {}, &error), StoreOutcome::Stored) << error;
    EXPECT_EQ(count("[Casino] = 'HARRAH''S LAUGHLIN' COLLATE BINARY AND [Game] = 'Keno $1'"), 11);
    EXPECT_TRUE(records(kHarrahs).empty());
}

// Copy, store, import, count and delete all store a key without the blanks around its parts and
// find it by either form.
TEST_F(CatalogueTest, EveryPathStoresAndFindsTheKeyWithoutItsBlanks)
{
    const GameKey padded{" ARIZONA ", "  Desert  ", "Keno $1 "}, trimmed{"ARIZONA", "Desert", "Keno $1"};
    QString error;
    ASSERT_TRUE(
        CopyGameAsNew(db, {" NEVADA - Other", "Harrah's Laughlin ", " Live Keno $1"}, " Keno $1 ", &error));
    ASSERT_EQ(StoreEditedGame(db, {"New", "New", "Keno $1"}, padded, {}, &error), StoreOutcome::Stored);
    EXPECT_EQ(count("[Location] = 'ARIZONA' AND [Casino] = 'Desert' AND [Game] = 'Keno $1'"), 11);
    qlonglong rows = 0;
    ASSERT_TRUE(CountGameRows(db, padded, &rows, &error));
    EXPECT_EQ(rows, 11);

    auto file = records(padded);
    for (auto& record : file)
        record[0] = std::string("ARIZONA  ");
    ASSERT_TRUE(import(file, &error)) << error;
    EXPECT_EQ(records(trimmed).size(), 11u);
    EXPECT_EQ(DeleteGame(db, padded, &error), DeleteOutcome::Deleted);
    EXPECT_EQ(count(), count("[Location] <> 'ARIZONA'"));
}

TEST_F(CatalogueTest, AnImportReplacesEveryRowOfItsGameWholeOrNotAtAll)
{
    const auto exported = records(kHarrahs);
    auto file = exported;
    // Bonus values on rows after the first are not kept, whatever the file holds there.
    file[3][14] = 9.0;
    file[3][19] = std::string("4");
    const qlonglong before = count();
    QString error;
    ASSERT_TRUE(import(file, &error)) << error;
    EXPECT_EQ(count(), before);
    EXPECT_EQ(records(kHarrahs), exported);

    // Five records under the key in other letters, one refused half-way: the old game stays.
    file.resize(5);
    for (auto& record : file)
        record[1] = std::string("HARRAH'S LAUGHLIN");
    file[4][13] = 7.0;
    ASSERT_TRUE(ExecuteSql(db, "CREATE TEMP TRIGGER refuse BEFORE INSERT ON [Pay Table] WHEN NEW.[Catch] = 4 "
                               "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END"));
    EXPECT_FALSE(import(file, &error));
    EXPECT_TRUE(error.contains("refused by the test")) << error;
    EXPECT_EQ(records(kHarrahs), exported);
    ASSERT_TRUE(ExecuteSql(db, "DROP TRIGGER refuse"));
    ASSERT_TRUE(import(file, &error)) << error;
    EXPECT_EQ(count(), before - 6);
    EXPECT_EQ(count("[Casino] = 'Harrah''s Laughlin' AND [Catch] = 4 AND [Pick10] = 7"), 1);

    EXPECT_FALSE(ImportGame(db, ImportedGame{}, &error));
    EXPECT_EQ(count(), before - 6);
}

// The clean-up removes such rows, but a read-only database and the command line read them as
// they are stored: a Catch beyond any whole number reads as blank, never converted.
TEST_F(CatalogueTest, ACatchOutOfRangeIsDroppedAtStartAndReadAsBlankUntilThen)
{
    for (const QVariant& caught :
         {QVariant(1e20), QVariant(-1e20), QVariant(std::numeric_limits<double>::infinity()), QVariant(11),
          QVariant(-1), QVariant(7), kNull})
        insert({"X", "Y", "Z"}, caught);
    ASSERT_TRUE(ExecuteSql(
        db, "UPDATE [Pay Table] SET [Pick1] = 0, [Pick2] = '0' WHERE [Casino] = 'Y' AND [Catch] = 7"));
    std::vector<PayScheduleRow> rows;
    ASSERT_TRUE(ReadGameRows(db, GameSql({"X", "Y", "Z"}), &rows));
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [](const PayScheduleRow& row) { return !row.Catch; }),
              4);

    const qlonglong before = count();
    QString error;
    ASSERT_TRUE(CleanPayTable(db, &error)) << error;
    EXPECT_EQ(count(), before - 5);
    EXPECT_EQ(count("[Casino] = 'Y' AND [Catch] IS NULL AND [Pick1] = 7"), 1); // a Null Catch stays
    // Zero pays, as numbers or as text, are stored as Null.
    EXPECT_EQ(count("[Casino] = 'Y' AND [Catch] = 7 AND [Pick1] IS NULL AND [Pick2] IS NULL"), 1);
}

TEST_F(CatalogueTest, TheRepairRemovesRowsThatCanNeverBeListedAndTrimsKeysThatTakeNoOtherGamesKey)
{
    CatalogueRepair report;
    QString error;
    ASSERT_TRUE(RepairCatalogue(db, &report, &error));
    EXPECT_FALSE(report.repaired()); // a sound catalogue is left as it is
    const qlonglong before = count();
    // A Catch that is Null, fractional, text or out of range, and keys holding a NUL.
    for (const QVariant& caught :
         {QVariant(QMetaType(QMetaType::Int)), QVariant(2.5), QVariant("Catch"), QVariant(11), QVariant(-1)})
        insert({"OTHER", "Junk", "Keno"}, caught);
    ASSERT_TRUE(
        ExecuteSql(db, "INSERT INTO [Pay Table] ([Location], [Casino], [Game], [Catch]) "
                       "VALUES (CAST(x'4f0054' AS TEXT), 'C', 'G', 0), ('L', CAST(x'00' AS TEXT), 'G', 1), "
                       "('L', 'C', CAST(x'4b00' AS TEXT), 2)"));
    insert({"OTHER", "Kept", "Keno"}, 3); // a sound row of another game stays
    ASSERT_TRUE(ExecuteSql(
        db, "UPDATE [Pay Table] SET [Location] = 'NEVADA - Other ', [Casino] = ' Harrah''s Laughlin' "
            "WHERE [Casino] = 'Harrah''s Laughlin'"));
    // Trimmed, this one would become Aquarius Laughlin's key: it stays.
    ASSERT_TRUE(ExecuteSql(
        db, "UPDATE [Pay Table] SET [Game] = 'Live Keno $1 ' WHERE [Casino] = 'Aquarius Laughlin'"));
    insert({"NEVADA - Other", "Aquarius Laughlin", "Live Keno $1"}, 0);
    insert({kNull, "Missing", "Keno"}, 0); // a part stored as Null is found as an empty one

    ASSERT_TRUE(RepairCatalogue(db, &report, &error)) << error;
    EXPECT_EQ(report.rowsRemoved, 8);
    EXPECT_EQ(report.gamesTrimmed, 2);
    EXPECT_EQ(count(), before + 3);
    EXPECT_EQ(count("[Location] = 'NEVADA - Other' AND [Casino] = 'Harrah''s Laughlin'"), 11);
    EXPECT_EQ(count("[Game] = 'Live Keno $1 '"), 11);
    EXPECT_EQ(count("[Location] = '' AND [Casino] = 'Missing'"), 1);
    EXPECT_TRUE(report.description().contains("- removed 8 rows") &&
                report.description().contains("- stored 2 games"));
    ASSERT_TRUE(RepairCatalogue(db, &report, &error));
    EXPECT_FALSE(report.repaired()); // said once: the next start finds nothing

    // A repair that fails changes nothing: all or nothing.
    insert({"OTHER", "Junk", "Keno"}, 2.5);
    insert({" L", "C", "G"}, 0);
    ASSERT_TRUE(ExecuteSql(db, "CREATE TEMP TRIGGER refuse BEFORE UPDATE ON [Pay Table] "
                               "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END"));
    EXPECT_FALSE(RepairCatalogue(db, &report, &error));
    EXPECT_TRUE(error.contains("refused by the test")) << error;
    EXPECT_FALSE(report.repaired());
    EXPECT_EQ(count(), before + 5);
}
