// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The lock of the catalogue's edits: what was typed is checked before anything is stored and a
// refusal changes nothing; what passes is stored in one transaction and checked again as stored.

#include "db/catalogue.h"
#include "db/paytable.h"
#include "support/databasedump.h"
#include "support/databasetest.h"

using namespace tallyhawk;

namespace {

const GameKey kHarrahs{"NEVADA - Other", "Harrah's Laughlin", "Live Keno $1"};

// A value typed into the grids: the row of a Catch, a field, the value.
struct Typed
{
    int caught;
    QString field;
    double value;
};

struct LockCase
{
    const char* name;
    GameKey typedKey;
    std::vector<Typed> typed;
    LockOutcome outcome;
    bool stored;
    QString message;              // exact, or its start when `messageIsStart`
    GameKey storedKey = kHarrahs; // the key the rows carry afterwards
    QString before = {};          // a statement run before the lock
    bool messageIsStart = false;
};

void PrintTo(const LockCase& lock, std::ostream* out)
{
    *out << lock.name;
}

// The typed value in a row as the grids hand it over.
void apply(PayScheduleRow& row, const Typed& typed)
{
    if (typed.field == "Catch")
        row.Catch = static_cast<int>(typed.value);
    else if (typed.field.startsWith("Pick"))
        row.Pick[typed.field.mid(4).toInt() - 1] = typed.value;
    else if (typed.field == "Bonus Ball")
        row.BonusBall = typed.value;
    else if (typed.field == "Egg1 Bonus")
        row.Egg1Bonus = typed.value;
    else
        FAIL() << "no field " << typed.field.toStdString();
}

class LockTest : public DatabaseTest, public testing::WithParamInterface<LockCase>
{
protected:
    qlonglong rowIdOf(int caught)
    {
        return scalar("SELECT rowid FROM [Pay Table] WHERE [Casino] = ? AND [Catch] = ?",
                      {QString::fromStdString(kHarrahs.Casino), caught})
            .toLongLong();
    }
};

const std::vector<LockCase> kCases{
    // Refused before anything is stored.
    {"AnEmptyCasino",
     {"NEVADA - Other", "   ", "Live Keno $1"},
     {{10, "Pick10", 60000}},
     LockOutcome::Refused,
     false,
     "The game cannot be stored under this name: the casino is empty."},
    {"ThePlaceholderLocation",
     {"new", "Harrah's Laughlin", "Live Keno $1"},
     {{10, "Pick10", 60000}},
     LockOutcome::Refused,
     false,
     "Change the 'New' entries to other values before selecting 'Lock Pays'"},
    {"TwoRowsForOneCatch",
     kHarrahs,
     {{10, "Pick10", 60000}, {4, "Catch", 5}},
     LockOutcome::Refused,
     false,
     "Two rows of this game are for Catch 5. Give each row its own Catch from 0 to 10."},
    {"ANegativePay",
     kHarrahs,
     {{10, "Pick10", 60000}, {1, "Pick1", -1}},
     LockOutcome::Refused,
     false,
     "Pick 1 of Catch 1 is -1, below 0. Correct it before selecting 'Lock Pays'."},
    {"AnotherGamesKey",
     {"NEVADA - Other", "aquarius laughlin", "Live Keno $1"},
     {{10, "Pick10", 60000}},
     LockOutcome::Refused,
     false,
     "Another game already has this location, casino and game name. Change one of them before selecting "
     "'Lock Pays'."},
    {"ADatabaseThatRefusesTheStore",
     kHarrahs,
     {{10, "Pick10", 60000}},
     LockOutcome::Failed,
     false,
     "The game could not be stored: ",
     kHarrahs,
     "CREATE TEMP TRIGGER refuse BEFORE UPDATE ON [Pay Table] BEGIN SELECT RAISE(ABORT, 'refused'); END",
     true},
    // Stored, then refused as stored: the rows keep the new key.
    {"APayForMoreCatchesThanMarked",
     {"NEVADA - Other", " HARRAH'S LAUGHLIN ", "Live Keno $1"},
     {{5, "Pick3", 7}},
     LockOutcome::PaysRefused,
     true,
     "You must remove the entry made for Pick 3 and Catch 5 before proceeding.",
     {"NEVADA - Other", "HARRAH'S LAUGHLIN", "Live Keno $1"}},
    {"AnEggBonusOutsideACavemanGame",
     kHarrahs,
     {{0, "Egg1 Bonus", 2}},
     LockOutcome::BonusRefused,
     true,
     "You must select a 'Caveman' game if any Egg Bonus is greater than ' 1 '."},
    // Locked.
    {"ARenamedGame",
     {"NEVADA - Other", "Harrah's Laughlin", "Keno $1"},
     {{10, "Pick10", 60000}},
     LockOutcome::Locked,
     true,
     "",
     {"NEVADA - Other", "Harrah's Laughlin", "Keno $1"}},
    {"ABonusBallWithTheReminder",
     {"NEVADA - Other", "Harrah's Laughlin", "Keno $1"},
     {{0, "Bonus Ball", 1}, {0, "Egg1 Bonus", 0}},
     LockOutcome::Locked,
     true,
     "Reminder: If you don't want a bonus to be applied, the values\nin the bonus row should read  0   0   1 "
     "  "
     "1   1   1",
     {"NEVADA - Other", "Harrah's Laughlin", "Keno $1"}},
};

} // namespace

TEST_P(LockTest, StoresOnlyWhatPassesTheChecks)
{
    const LockCase& lock = GetParam();
    if (!lock.before.isEmpty()) {
        ASSERT_TRUE(ExecuteSql(db, lock.before));
    }
    std::vector<PayScheduleRow> rows;
    ASSERT_TRUE(ReadGameRows(db, GameSql(kHarrahs), &rows));
    ASSERT_EQ(rows.size(), 11u);
    std::vector<CellEdit> edits;
    for (const Typed& typed : lock.typed) {
        apply(rows[static_cast<std::size_t>(typed.caught)], typed);
        edits.push_back({rowIdOf(typed.caught), typed.field, typed.value});
    }
    const QStringList before = DatabaseDump(db);

    const LockResult result = LockEditedGame(db, kHarrahs, lock.typedKey, rows, edits);
    EXPECT_EQ(result.outcome, lock.outcome);
    EXPECT_EQ(result.stored, lock.stored);
    if (lock.messageIsStart) {
        EXPECT_TRUE(result.message.startsWith(lock.message)) << result.message.toStdString();
    } else {
        EXPECT_EQ(result.message, lock.message);
    }
    EXPECT_EQ(result.key.Location + "|" + result.key.Casino + "|" + result.key.Game,
              lock.storedKey.Location + "|" + lock.storedKey.Casino + "|" + lock.storedKey.Game);
    if (!lock.stored) {
        EXPECT_EQ(DatabaseDump(db), before);
        return;
    }
    // Every row under the key it now carries, each typed value with it, and none under the old.
    std::vector<PayScheduleRow> stored;
    ASSERT_TRUE(ReadGameRows(db, GameSql(result.key), &stored));
    ASSERT_EQ(stored.size(), 11u);
    for (const Typed& typed : lock.typed) {
        const QString field = typed.field.startsWith("Pick") ? typed.field : "[" + typed.field + "]";
        EXPECT_EQ(scalar("SELECT " + field + " FROM [Pay Table] WHERE rowid = ?", {rowIdOf(typed.caught)})
                      .toDouble(),
                  typed.value)
            << typed.field.toStdString();
    }
    if (result.key != kHarrahs) {
        EXPECT_EQ(scalar("SELECT count(*) FROM [Pay Table] WHERE [Game] = 'Live Keno $1' AND [Casino] = "
                         "'Harrah''s Laughlin' COLLATE BINARY")
                      .toInt(),
                  0);
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, LockTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<LockCase>& info) { return info.param.name; });
