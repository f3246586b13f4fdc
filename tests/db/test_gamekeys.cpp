// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// A game is found by the one key equality on every path of the database: keys that differ in
// the case of accented letters name one game, and a key longer than the list can show is
// listed whole and read, never taken for a game without pays.

#include "db/catalogue.h"
#include "db/paytable.h"
#include "support/databasetest.h"

using namespace tallyhawk;

namespace {

const GameKey kCafeUpper{"OTHER", "Probe Casino", "CAF\u00c9 KENO"};
const GameKey kCafeMixed{"OTHER", "Probe Casino", "Caf\u00e9 Keno"};

// Eleven pay-table records under the key; 10 of 10 pays `top`.
std::string payTableFile(const GameKey& key, int top)
{
    const std::string quoted = "\"" + key.Location + "\",\"" + key.Casino + "\",\"" + key.Game + "\",";
    std::string text = quoted + "0,,,,,,,,,,,0,0,1,1,1,1\r\n";
    for (int c = 1; c <= 10; ++c)
        text += quoted + std::to_string(c) + ",,,,,,,,,," + std::to_string(c == 10 ? top : c) + ",,,,,,\r\n";
    return text;
}

class GameKeyLookupTest : public DatabaseTest
{
protected:
    void importGame(const GameKey& key, int top)
    {
        QString error;
        ASSERT_TRUE(ImportGame(db, ReadImportedGame(payTableFile(key, top)), &error)) << error;
    }
    qlonglong rowsOf(const GameKey& key)
    {
        qlonglong rows = -1;
        EXPECT_TRUE(CountGameRows(db, key, &rows, nullptr));
        return rows;
    }
    std::optional<double> topPay(const GameKey& key, QString* error = nullptr)
    {
        KenoGame game;
        if (!ReadGame(db, GameSql(key), &game, error))
            return std::nullopt;
        return game.pay(10, 10);
    }
};

} // namespace

TEST_F(GameKeyLookupTest, AKeyInOtherAccentedLettersIsTheSameGameOnEveryPath)
{
    importGame(kCafeUpper, 111);
    // The import's "already holds" check, the lookup and the export find it in either spelling.
    EXPECT_EQ(rowsOf(kCafeMixed), 11);
    EXPECT_EQ(topPay({"other", "PROBE CASINO", "caf\u00e9 keno"}), 111);
    std::vector<PayTableFileRecord> records;
    ASSERT_TRUE(ReadGameRecords(db, kCafeMixed, &records, nullptr));
    EXPECT_EQ(records.size(), 11u);

    // Imported again in other letters, it replaces the game: one game, spelt as the file spells it.
    importGame(kCafeMixed, 222);
    EXPECT_EQ(scalar("SELECT count(*) FROM [Pay Table] WHERE [Casino] = 'Probe Casino'").toInt(), 11);
    EXPECT_EQ(scalar("SELECT count(DISTINCT [Game]) FROM [Pay Table] WHERE [Casino] = 'Probe Casino' AND "
                     "[Game] = ? COLLATE BINARY",
                     {QString::fromStdString(kCafeMixed.Game)})
                  .toInt(),
              1);
    EXPECT_EQ(topPay(kCafeUpper), 222);

    // Another game may not take its key in other letters; the game itself may.
    QString error;
    EXPECT_EQ(StoreEditedGame(db, {"NEVADA - Other", "Harrah's Laughlin", "Live Keno $1"},
                              {"other", "probe casino", "CAF\u00c9 KENO"}, {}, &error),
              StoreOutcome::KeyTaken);
    EXPECT_EQ(StoreEditedGame(db, kCafeMixed, kCafeUpper, {}, &error), StoreOutcome::Stored) << error;
    EXPECT_EQ(rowsOf(kCafeMixed), 11);

    ASSERT_TRUE(CopyGameAsNew(db, {"OTHER", "PROBE CASINO", "caf\u00e9 keno"}, "Copy", &error)) << error;
    EXPECT_EQ(rowsOf({"New", "New", "Copy"}), 11);
    EXPECT_EQ(DeleteGame(db, {"other", "probe casino", "caf\u00e9 KENO"}, &error), DeleteOutcome::Deleted);
    EXPECT_EQ(rowsOf(kCafeUpper), 0);
}

TEST_F(GameKeyLookupTest, AGameWithoutRowsIsAnErrorNeverAGameThatPaysNothing)
{
    QString error;
    EXPECT_EQ(topPay({"OTHER", "Probe Casino", "No Such Keno"}, &error), std::nullopt);
    EXPECT_EQ(error, "No game OTHER, Probe Casino, No Such Keno is stored in the Pay Table.");
}

TEST_F(GameKeyLookupTest, AStoredKeyLongerThanTheListShowsIsListedWholeAndRead)
{
    // Another tool may store parts longer than the list's columns.
    const GameKey longKey{std::string(30, 'L'), "A Casino Whose Name Runs Past Thirty Columns",
                          "Keno With A Long Name, 25\u00a2"};
    PayScheduleRow row;
    row.key = longKey;
    for (int c = 0; c <= 10; ++c) {
        row.Catch = c;
        row.Pick[9] = c == 10 ? std::optional<double>(500) : std::nullopt;
        ASSERT_TRUE(InsertPayScheduleRow(db, row));
    }
    std::vector<GameKey> games;
    ASSERT_TRUE(ReadGameList(db, &games));
    ASSERT_EQ(std::count(games.begin(), games.end(), longKey), 1);
    const QString shown = GameListText(longKey);
    EXPECT_EQ(shown.size(), kGameListWidth);
    EXPECT_EQ(shown.left(25), QString(24, 'L') + "\u2026");
    EXPECT_TRUE(shown.endsWith("\u2026"));
    EXPECT_EQ(topPay(longKey), 500);
    // The key as the list's columns cut it names no game.
    EXPECT_EQ(topPay({std::string(25, 'L'), longKey.Casino.substr(0, 30), longKey.Game.substr(0, 20)}),
              std::nullopt);
}

// Older versions let an import store one game twice, in letters SQLite's NOCASE told apart.
TEST_F(GameKeyLookupTest, AGameStoredTwiceInOtherLettersReadsEachListedSpellingAloneUntilReplaced)
{
    for (const auto& [key, top] : {std::pair{kCafeUpper, 111}, std::pair{kCafeMixed, 222}}) {
        PayScheduleRow row;
        row.key = key;
        for (int c = 0; c <= 10; ++c) {
            row.Catch = c;
            row.Pick[9] = c == 10 ? std::optional<double>(top) : std::nullopt;
            ASSERT_TRUE(InsertPayScheduleRow(db, row));
        }
    }
    EXPECT_EQ(topPay(kCafeUpper), 111);
    EXPECT_EQ(topPay(kCafeMixed), 222);
    EXPECT_EQ(rowsOf(kCafeMixed), 11);
    importGame({"OTHER", "Probe Casino", "caf\u00e9 keno"}, 333);
    EXPECT_EQ(scalar("SELECT count(*) FROM [Pay Table] WHERE [Casino] = 'Probe Casino'").toInt(), 11);
    EXPECT_EQ(topPay(kCafeUpper), 333);
}
