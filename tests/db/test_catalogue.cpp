#include "db/catalogue.h"
#include "db/database.h"
#include "db/paytable.h"
#include "support/databasetest.h"

#include <gtest/gtest.h>
#include <QSqlQuery>

using namespace tallyhawk;

namespace {

const GameKey kHarrahs{"NEVADA - Other", "Harrah's Laughlin", "Live Keno $1"};
const GameKey kAquarius{"NEVADA - Other", "Aquarius Laughlin", "Live Keno $1"};
const GameKey kFirePower{"NEVADA - Las Vegas", "Rampart", "Fire Power Keno"};

class CatalogueTest : public DatabaseTest
{
protected:
    qlonglong allRows() { return scalar("SELECT count(*) FROM [Pay Table]").toLongLong(); }

    std::vector<PayTableFileRecord> records(const GameKey& key)
    {
        std::vector<PayTableFileRecord> result;
        QString error;
        EXPECT_TRUE(ReadGameRecords(db, key, &result, &error)) << error.toStdString();
        return result;
    }

    // The pay of a game's row, or Null.
    QVariant pay(const GameKey& key, int caught, int n)
    {
        return scalar(QStringLiteral("SELECT [Pick%1] FROM [Pay Table] WHERE [Location] = ? AND [Casino] = ? "
                                     "AND [Game] = ? AND [Catch] = ?")
                          .arg(n),
                      {QString::fromStdString(key.Location), QString::fromStdString(key.Casino),
                       QString::fromStdString(key.Game), caught});
    }
};

std::vector<PayTableFileRecord> readFile(const std::string& text)
{
    const PayTableFileContents contents = ReadPayTableFile(DecodePayTableBytes(text));
    EXPECT_TRUE(contents.ok()) << contents.error;
    return contents.records;
}

ImportedGame gameOf(const std::vector<PayTableFileRecord>& records)
{
    const ImportedGame game = GameFromRecords(records);
    EXPECT_TRUE(game.ok()) << game.error;
    return game;
}

} // namespace

TEST_F(CatalogueTest, ReadsAGameAsRecordsInCatchOrder)
{
    const auto game = records(kFirePower);
    ASSERT_EQ(game.size(), 11u);
    for (int c = 0; c <= 10; ++c) {
        EXPECT_EQ(std::get<std::string>(game[c][1]), "Rampart");
        EXPECT_EQ(std::get<double>(game[c][3]), c);
    }
    EXPECT_EQ(std::get<double>(game[2][5]), 12.275);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(game[2][4]));
    EXPECT_EQ(std::get<double>(game[0][16]), 4); // Bonus Factor
    EXPECT_TRUE(std::holds_alternative<std::monostate>(game[1][16]));
    // The key is matched without regard to letter case.
    EXPECT_EQ(records({"nevada - las vegas", "RAMPART", "fire power keno"}), game);
    EXPECT_TRUE(records({"NEVADA - Other", "Nowhere", "Keno"}).empty());
}

TEST_F(CatalogueTest, ARowWithoutACatchComesAfterTheBonusRow)
{
    ASSERT_TRUE(
        ExecuteSql(db, "INSERT INTO [Pay Table] ([Location], [Casino], [Game], [Pick1]) VALUES (?, ?, ?, 3)",
                   {"NEVADA - Las Vegas", "Rampart", "Fire Power Keno"}));
    const auto game = records(kFirePower);
    ASSERT_EQ(game.size(), 12u);
    EXPECT_EQ(game.front()[3], PayTableFileValue(0.0));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(game.back()[3]));
}

TEST_F(CatalogueTest, CopiesEveryRowOfAGameUnderTheNewKey)
{
    const qlonglong before = allRows();
    QString error;
    ASSERT_TRUE(CopyGameAsNew(db, kHarrahs, "Live Keno $1", &error)) << error.toStdString();
    EXPECT_EQ(allRows(), before + 11);

    const GameKey copyKey{"New", "New", "Live Keno $1"};
    auto copy = records(copyKey);
    auto original = records(kHarrahs);
    ASSERT_EQ(copy.size(), 11u);
    for (auto* game : {&copy, &original})
        for (auto& record : *game)
            record[0] = record[1] = std::monostate{};
    EXPECT_EQ(copy, original);

    // A second copy under the same name adds another set of rows with that key.
    ASSERT_TRUE(CopyGameAsNew(db, kHarrahs, "Live Keno $1", &error)) << error.toStdString();
    EXPECT_EQ(records(copyKey).size(), 22u);
    // The bonus row of the copy is stored first.
    EXPECT_EQ(scalar("SELECT [Catch] FROM [Pay Table] WHERE [Location] = 'New' ORDER BY rowid").toInt(), 0);
}

TEST_F(CatalogueTest, CopyTakesTheNewGameName)
{
    QString error;
    ASSERT_TRUE(CopyGameAsNew(db, kFirePower, "Keno $1", &error)) << error.toStdString();
    EXPECT_EQ(records({"New", "New", "Keno $1"}).size(), 11u);
    EXPECT_EQ(records(kFirePower).size(), 11u);
}

TEST_F(CatalogueTest, DeleteKeepsTheLastElevenRows)
{
    ASSERT_TRUE(
        ExecuteSql(db, "DELETE FROM [Pay Table] WHERE NOT ([Location] = ? AND [Casino] = ? AND [Game] = ?)",
                   {"NEVADA - Other", "Harrah's Laughlin", "Live Keno $1"}));
    ASSERT_EQ(allRows(), 11);
    QString error;
    EXPECT_EQ(DeleteGame(db, kHarrahs, &error), DeleteOutcome::TooFewRows);
    EXPECT_EQ(allRows(), 11);

    // Twelve rows let any game go, even the last one.
    ASSERT_TRUE(ExecuteSql(db, "INSERT INTO [Pay Table] ([Location], [Casino], [Game], [Catch]) "
                               "VALUES ('NEVADA - Other', 'Harrah''s Laughlin', 'Live Keno $1', 3)"));
    EXPECT_EQ(DeleteGame(db, kHarrahs, &error), DeleteOutcome::Deleted) << error.toStdString();
    EXPECT_EQ(allRows(), 0);
}

TEST_F(CatalogueTest, DeletingAGameThatIsNotThereSaysSo)
{
    const qlonglong before = allRows();
    QString error;
    EXPECT_EQ(DeleteGame(db, {"NEVADA - Other", "Nowhere", "Keno"}, &error), DeleteOutcome::NotFound);
    EXPECT_EQ(allRows(), before);
}

TEST_F(CatalogueTest, DeleteMatchesTheKeyInAnyLetterCase)
{
    // Stored in small letters, selected in capitals.
    ASSERT_TRUE(ExecuteSql(
        db, "UPDATE [Pay Table] SET [Location] = 'nevada - other', [Casino] = ? WHERE [Casino] = ?",
        {"harrah's laughlin", "Harrah's Laughlin"}));
    const qlonglong before = allRows();
    QString error;
    EXPECT_EQ(DeleteGame(db, {"NEVADA - OTHER", "HARRAH'S LAUGHLIN", "LIVE KENO $1"}, &error),
              DeleteOutcome::Deleted)
        << error.toStdString();
    EXPECT_EQ(allRows(), before - 11);
    EXPECT_TRUE(records(kHarrahs).empty());
    EXPECT_EQ(records(kAquarius).size(), 11u); // the same location, another casino
}

TEST_F(CatalogueTest, StoringGivesTheGameItsNewKey)
{
    const auto before = records(kHarrahs);
    const GameKey renamed{"NEVADA - Other", "Harrah's Laughlin", "Keno $1"};
    QString error;
    ASSERT_EQ(StoreEditedGame(db, kHarrahs, renamed, {}, &error), StoreOutcome::Stored)
        << error.toStdString();
    EXPECT_TRUE(records(kHarrahs).empty());
    auto after = records(renamed);
    ASSERT_EQ(after.size(), 11u);
    for (auto& record : after)
        record[2] = std::string("Live Keno $1");
    EXPECT_EQ(after, before);
}

TEST_F(CatalogueTest, StoringRefusesAKeyThatAnotherGameHasAndKeepsTheEditsOut)
{
    const auto harrahs = records(kHarrahs);
    const auto aquarius = records(kAquarius);
    const qlonglong bonusRow =
        scalar("SELECT rowid FROM [Pay Table] WHERE [Casino] = ? AND [Catch] = 0", {"Harrah's Laughlin"})
            .toLongLong();
    const std::vector<CellEdit> edits{{bonusRow, "Pick1", 5.0}};
    QString error;
    EXPECT_EQ(StoreEditedGame(db, kHarrahs, kAquarius, edits, &error), StoreOutcome::KeyTaken);
    EXPECT_FALSE(error.isEmpty());
    // Also when the other game's key is typed in other letters, or with blanks around it.
    EXPECT_EQ(StoreEditedGame(db, kHarrahs, {"nevada - other", " AQUARIUS LAUGHLIN ", "live keno $1"}, edits,
                              &error),
              StoreOutcome::KeyTaken);
    EXPECT_EQ(records(kHarrahs), harrahs); // the edit went with the refused key
    EXPECT_EQ(records(kAquarius), aquarius);

    EXPECT_EQ(StoreEditedGame(db, kHarrahs, {"NEVADA - Other", QString(29, 'c').toStdString(), "Keno"}, edits,
                              &error),
              StoreOutcome::KeyRefused);
    EXPECT_EQ(error.toStdString(),
              "the casino \"" + std::string(29, 'c') + "\" is longer than 28 characters");
    EXPECT_EQ(records(kHarrahs), harrahs);

    ASSERT_EQ(StoreEditedGame(db, kHarrahs, kHarrahs, edits, &error), StoreOutcome::Stored)
        << error.toStdString();
    EXPECT_EQ(pay(kHarrahs, 0, 1), QVariant(qlonglong(5)));
}

TEST_F(CatalogueTest, StoringTheSameKeyInOtherLettersChangesTheCase)
{
    const GameKey shouted{"NEVADA - OTHER", "HARRAH'S LAUGHLIN", "Live Keno $1"};
    QString error;
    ASSERT_EQ(StoreEditedGame(db, kHarrahs, shouted, {}, &error), StoreOutcome::Stored)
        << error.toStdString();
    EXPECT_EQ(
        scalar("SELECT count(*) FROM [Pay Table] WHERE [Casino] = ? COLLATE BINARY", {"HARRAH'S LAUGHLIN"})
            .toInt(),
        11);
    // Unchanged, the key rewrites the rows with their own values.
    EXPECT_EQ(StoreEditedGame(db, shouted, shouted, {}, &error), StoreOutcome::Stored);
    EXPECT_EQ(records(shouted).size(), 11u);
}

TEST_F(CatalogueTest, EveryPathStoresAndFindsTheKeyWithoutItsBlanks)
{
    const GameKey padded{" ARIZONA ", "  Desert  ", "Keno $1 "};
    const GameKey trimmed{"ARIZONA", "Desert", "Keno $1"};
    QString error;
    ASSERT_TRUE(
        CopyGameAsNew(db, {" NEVADA - Other", "Harrah's Laughlin ", " Live Keno $1"}, " Keno $1 ", &error))
        << error.toStdString();
    EXPECT_EQ(records({"New", "New", "Keno $1"}).size(), 11u);
    ASSERT_EQ(StoreEditedGame(db, {"New", "New", "Keno $1"}, padded, {}, &error), StoreOutcome::Stored);
    EXPECT_EQ(scalar("SELECT count(*) FROM [Pay Table] WHERE [Location] = 'ARIZONA' AND [Casino] = 'Desert' "
                     "AND [Game] = 'Keno $1'")
                  .toInt(),
              11);
    // Export, count and delete find it by either form.
    EXPECT_EQ(records(padded).size(), 11u);
    qlonglong rows = 0;
    ASSERT_TRUE(CountGameRows(db, padded, &rows, &error));
    EXPECT_EQ(rows, 11);

    auto file = records(trimmed);
    for (auto& record : file)
        record[0] = std::string("ARIZONA  ");
    ASSERT_TRUE(ImportGame(db, gameOf(file), &error)) << error.toStdString();
    EXPECT_EQ(records(trimmed).size(), 11u);
    EXPECT_EQ(DeleteGame(db, padded, &error), DeleteOutcome::Deleted);
    EXPECT_TRUE(records(trimmed).empty());

    // A name that the list would cut is never stored.
    EXPECT_FALSE(CopyGameAsNew(db, kHarrahs, QString(21, 'g'), &error));
    EXPECT_TRUE(records({"New", "New", std::string(21, 'g')}).empty());
}

TEST_F(CatalogueTest, RoundingTouchesOnlyTheListedGames)
{
    ASSERT_TRUE(ExecuteSql(db,
                           "UPDATE [Pay Table] SET [Pick1] = 2.5, [Pick2] = 3.5, [Pick3] = '7.5 credits', "
                           "[Pick4] = '' WHERE [Casino] = ? AND [Catch] = 1",
                           {"Harrah's Laughlin"}));
    QString error;
    ASSERT_TRUE(RoundPaysToWholeNumbers(db, {kHarrahs}, &error)) << error.toStdString();
    EXPECT_EQ(pay(kHarrahs, 1, 1), QVariant(qlonglong(2)));
    EXPECT_EQ(pay(kHarrahs, 1, 2), QVariant(qlonglong(4)));
    EXPECT_EQ(pay(kHarrahs, 1, 3), QVariant(qlonglong(8))); // the leading number of the text
    EXPECT_EQ(pay(kHarrahs, 1, 4).toString(), "");          // an empty text is left alone
    EXPECT_TRUE(pay(kHarrahs, 1, 5).isNull());
    EXPECT_EQ(pay(kHarrahs, 10, 10), QVariant(qlonglong(50000)));
    // A game that is not listed keeps its fractional pays.
    EXPECT_EQ(pay(kFirePower, 2, 2).toDouble(), 12.275);

    ASSERT_TRUE(RoundPaysToWholeNumbers(db, {kAquarius, {"nevada - las vegas", "rampart", "FIRE POWER KENO"}},
                                        &error))
        << error.toStdString();
    EXPECT_EQ(pay(kFirePower, 2, 2), QVariant(qlonglong(12)));
    EXPECT_EQ(pay(kFirePower, 3, 3), QVariant(qlonglong(30)));
    EXPECT_EQ(pay(kFirePower, 4, 4), QVariant(qlonglong(88)));
}

TEST_F(CatalogueTest, ExportThenImportGivesTheSameGame)
{
    const auto exported = records(kHarrahs);
    ASSERT_EQ(exported.size(), 11u);
    const std::string file = FormatPayTableFile(exported);
    auto read = readFile(file);
    ASSERT_EQ(read.size(), 11u);
    // Bonus values on rows after the first are not kept, whatever the file holds there.
    read[3][14] = 9.0;
    read[3][19] = std::string("4");

    const qlonglong before = allRows();
    QString error;
    ASSERT_TRUE(ImportGame(db, gameOf(read), &error)) << error.toStdString();
    EXPECT_EQ(allRows(), before);
    EXPECT_EQ(records(kHarrahs), exported);
    EXPECT_EQ(std::get<double>(records(kHarrahs)[0][16]), 1);                      // Bonus Factor
    EXPECT_TRUE(std::holds_alternative<std::monostate>(records(kHarrahs)[3][14])); // Bonus Ball
}

TEST_F(CatalogueTest, ImportReplacesAllRowsOfTheGameItNames)
{
    // Five records under the key in other letters: the game has five rows afterwards.
    auto five = records(kHarrahs);
    five.resize(5);
    for (auto& record : five)
        record[1] = std::string("HARRAH'S LAUGHLIN");
    const qlonglong before = allRows();
    QString error;
    ASSERT_TRUE(ImportGame(db, gameOf(readFile(FormatPayTableFile(five))), &error)) << error.toStdString();
    EXPECT_EQ(allRows(), before - 6);
    EXPECT_EQ(records(kHarrahs).size(), 5u);
    EXPECT_EQ(records(kAquarius).size(), 11u);
}

TEST_F(CatalogueTest, ImportOfFourteenRecordsKeepsEleven)
{
    auto game = records(kFirePower);
    for (int c = 11; c <= 13; ++c) {
        auto extra = game.back();
        extra[3] = double(c);
        game.push_back(extra);
    }
    const auto read = readFile(FormatPayTableFile(game));
    ASSERT_EQ(read.size(), 11u);
    const qlonglong before = allRows();
    QString error;
    ASSERT_TRUE(ImportGame(db, gameOf(read), &error)) << error.toStdString();
    EXPECT_EQ(allRows(), before);
    EXPECT_EQ(records(kFirePower).size(), 11u);
    EXPECT_EQ(pay(kFirePower, 2, 2).toDouble(), 12.275);
}

TEST_F(CatalogueTest, ANewGameFromAWindows1252FileKeepsItsCentSign)
{
    std::string file;
    for (int c = 0; c <= 10; ++c) {
        file += "\"NEVADA - Other\",\"O'Sheas\",\"Caveman Keno 25\xA2\"," + std::to_string(c);
        for (int i = 4; i < 20; ++i)
            file += c == 0 && i >= 14 ? ",1" : ",\"\"";
        file += "\r\n";
    }
    QString error;
    ASSERT_TRUE(ImportGame(db, gameOf(readFile(file)), &error)) << error.toStdString();
    const auto game = records({"NEVADA - Other", "O'Sheas", "Caveman Keno 25\xC2\xA2"});
    ASSERT_EQ(game.size(), 11u);
    EXPECT_EQ(std::get<double>(game[0][19]), 1);
}

TEST_F(CatalogueTest, AnImportThatFailsMidwayLeavesTheOldGame)
{
    const auto old = records(kHarrahs);
    auto changed = old;
    for (auto& record : changed)
        if (record[3] != PayTableFileValue(0.0))
            record[13] = 7.0;
    ASSERT_TRUE(ExecuteSql(db, "CREATE TEMP TRIGGER refuse_catch_5 BEFORE INSERT ON [Pay Table] "
                               "WHEN NEW.[Catch] = 5 BEGIN SELECT RAISE(ABORT, 'refused by the test'); END"));
    const qlonglong before = allRows();
    QString error;
    EXPECT_FALSE(ImportGame(db, gameOf(readFile(FormatPayTableFile(changed))), &error));
    EXPECT_TRUE(error.contains("refused by the test")) << error.toStdString();
    EXPECT_EQ(allRows(), before);
    EXPECT_EQ(records(kHarrahs), old);

    // Without the trigger the same import goes through.
    ASSERT_TRUE(ExecuteSql(db, "DROP TRIGGER refuse_catch_5"));
    ASSERT_TRUE(ImportGame(db, gameOf(readFile(FormatPayTableFile(changed))), &error)) << error.toStdString();
    EXPECT_EQ(pay(kHarrahs, 5, 10), QVariant(qlonglong(7)));
}

TEST_F(CatalogueTest, ImportWithNothingToImportChangesNothing)
{
    const qlonglong before = allRows();
    QString error;
    EXPECT_FALSE(ImportGame(db, ImportedGame{}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(allRows(), before);
}
