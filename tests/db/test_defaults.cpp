// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The row of defaults, the credits saved at once, the [Sessions] table, and the transaction each
// change runs in when another program holds the file.

#include "db/defaults.h"
#include "db/paytable.h"
#include "db/sessions.h"
#include "db/sqltransaction.h"
#include "engine/sim/sessionstats.h"
#include "support/databasetest.h"

#include <limits>

using namespace tallyhawk;

namespace {

class DefaultsTest : public DatabaseTest
{
protected:
    // What another connection reads: what was committed.
    ProgramDefaults stored()
    {
        DatabaseOpening other = openDatabase(m_folder.databasePath(), "checker", OpenMode::ReadOnly);
        ProgramDefaults defaults;
        QString error;
        EXPECT_TRUE(ReadDefaults(other.db, &defaults, &error)) << error;
        closeDatabase(other.db);
        return defaults;
    }
};

constexpr double kInfinity = std::numeric_limits<double>::infinity();

} // namespace

TEST_F(DefaultsTest, TheSeedsOptionsAreReadAndStoredOptionsOutOfRangeAreReportedNotConverted)
{
    const ProgramDefaults seed = stored();
    EXPECT_TRUE(seed.SaveCredits == 100 && seed.StartupCredits == 100 && seed.RandomSeed == 0);
    EXPECT_TRUE(seed.SimGames == 1000000 && !seed.RandomPickForSim && seed.SoundON && seed.ShowNumbers);
    EXPECT_EQ(seed.Speed, "Fast");
    EXPECT_EQ(scalar("SELECT [SoundON] FROM [Defaults]").toInt(), -1); // booleans are stored as -1 and 0

    const struct
    {
        const char* field;
        QVariant value;
        const char* reported; // empty: read as it is
    } cases[] = {
        {"StartupCredits", 1e20, "StartupCredits holds 1E+20"},
        {"RandomSeed", -3e9, "RandomSeed holds -3000000000"},
        {"SimGames", kInfinity, "SimGames holds inf"},
        {"SaveCredits", -kInfinity, "SaveCredits holds -inf"},
        {"SaveCredits", 1e300, "SaveCredits holds 1E+300"},
        {"SaveCredits", 999999999999999.0, ""},
        {"SoundON", 1e20, ""}, // a switch is on for any number but 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        ASSERT_TRUE(db.transaction());
        ASSERT_TRUE(ExecuteSql(db, QStringLiteral("UPDATE [Defaults] SET [%1] = ?").arg(c.field), {c.value}));
        ProgramDefaults defaults;
        QString error;
        QStringList setAside;
        EXPECT_TRUE(ReadDefaults(db, &defaults, &error, &setAside)) << error;
        ASSERT_TRUE(db.rollback());
        EXPECT_EQ(setAside.size(), *c.reported ? 1 : 0);
        EXPECT_TRUE(setAside.join(' ').contains(c.reported)) << setAside.join(' ');
        // What a new database holds, never a converted value; else the value as it is stored.
        EXPECT_TRUE(defaults.StartupCredits == 100 && defaults.SimGames == 1000000 &&
                    defaults.RandomSeed == 0);
        EXPECT_EQ(defaults.SaveCredits,
                  *c.reported || c.field != QString("SaveCredits") ? 100 : 999999999999999.0);
        EXPECT_TRUE(defaults.SoundON);
    }
}

// A commit that another program's read keeps from finishing is reported and rolled back at once:
// the connection is outside any transaction even while the failed one is in scope, so the saves
// that follow land.
TEST_F(DefaultsTest, ABusyCommitIsRolledBackAtOnceAndTheSavesAfterItLand)
{
    const std::vector<std::int32_t> folded(kFoldedTop + 1, 1);
    QString error;
    ASSERT_TRUE(ExecuteSql(db, "PRAGMA busy_timeout = 50")); // the program waits five seconds; no need here
    DatabaseOpening reader = openDatabase(m_folder.databasePath(), "other-program", OpenMode::ReadOnly);
    QSqlQuery read(reader.db);
    ASSERT_TRUE(read.exec("BEGIN") && read.exec("SELECT count(*) FROM [Pay Table]") && read.next());
    EXPECT_FALSE(WriteSessionsTable(db, folded, {"L", "C", "a game"}, 3, 10, &error));
    EXPECT_TRUE(SaveCredits(db, 500).failed());
    SqlTransaction transaction(db);
    ASSERT_TRUE(transaction.isActive() && ExecuteSql(db, "DELETE FROM [Sessions]"));
    EXPECT_FALSE(transaction.commit());
    EXPECT_TRUE(transaction.error().contains("Another program is using the database file"))
        << transaction.error();
    EXPECT_FALSE(transaction.isActive());
    read.finish();
    read.exec("ROLLBACK");

    EXPECT_EQ(SaveCredits(db, 500).outcome, SaveOutcome::Saved);
    for (const double bad : {kInfinity, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_TRUE(SaveCredits(db, bad).error.contains("not a number of credits"));
    EXPECT_EQ(stored().SaveCredits, 500);
    EXPECT_TRUE(SaveStartupState(db, "the quit save", 900, &error)) << error;
    EXPECT_TRUE(WriteSessionsTable(db, folded, {"L", "C", "a game"}, 3, 10, &error)) << error;
    EXPECT_EQ(stored().StartupGame, "the quit save");
    EXPECT_EQ(scalar("SELECT sum([Frequency]) FROM [Sessions]").toInt(), kFoldedTop + 1);
    read = QSqlQuery();
    closeDatabase(reader.db);
}

TEST_F(DefaultsTest, TheSessionsTableHoldsOneRowPerWinAndIsReplacedWholeOrNotAtAll)
{
    const GameKey game{"NEVADA - Other", "Harrah's Laughlin", "Live Keno $1"};
    std::vector<std::int32_t> folded(kFoldedTop + 1, 0);
    folded[63] = 40;
    folded[500] = 7;
    ASSERT_TRUE(WriteSessionsTable(db, folded, game, 5, 98765.5));
    const QString summary =
        "SELECT count(*) || ',' || max([Win]) || ',' || sum([Frequency]) || ',' || "
        "sum([Win] * [Frequency]) FROM [Sessions] WHERE [Location] || [Casino] || [Game] = "
        "'NEVADA - OtherHarrah''s LaughlinLive Keno $1' AND [Marked] = 5 AND [Total Win] = 98765.5";
    EXPECT_EQ(scalar(summary).toString(), "501,500,47,6020"); // 63 x 40 + 500 x 7
    // A statement failing half-way rolls the delete back too.
    ASSERT_TRUE(ExecuteSql(db, "CREATE TEMP TRIGGER stop BEFORE INSERT ON [Sessions] WHEN NEW.[Win] = 300 "
                               "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    QString error;
    EXPECT_FALSE(WriteSessionsTable(db, std::vector<std::int32_t>(kFoldedTop + 1, 9), game, 8, 10, &error));
    EXPECT_TRUE(error.contains("refused")) << error;
    EXPECT_EQ(scalar(summary).toString(), "501,500,47,6020");
}
