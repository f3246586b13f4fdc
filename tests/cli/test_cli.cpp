// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// tallyhawk-cli as built, run on temporary copies of the seed database: its JSON, its text and its
// exit status (0 done, 1 the database, the game or a file of draws cannot be used, 2 the command
// line is wrong).
// Which database it reads without --db is checked by the install test.

#include "db/database.h"
#include "db/paytable.h"
#include "engine/planner/sessionplanner.h"
#include "support/databasefiles.h"
#include "support/qtprint.h"
#include "support/tempdatafolder.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numeric>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

using namespace tallyhawk;

namespace {

const QString kMadYeti = "ONLINE|DraftKings|Mad Yeti Keno";
const QString kCleopatra = "OTHER|Published example|Cleopatra Keno";
const QString kAviLaughlin = "NEVADA - Other|Avi Laughlin|Live Keno $1";

struct CliRun
{
    int status = -1;
    QString out, err;

    QJsonObject json() const
    {
        EXPECT_EQ(status, 0) << err;
        return QJsonDocument::fromJson(out.toUtf8()).object();
    }
    void expectOut(const QStringList& patterns) const
    {
        EXPECT_EQ(status, 0) << err;
        for (const QString& pattern : patterns)
            EXPECT_TRUE(out.contains(QRegularExpression(pattern))) << pattern << "\n" << out;
    }
};

CliRun runCli(const QStringList& arguments)
{
    QProcess process;
    process.start(TALLYHAWK_CLI_PATH, arguments);
    const bool exited = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    return {exited ? process.exitCode() : -1, QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The words of a command line, and the game it names (a name holds blanks).
QStringList words(const QString& line, const QString& game = {})
{
    return line.split(' ', Qt::SkipEmptyParts) +
           (game.isEmpty() ? QStringList() : QStringList{"--game", game});
}

double sumOf(const QJsonArray& array)
{
    return std::accumulate(array.begin(), array.end(), 0.0,
                           [](double s, const QJsonValue& v) { return s + v.toDouble(); });
}

double choose(int n, int k)
{
    double result = 1;
    for (int i = 1; i <= k; ++i)
        result = result * (n - k + i) / i;
    return result;
}

// Avi Laughlin's 10-spot table pays 0.5, 2, 20, 120, 800, 3800 and 50000 for 4 to 10 catches; at
// a bet of 1 the board pays nothing for the 0.5. Its return in percent, by hand: c catches come
// with the chance C(10, c) C(70, 20 - c) / C(80, 20).
double aviReturn(bool wholeCredits)
{
    const double pays[] = {0, 0, 0, 0, 0.5, 2, 20, 120, 800, 3800, 50000};
    double sum = 0;
    for (int c = 0; c <= 10; ++c)
        sum += 100 * choose(10, c) * choose(70, 20 - c) / choose(80, 20) *
               (wholeCredits && c == 4 ? 0 : pays[c]);
    return sum;
}

class Cli : public testing::Test
{
protected:
    void SetUp() override { m_hash = fileHash(db()); }
    void TearDown() override { EXPECT_EQ(fileHash(db()), m_hash); } // the command line only reads
    QString db() const { return m_folder.databasePath(); }
    QString file(const QString& name) const { return QDir(m_folder.path()).filePath(name); }
    CliRun cli(QStringList arguments) { return runCli(arguments << "--db" << db()); }

    TempDataFolder m_folder;
    QByteArray m_hash;
};

} // namespace

TEST_F(Cli, GamesListsEveryGameWithThePayTablesReturnAndTheBoardsWhereItDiffers)
{
    cli({"games"}).expectOut(
        {"Cleopatra Keno +90\\.15\n", "Avi Laughlin +Live Keno \\$1 .* 73\\.66\\*\n",
         "\n\\* At a bet of 1 the board rounds each pay to whole credits",
         "NEVADA - Other \\| Avi Laughlin \\| Live Keno \\$1, 10 spots: 66\\.30 %\\. Any even bet "
         "pays the pay table exactly\\.\n"});
    const QJsonArray games = cli({"games", "--json"}).json()["games"].toArray();
    EXPECT_EQ(games.size(), 17);
    QHash<QString, QJsonObject> byCasino;
    for (const QJsonValue& game : games) {
        byCasino[game["casino"].toString()] = game.toObject();
        for (const QJsonValue& r : game["return_pct_paytable"].toArray()) // no game of the catalogue wins
            EXPECT_TRUE(r.isNull() || (r.toDouble() > 0 && r.toDouble() < 100)) << game["game"].toString();
    }
    const QJsonArray cleopatra = byCasino["Published example"]["return_pct_paytable"].toArray();
    ASSERT_EQ(cleopatra.size(), 10);
    for (int m = 1; m <= 10; ++m)
        EXPECT_EQ(cleopatra[m - 1].isNull(), m != 8) << m; // only its 8-spot ticket pays
    EXPECT_NEAR(byCasino["Published example"]["return_pct_board"][7].toDouble(), 90.1498, 5e-5);
    const QJsonObject avi = byCasino["Avi Laughlin"];
    EXPECT_NEAR(avi["return_pct_paytable"][9].toDouble(), aviReturn(false), 1e-9);
    EXPECT_NEAR(avi["return_pct_board"][9].toDouble(), aviReturn(true), 1e-9);
    EXPECT_EQ(avi["exact_bet"][9].toInt(), 2);
}

TEST_F(Cli, OddsGiveThePayTablesOwnReturnAndTheBoardsAtEachBet)
{
    ASSERT_NEAR(aviReturn(false), 73.6644, 5e-5); // the published figures
    ASSERT_NEAR(aviReturn(true), 66.2985, 5e-5);
    cli(words("odds --spots 10", kAviLaughlin))
        .expectOut({"Return of the pay table: +73\\.6644 %",
                    "Return, board rules at a bet of 1: +66\\.2985 % \\(each pay rounded to whole credits\\)",
                    "Any even bet pays the pay table exactly\\.",
                    "Hit rate:", "Percentage of Losing Sessions: "});
    for (int bet : {1, 2, 3}) {
        const QJsonObject odds =
            cli(words("odds --spots 10 --json --bet " + QString::number(bet), kAviLaughlin)).json();
        EXPECT_NEAR(odds["return_pct_paytable"].toDouble(), aviReturn(false), 1e-9);
        EXPECT_EQ(odds["exact_bet"].toInt(), 2);
        // An even bet pays the table; an odd one pays 0.5 x 3 = 1.5 as 2 credits.
        const double board = aviReturn(bet == 1) + (bet == 3 ? (aviReturn(false) - aviReturn(true)) / 3 : 0);
        EXPECT_NEAR(odds["return_pct_board"].toDouble(), board, 1e-9) << "bet " << bet;
    }

    // The game named in any case; a ticket counts as its number of spots.
    const QJsonObject odds =
        cli(words("odds --spots 8 --json", "other|PUBLISHED EXAMPLE|cleopatra keno")).json();
    EXPECT_EQ(odds["game"].toObject()["game"].toString(), "Cleopatra Keno");
    EXPECT_NEAR(odds["return_pct_simulation"].toDouble(), 90.1498, 5e-5);
    const QJsonArray catches = odds["catch_probabilities"].toArray();
    ASSERT_EQ(catches.size(), 11);
    EXPECT_NEAR(sumOf(catches), 1, 1e-12);
    EXPECT_NEAR(catches[8].toDouble(), choose(20, 8) / choose(80, 8), 1e-15);
    EXPECT_EQ(cli({"odds", "--game", kCleopatra, "--ticket", "80,1,40,41,7,2,3,4", "--json"}).json(), odds);
}

TEST_F(Cli, SimulateGivesItsCountsAndTheSeedAloneDecidesThem)
{
    const QStringList run{"simulate", "--game", kCleopatra, "--games", "200000", "--seed", "42", "--json"};
    const CliRun first = cli(run + QStringList{"--ticket", "1,2,3,4,5,6,7,8", "--threads", "2"});
    const QJsonObject sim = first.json();
    const QJsonArray frequency = sim["catch_frequency"].toArray(), pays = sim["pay_per_catch"].toArray();
    ASSERT_EQ(frequency.size(), 11);
    EXPECT_EQ(sumOf(frequency), 200000);
    double base = 0;
    for (int c = 0; c <= 10; ++c)
        base += pays[c].toDouble() * frequency[c].toDouble();
    EXPECT_EQ(sim["base_winnings"].toDouble(), base);
    EXPECT_GT(sim["bonus_events"].toInteger(), 0);
    EXPECT_NEAR(sim["return_pct"].toDouble(), (base + sim["bonus_winnings"].toDouble()) * 100 / 200000, 1e-9);
    // The run agrees with the exact return within four standard errors (the standard deviation
    // of its free games is the exact analysis's; the interval is checked by hand below).
    const double standardError =
        100 * cli(words("odds --spots 8 --json", kCleopatra)).json()["sd_per_game"].toDouble() /
        std::sqrt(200000);
    EXPECT_NEAR(sim["return_pct"].toDouble(), sim["exact_return_pct"].toDouble(), 4 * standardError);
    EXPECT_EQ(sim["session"]["sessions"].toInt(), 2000);
    EXPECT_TRUE(first.err.endsWith("100% (200000 of 200000 games)\n")) << first.err;

    const CliRun again = cli(run + QStringList{"--ticket", "8,7,6,5,4,3,2,1", "--threads", "1", "--quiet"});
    EXPECT_EQ(again.json(), sim);
    EXPECT_TRUE(again.err.isEmpty());
    // Without a count, the program's default (the seed's SimGames).
    EXPECT_EQ(
        cli(words("simulate --spots 2 --seed 1 --json --quiet", kMadYeti)).json()["games_played"].toInteger(),
        1000000);
    cli(words("simulate --spots 5 --games 30000 --seed 7", kMadYeti))
        .expectOut({"Ticket: 5 numbers picked at random every game", "\n +5 +\\d+ +63 +\\d+\n",
                    "Sessions of 100 games among the first ten million games: 300"});
}

// The interval of a run's return is 1.96 standard errors either side of it; the standard error is
// worked out here from Avi Laughlin's 10-spot pays in whole credits, as the simulation pays them,
// and the chance of each catch.
TEST_F(Cli, SimulateGivesTheIntervalOfItsReturnFromTheStandardError)
{
    const double pays[] = {0, 0, 0, 0, 0, 2, 20, 120, 800, 3800, 50000}; // the 0.5 pays nothing
    double mean = 0, square = 0;
    for (int c = 0; c <= 10; ++c) {
        const double p = choose(10, c) * choose(70, 20 - c) / choose(80, 20);
        mean += p * pays[c];
        square += p * pays[c] * pays[c];
    }
    const int games = 400000;
    const double standardError = 100 * std::sqrt((square - mean * mean) / games);
    const QJsonObject avi =
        cli(words("simulate --ticket 1,2,3,4,5,6,7,8,9,10 --games 400000 --seed 3 --json --quiet",
                  kAviLaughlin))
            .json();
    EXPECT_NEAR(avi["exact_return_pct"].toDouble(), 100 * mean, 1e-9);
    const double percent = avi["return_pct"].toDouble();
    const QJsonArray interval = avi["return_pct_interval_95"].toArray();
    ASSERT_EQ(interval.size(), 2);
    EXPECT_NEAR(interval[0].toDouble(), percent - 1.96 * standardError, 1e-9);
    EXPECT_NEAR(interval[1].toDouble(), percent + 1.96 * standardError, 1e-9);
    EXPECT_NEAR(percent, 100 * mean, 4 * standardError);
}

// A game that odds cannot figure has no returns in games either: both give the same reason.
TEST_F(Cli, GamesAndOddsAgreeOnWhatTheyCanFigure)
{
    const QString changed = file("free-games.orf");
    ASSERT_TRUE(QFile::copy(db(), changed));
    ASSERT_TRUE(runStatements(changed, {"UPDATE [Pay Table] SET [Free Games] = 1000 WHERE [Game] = "
                                        "'Mad Yeti Keno' AND [Catch] = 0"}));
    const QJsonArray games = runCli({"games", "--json", "--db", changed}).json()["games"].toArray();
    QJsonObject yeti;
    for (const QJsonValue& game : games)
        if (game["game"].toString() == "Mad Yeti Keno")
            yeti = game.toObject();
    ASSERT_FALSE(yeti.isEmpty());
    int refused = 0;
    for (int m = 1; m <= 10; ++m) {
        SCOPED_TRACE(m);
        const CliRun odds = runCli(words(QStringLiteral("odds --spots %1 --db ").arg(m) + changed, kMadYeti));
        const QJsonValue refusal = yeti["refused"][m - 1];
        EXPECT_EQ(odds.status != 0, refusal.isString());
        if (refusal.isString()) {
            ++refused;
            EXPECT_TRUE(odds.err.contains("cannot be analysed: " + refusal.toString())) << odds.err;
            EXPECT_TRUE(yeti["return_pct_paytable"][m - 1].isNull());
        }
    }
    EXPECT_GE(refused, 1);
    const CliRun text = runCli({"games", "--db", changed});
    EXPECT_TRUE(
        text.out.contains("ONLINE | DraftKings | Mad Yeti Keno, 5 spots: The exact analysis takes at most "
                          "100 free games."))
        << text.out;
}

TEST_F(Cli, SessionGivesTheExactFiguresOfAPlanOrSimulatesOneBeyondTheBudget)
{
    const QJsonObject plan =
        cli(words("session --spots 8 --bet 2 --credits 200 --games 300 --target 500 --json --quiet",
                  kMadYeti))
            .json();
    EXPECT_EQ(plan["method"].toString(), "exact");
    EXPECT_TRUE(plan["interval_95"].isNull() && plan["seed"].isNull() && plan["floor"].isNull());
    // The engine's own figures for the same ticket and plan.
    DatabaseOpening opening = openDatabase(db(), "cli-session");
    KenoGame rules;
    ASSERT_TRUE(ReadGame(opening.db, GameSql({"ONLINE", "DraftKings", "Mad Yeti Keno"}), &rules));
    closeDatabase(opening.db);
    const SessionPlanResult exact =
        PlanSessionExactly(BoardPlanStep(ExactGameOf(rules, 8), 2), {2, 200, 300, 500, std::nullopt});
    EXPECT_DOUBLE_EQ(plan["ruined_pct"].toDouble(), 100 * exact.ruined.value);
    EXPECT_DOUBLE_EQ(plan["target_reached_pct"].toDouble(), 100 * exact.targetReached.value);
    EXPECT_DOUBLE_EQ(plan["mean_end_credits"].toDouble(), exact.meanEndCredits.value);
    EXPECT_DOUBLE_EQ(plan["still_playing_pct"][300].toDouble(), plan["all_games_played_pct"].toDouble());
    const QJsonArray catches = plan["catch_at_least_once_pct"].toArray();
    ASSERT_EQ(catches.size(), 11);
    for (int c = 0; c <= 10; ++c)
        EXPECT_EQ(catches[c].isNull(), c < 4 || c > 8) << c; // the eight-spot pays 4 to 8

    cli(words("session --spots 5 --bet 1 --credits 50 --games 100 --floor 10", kMadYeti))
        .expectOut(
            {"no target; stop below 10 credits\nMethod: exact \\(the credits stepped game by game\\)\n",
             "Ruined \\(below the floor\\): +\\d+\\.\\d{4} %\n", "Catch 5: +\\d+\\.\\d{4} %\n"});

    // Twelve free games at double pays and a far target: the exact walk would not fit.
    const QStringList far = words(
        "session --spots 8 --bet 1 --credits 50 --games 100 --target 1000000000 --seed 3 --json", kCleopatra);
    const QJsonObject simulated = cli(far).json();
    EXPECT_EQ(simulated["method"].toString(), "simulation");
    EXPECT_EQ(simulated["seed"].toString(), "3");
    for (const char* key : {"ruined_pct", "all_games_played_pct", "behind_pct", "mean_end_credits"}) {
        const QJsonArray bounds = simulated["interval_95"].toObject()[key].toArray();
        EXPECT_TRUE(bounds.size() == 2 && bounds[0].toDouble() <= simulated[key].toDouble() &&
                    simulated[key].toDouble() <= bounds[1].toDouble())
            << key;
    }
    EXPECT_EQ(cli(far).json(), simulated);
}

TEST_F(Cli, RandomnessGivesTheDeviationsTheStatisticAndItsTwoSidedPValue)
{
    const QStringList run{"randomness", "--games", "4000", "--seed", "11", "--json"};
    const QJsonObject test = runCli(run).json();
    const QJsonArray deviations = test["deviations"].toArray();
    ASSERT_EQ(deviations.size(), 80);
    EXPECT_EQ(sumOf(deviations), 0);
    double sum = 0;
    for (const QJsonValue& v : deviations)
        sum += 4 * v.toDouble() * v.toDouble() / 4000;
    const double x = test["chi_square"].toDouble();
    EXPECT_NEAR(x, 79.0 / 60.0 * sum, 1e-9);
    const bool passes = 56.309 < x && x < 105.473;
    EXPECT_EQ(test["verdict"].toString(), passes ? "PASSES" : "FAILS");
    EXPECT_GT(test["p_value"].toDouble(), 0);
    EXPECT_EQ(test["p_value"].toDouble() < 0.05, !passes); // two-sided, as the verdict
    EXPECT_EQ(runCli(run + QStringList{"--threads", "1"}).json()["deviations"],
              deviations); // the seed decides

    runCli({"randomness", "--games", "1000", "--seed", "5"})
        .expectOut({"Each number's count less the expected count of 250:", "\n71 - 80 +(-?\\d+ +){9}-?\\d+\n",
                    "the test for randomness at a 95% confidence level\\.\n\nChi-Square = ", "p-value = "});
}

// 2: the command line is wrong, which is found before the database is read; 1: the database or
// the game cannot be used. Either way nothing goes to standard output and no file changes.
TEST_F(Cli, WhatItCannotFollowOrUseIsRefusedWithItsExitStatus)
{
    const QString garbage = file("garbage.orf"), hot = file("hot/Tallyhawk.orf"), refused = file("r.orf");
    ASSERT_TRUE(writeFile(garbage, QByteArray(8192, 'x')) && QDir().mkpath(file("hot")));
    ASSERT_TRUE(copyWithHotJournal(db(), hot) && QFile::copy(db(), refused));
    // A game the engine refuses to play cannot be planned either.
    ASSERT_TRUE(runStatements(
        refused, {"UPDATE [Pay Table] SET [Pick5] = -3 WHERE [Game] = 'Mad Yeti Keno' AND [Catch] = 5"}));
    ReadOnlyMark mark(refused);
    const QByteArray garbageHash = fileHash(garbage), hotHash = fileHash(hot);
    const struct
    {
        int status;
        QStringList arguments;
        QString message;
    } cases[] = {
        {2, {}, "a command is needed"},
        {2, {"frobnicate"}, "there is no command \"frobnicate\""},
        {2, words("odds --spots 5"), "needs the game"},
        {2, words("simulate --spots 5", "Mad Yeti Keno"), "LOCATION|CASINO|GAME"},
        {2, words("odds", kMadYeti), "needs either --spots N or --ticket LIST"},
        {2, words("odds --spots 5 --bet 46", kMadYeti), "--bet takes a whole number from 1 to 45"},
        {2, words("odds --ticket 5,6,5", kMadYeti), "The number 5 is on the ticket twice."},
        {2, words("simulate --ticket 1,81", kMadYeti), "81 is not on the board"},
        {2, words("simulate --spots 5 --games 1000000001", kMadYeti),
         "--games \"1000000001\": Do not enter a number greater than one billion."},
        {2, words("simulate --spots 5 --games 1,000", kMadYeti),
         "--games \"1,000\": Enter the number of games as a whole number from 1 to 1000000000"},
        {2, words("randomness --games 1002"),
         "--games takes a whole number from 4 to 2147483644 that is exactly divisible by 4, not \"1002\"."},
        {2, words("randomness --games 4000000000000"), "from 4 to 2147483644 that is exactly divisible by 4"},
        {2, words("randomness --games 2147483648"), "from 4 to 2147483644 that is exactly divisible by 4"},
        {2, words("randomness --games=-8"), "from 4 to 2147483644 that is exactly divisible by 4"},
        {2, words("session --spots 5 --credits 100 --games 100", kMadYeti),
         "session needs the plan: --bet B"},
        {2, words("session --spots 5 --bet 10 --credits 5 --games 100", kMadYeti),
         "credits must cover the bet."},
        {2, words("session --spots 5 --bet 1 --credits 100 --games 100 --target 50", kMadYeti),
         "The target must be above the starting credits."},
        {1, {"games", "--db", garbage}, "The database file " + garbage + " cannot be used."},
        {1, {"games", "--db", file("none.orf")}, "does not exist"},
        {1, {"games", "--db", hot}, "left in the middle of a change when a program using it stopped."},
        {1, words("odds --spots 5 --db " + db(), "ONLINE|DraftKings|Mad Yeti"),
         "There is no game \"ONLINE | DraftKings | Mad Yeti\" in the catalogue.\nGames with a similar "
         "name:\n  ONLINE|DraftKings|Mad Yeti Keno"},
        {1, words("session --spots 5 --bet 1 --credits 100 --games 100 --db " + refused, kMadYeti),
         "ONLINE | DraftKings | Mad Yeti Keno cannot be planned: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' '));
        QStringList arguments = c.arguments;
        if (c.status == 2 && !arguments.isEmpty() && arguments[0] != "randomness")
            arguments << "--db" << file("none.orf");
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(run.err.contains(c.message)) << run.err;
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(runCli({"games", "--json", "--db", refused}).status, 0); // read-only, read as it is
    EXPECT_EQ(fileHash(garbage), garbageHash);
    EXPECT_EQ(fileHash(hot), hotHash);
}

// The command line finds the game the windows show: by the one key equality (É and é alike), and
// by the whole stored key however long, never answering for a game it did not find.
TEST_F(Cli, FindsTheGameTheWindowsShowByTheOneKeyEquality)
{
    const GameKey cafe{"OTHER", "Probe Casino", "CAF\u00c9 KENO"};
    const GameKey longKey{"A LOCATION PAST TWENTY-FIVE COLUMNS", "Probe Casino", "Keno"};
    {
        DatabaseOpening opening = openDatabase(db(), "another-tool");
        ASSERT_TRUE(opening.ok());
        for (const auto& [key, top] : {std::pair{cafe, 111.0}, std::pair{longKey, 500.0}}) {
            PayScheduleRow row;
            row.key = key;
            for (int c = 0; c <= 10; ++c) {
                row.Catch = c;
                row.Pick[9] = c == 10 ? std::optional<double>(top) : std::nullopt;
                ASSERT_TRUE(InsertPayScheduleRow(opening.db, row));
            }
        }
        closeDatabase(opening.db);
    }
    m_hash = fileHash(db());
    for (const QString& name :
         {QString("OTHER|Probe Casino|Caf\u00e9 Keno"), QString("other|PROBE CASINO|caf\u00e9 keno")}) {
        const QJsonObject odds = cli(words("odds --spots 10 --json", name)).json();
        EXPECT_EQ(odds["pays"][10].toDouble(), 111) << name;
        EXPECT_EQ(odds["game"]["game"].toString(), QString("CAF\u00c9 KENO"));
    }
    const QString longName = "A LOCATION PAST TWENTY-FIVE COLUMNS|Probe Casino|Keno";
    EXPECT_EQ(cli(words("odds --spots 10 --json", longName)).json()["pays"][10].toDouble(), 500);
    const CliRun text = cli(words("odds --spots 10", longName));
    EXPECT_EQ(text.status, 0);
    EXPECT_FALSE(text.out.contains("Return 0.0000 %")) << text.out;
    // The key as the list's columns cut it names no game: an error, not a game without pays.
    const CliRun cut = cli(words("odds --spots 10", "A LOCATION PAST TWENTY-FI|Probe Casino|Keno"));
    EXPECT_EQ(cut.status, 1);
    EXPECT_TRUE(cut.out.isEmpty()) << cut.out;
}

TEST_F(Cli, DrawsTestsAFileOfDrawsOrTheProgramsDrawAndRefusesAMalformedFile)
{
    // 100 draws that run through the board in blocks of 20, after a header: every number comes
    // exactly 25 times (too even for a fair draw), none right after it came, all after 3 missing.
    QByteArray text = "Draw,Date,Numbers\r\n";
    for (int d = 0; d < 100; ++d) {
        text += QByteArray::number(5000 + d) + ",2026-01-01";
        for (int i = 1; i <= 20; ++i)
            text += "," + QByteArray::number(20 * (d % 4) + i);
        text += "\r\n";
    }
    ASSERT_TRUE(writeFile(file("cycle.csv"), text) && writeFile(file("bad.csv"), text + "\r\n1;2;3\r\n"));
    const QJsonObject tests = runCli({"draws", file("cycle.csv"), "--json", "--quiet"}).json();
    EXPECT_EQ(tests["draws"].toInt(), 100);
    const QJsonObject counts = tests["counts"].toObject();
    EXPECT_EQ(counts["chi_square"].toDouble(), 0);
    EXPECT_EQ(counts["verdict"].toString(), "pattern found");
    EXPECT_EQ(sumOf(counts["counts"].toArray()), 2000);
    EXPECT_EQ(tests["repeats"]["rate"]["hits"].toInt(), 0);
    EXPECT_EQ(tests["repeats"]["verdict"].toString(), "pattern found");
    EXPECT_EQ(tests["filling_in"]["rates"][2]["rate"].toDouble(), 1);
    EXPECT_EQ(tests["pairs"]["counts"].toArray().size(), 3160);
    EXPECT_TRUE(tests["summary"].toString().startsWith("A pattern was found in the numbers' counts"));
    const QJsonArray needed = tests["power"]["draws_needed"].toArray();
    ASSERT_EQ(needed.size(), 3);
    EXPECT_GT(needed[0]["draws"].toDouble(), needed[1]["draws"].toDouble()); // a smaller bias needs more
    runCli({"draws", file("cycle.csv"), "--quiet"})
        .expectOut(
            {"Counts of the 80 numbers, each less the expected count of 25:", "\n  71 - 80 +(0 +){9}0\n",
             "Pattern found: a fair draw does this or worse only", "A bias of 10 % needs [0-9,]+ draws"});

    const QStringList generator{"draws",   "--generator", "--seed", "7",
                                "--draws", "5000",        "--json", "--quiet"};
    const QJsonObject own = runCli(generator).json();
    EXPECT_EQ(own["seed"].toString(), "7");
    EXPECT_EQ(own["draws"].toInt(), 5000);
    const QJsonObject again = runCli(generator).json();
    EXPECT_EQ(again["pairs"]["counts"], own["pairs"]["counts"]); // the seed decides

    const struct
    {
        int status;
        QStringList arguments;
        QString message;
    } refusals[] = {
        {1, {"draws", file("bad.csv")}, file("bad.csv") + ": Line 103 holds 3 numbers from 1 to 80 in a row"},
        {1, {"draws", file("none.csv")}, "There is no such file."},
        {2, {"draws"}, "draws needs one FILE of draws, or --generator"},
        {2, {"draws", file("cycle.csv"), "--seed", "3"}, "--seed and --draws go with --generator"},
        {2, {"draws", "--generator", "--draws", "0"}, "--draws takes a whole number from 1 to 100000000"},
        {2, {"draws", file("cycle.csv"), "--window", "0"}, "--window takes a whole number from 1 to 1000"},
    };
    for (const auto& c : refusals) {
        SCOPED_TRACE(c.arguments.join(' '));
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(run.err.contains(c.message)) << run.err;
        EXPECT_TRUE(run.out.isEmpty());
    }
}
