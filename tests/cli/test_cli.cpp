// tallyhawk-cli as built, run on temporary copies of the seed database.

#include "db/database.h"
#include "db/paytable.h"
#include "engine/sim/sessionplanner.h"
#include "support/databasefiles.h"
#include "support/tempdatafolder.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace tallyhawk;

namespace {

const QString kMadYeti = "ONLINE|DraftKings|Mad Yeti Keno";
const QString kCleopatra = "OTHER|Published example|Cleopatra Keno";
const QString kAviLaughlin = "NEVADA - Other|Avi Laughlin|Live Keno $1";

struct CliRun
{
    int status = -1;
    QString out;
    QString err;
};

CliRun runCli(const QStringList& arguments,
              const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(TALLYHAWK_CLI_PATH, arguments);
    CliRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        run.err = "tallyhawk-cli did not finish";
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QJsonObject jsonOf(const CliRun& run)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n"
                                                     << run.out.toStdString();
    return document.object();
}

double sumOf(const QJsonArray& array)
{
    double sum = 0;
    for (const QJsonValue& value : array)
        sum += value.toDouble();
    return sum;
}

double choose(int n, int k)
{
    double result = 1;
    for (int i = 1; i <= k; ++i)
        result = result * (n - k + i) / i;
    return result;
}

// The returns of Avi Laughlin's 10-spot table by hand: the chance of c catches is
// C(10, c) C(70, 20 - c) / C(80, 20); it pays 0.5, 2, 20, 120, 800, 3800 and 50000 for 4 to 10
// catches, and at a bet of 1 the board pays 0 for the 0.5.
struct AviReturns
{
    double payTable = 0;
    double wholeCredits = 0;
};
AviReturns aviLaughlinReturns()
{
    const double pays[] = {0, 0, 0, 0, 0.5, 2, 20, 120, 800, 3800, 50000};
    AviReturns r;
    for (int c = 0; c <= 10; ++c) {
        const double p = choose(10, c) * choose(70, 20 - c) / choose(80, 20);
        r.payTable += 100 * p * pays[c];
        r.wholeCredits += 100 * p * (c == 4 ? 0 : pays[c]);
    }
    return r;
}

void expectSixSessionFigures(const QJsonObject& session)
{
    for (const char* key : {"losing_pct", "breakeven_or_winning_pct", "most_likely_win", "double_pct",
                            "five_fold_pct", "lose_half_pct"})
        EXPECT_TRUE(session.contains(key)) << key;
    EXPECT_NEAR(session["losing_pct"].toDouble() + session["breakeven_or_winning_pct"].toDouble(), 100, 1e-9);
    EXPECT_GE(session["breakeven_or_winning_pct"].toDouble(), session["double_pct"].toDouble());
    EXPECT_GE(session["double_pct"].toDouble(), session["five_fold_pct"].toDouble());
    EXPECT_GE(session["most_likely_win"].toInt(), 0);
    EXPECT_LT(session["most_likely_win"].toInt(), 500);
}

class Cli : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        m_hash = fileHash(db());
    }
    void TearDown() override
    {
        // The command line only reads.
        EXPECT_EQ(fileHash(db()), m_hash);
    }
    QString db() const { return m_folder.databasePath(); }
    CliRun cli(QStringList arguments) { return runCli(arguments << "--db" << db()); }

    TempDataFolder m_folder;
    QByteArray m_hash;
};

} // namespace

TEST_F(Cli, GamesListsTheCatalogueWithTheReturnOfEachMarkedCount)
{
    const CliRun run = cli({"games"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty());
    const QStringList lines = run.out.split('\n');
    const auto cleopatra = std::find_if(lines.begin(), lines.end(),
                                        [](const QString& l) { return l.contains("Cleopatra Keno"); });
    ASSERT_NE(cleopatra, lines.end());
    // Only the 8-spot ticket pays: its column alone holds a figure.
    EXPECT_EQ(cleopatra->split(' ', Qt::SkipEmptyParts).last(), "90.15");
    EXPECT_TRUE(run.out.contains("Mad Yeti Keno"));
    EXPECT_TRUE(run.out.contains("Location"));

    // The pay table's return, marked where the board's at a bet of 1 differs, which the note gives.
    const auto avi =
        std::find_if(lines.begin(), lines.end(), [](const QString& l) { return l.contains("Avi Laughlin"); });
    ASSERT_NE(avi, lines.end());
    EXPECT_EQ(avi->split(' ', Qt::SkipEmptyParts).last(), "73.66*"); // 73.6644
    EXPECT_FALSE(cleopatra->contains('*'));
    EXPECT_TRUE(run.out.contains("\n* At a bet of 1 the board rounds each pay to whole credits"));
    EXPECT_TRUE(
        run.out.contains("NEVADA - Other | Avi Laughlin | Live Keno $1, 10 spots: 66.30 %. Any even bet "
                         "pays the pay table exactly.\n"));
}

TEST_F(Cli, GamesInJsonHasEveryGameWithTenReturns)
{
    const CliRun run = cli({"games", "--json"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonArray games = jsonOf(run)["games"].toArray();

    DatabaseOpening opening = openDatabase(db(), "cli-games");
    ASSERT_TRUE(opening.ok());
    QStringList entries;
    ASSERT_TRUE(ReadGameList(opening.db, &entries));
    closeDatabase(opening.db);
    ASSERT_EQ(games.size(), entries.size());

    bool seenCleopatra = false, seenAvi = false;
    for (const QJsonValue& value : games) {
        const QJsonObject game = value.toObject();
        const QJsonArray returns = game["return_pct_paytable"].toArray();
        const QJsonArray board = game["return_pct_board"].toArray();
        ASSERT_EQ(returns.size(), 10);
        ASSERT_EQ(board.size(), 10);
        ASSERT_EQ(game["exact_bet"].toArray().size(), 10);
        if (game["game"].toString() == "Cleopatra Keno") {
            seenCleopatra = true;
            for (int m = 1; m <= 10; ++m)
                EXPECT_EQ(returns[m - 1].isNull(), m != 8) << m;
            EXPECT_NEAR(returns[7].toDouble(), 90.1498, 5e-5);
            EXPECT_NEAR(board[7].toDouble(), 90.1498, 5e-5);
            EXPECT_EQ(game["exact_bet"].toArray()[7].toInt(), 1);
        }
        if (game["casino"].toString() == "Avi Laughlin") {
            seenAvi = true;
            EXPECT_NEAR(returns[9].toDouble(), aviLaughlinReturns().payTable, 1e-9);
            EXPECT_NEAR(board[9].toDouble(), aviLaughlinReturns().wholeCredits, 1e-9);
            EXPECT_EQ(game["exact_bet"].toArray()[9].toInt(), 2);
        }
        for (const QJsonValue& r : returns)
            if (!r.isNull()) {
                EXPECT_GT(r.toDouble(), 0);
                EXPECT_LT(r.toDouble(), 100);
            }
    }
    EXPECT_TRUE(seenCleopatra);
    EXPECT_TRUE(seenAvi);
}

TEST_F(Cli, OddsGivesTheExactFiguresInText)
{
    const CliRun run = cli({"odds", "--game", kCleopatra, "--spots", "8"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("OTHER | Published example | Cleopatra Keno, 8 spots"));
    EXPECT_TRUE(run.out.contains(QRegularExpression("Return, board rules at a bet of 1: +90.1498 %")));
    EXPECT_TRUE(run.out.contains(QRegularExpression("Return, simulation rules: +90.1498 %")));
    EXPECT_TRUE(run.out.contains("Standard deviation per game:"));
    EXPECT_TRUE(run.out.contains("Hit rate:"));
    EXPECT_TRUE(run.out.contains("Percentage of Losing Sessions: "));
    EXPECT_TRUE(run.out.contains("Most Likely End of Session Outcome: Lose "));
    EXPECT_TRUE(run.out.contains("You Will Lose Half of Your Money (or Worse) "));
}

TEST_F(Cli, OddsGiveThePayTablesOwnReturnBesideTheBoards)
{
    const AviReturns expected = aviLaughlinReturns();
    ASSERT_NEAR(expected.payTable, 73.6644, 5e-5); // the published figures
    ASSERT_NEAR(expected.wholeCredits, 66.2985, 5e-5);
    const CliRun run = cli({"odds", "--game", kAviLaughlin, "--spots", "10"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QRegularExpression("Return of the pay table: +73.6644 %")));
    EXPECT_TRUE(
        run.out.contains(QRegularExpression("Return, board rules at a bet of 1: +66.2985 % \\(each pay "
                                            "rounded to whole credits\\)")));
    EXPECT_TRUE(run.out.contains("Any even bet pays the pay table exactly."));

    for (int bet : {1, 2, 3}) {
        const CliRun json =
            cli({"odds", "--game", kAviLaughlin, "--spots", "10", "--bet", QString::number(bet), "--json"});
        ASSERT_EQ(json.status, 0) << json.err.toStdString();
        const QJsonObject odds = jsonOf(json);
        EXPECT_NEAR(odds["return_pct_paytable"].toDouble(), expected.payTable, 1e-9);
        EXPECT_EQ(odds["exact_bet"].toInt(), 2);
        // An even bet pays the table; an odd one pays 0.5 x 3 = 1.5 as 2 credits.
        const double board = bet == 1   ? expected.wholeCredits
                             : bet == 2 ? expected.payTable
                                        : expected.payTable + 100 * choose(10, 4) * choose(70, 16) /
                                                                  choose(80, 20) * (2 - 1.5) / 3;
        EXPECT_NEAR(odds["return_pct_board"].toDouble(), board, 1e-9) << "bet " << bet;
    }
}

TEST_F(Cli, OddsInJsonNamesTheGameInAnyCase)
{
    const CliRun run =
        cli({"odds", "--game", "other|PUBLISHED EXAMPLE|cleopatra keno", "--spots", "8", "--json"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject odds = jsonOf(run);
    EXPECT_EQ(odds["game"].toObject()["game"].toString(), "Cleopatra Keno");
    EXPECT_NEAR(odds["return_pct_board"].toDouble(), 90.1498, 5e-5);
    EXPECT_NEAR(odds["return_pct_simulation"].toDouble(), 90.1498, 5e-5);
    EXPECT_GT(odds["sd_per_game"].toDouble(), 1);
    EXPECT_GT(odds["hit_rate"].toDouble(), 0);
    EXPECT_LT(odds["hit_rate"].toDouble(), 1);
    const QJsonArray catches = odds["catch_probabilities"].toArray();
    ASSERT_EQ(catches.size(), 11);
    EXPECT_NEAR(sumOf(catches), 1, 1e-12);
    EXPECT_NEAR(catches[8].toDouble(), choose(20, 8) / choose(80, 8), 1e-15);
    EXPECT_EQ(catches[9].toDouble(), 0);
    expectSixSessionFigures(odds["session"].toObject());
}

TEST_F(Cli, OddsTakesTheCountOfATicket)
{
    const CliRun spots = cli({"odds", "--game", kMadYeti, "--spots", "5", "--json"});
    const CliRun ticket = cli({"odds", "--game", kMadYeti, "--ticket", "80,1,40,41,7", "--json"});
    ASSERT_EQ(spots.status, 0) << spots.err.toStdString();
    ASSERT_EQ(ticket.status, 0) << ticket.err.toStdString();
    EXPECT_EQ(jsonOf(spots), jsonOf(ticket));
}

TEST_F(Cli, SimulateGivesTheResultsAndSessionFiguresInJson)
{
    const CliRun run = cli({"simulate", "--game", kCleopatra, "--ticket", "1,2,3,4,5,6,7,8", "--games",
                            "200000", "--seed", "42", "--threads", "2", "--json"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject sim = jsonOf(run);
    EXPECT_EQ(sim["games_played"].toInteger(), 200000);
    const QJsonArray frequency = sim["catch_frequency"].toArray();
    ASSERT_EQ(frequency.size(), 11);
    EXPECT_EQ(sumOf(frequency), 200000);
    const QJsonArray pays = sim["pay_per_catch"].toArray();
    double base = 0;
    for (int c = 0; c <= 10; ++c)
        base += pays[c].toDouble() * frequency[c].toDouble();
    EXPECT_EQ(sim["base_winnings"].toDouble(), base);
    EXPECT_GT(sim["bonus_winnings"].toDouble(), 0);
    EXPECT_GT(sim["bonus_events"].toInteger(), 0);
    EXPECT_NEAR(sim["return_pct"].toDouble(),
                (sim["base_winnings"].toDouble() + sim["bonus_winnings"].toDouble()) * 100 / 200000, 1e-9);
    // The run agrees with the exact return within four standard errors.
    const QJsonArray interval = sim["return_pct_interval_95"].toArray();
    const double standardError = (interval[1].toDouble() - interval[0].toDouble()) / (2 * 1.96);
    EXPECT_NEAR(sim["return_pct"].toDouble(), sim["exact_return_pct"].toDouble(), 4 * standardError);
    const QJsonObject session = sim["session"].toObject();
    EXPECT_EQ(session["sessions"].toInt(), 2000);
    expectSixSessionFigures(session);
    // The progress line ends with a line feed.
    EXPECT_TRUE(run.err.contains("100% (200000 of 200000 games)")) << run.err.toStdString();
    EXPECT_TRUE(run.err.endsWith('\n'));

    // The seed alone decides the figures, whatever the number of threads.
    const CliRun again = cli({"simulate", "--game", kCleopatra, "--ticket", "8,7,6,5,4,3,2,1", "--games",
                              "200000", "--seed", "42", "--threads", "1", "--json", "--quiet"});
    ASSERT_EQ(again.status, 0);
    EXPECT_EQ(jsonOf(again), sim);
    EXPECT_TRUE(again.err.isEmpty());
}

TEST_F(Cli, SimulateInTextShowsTheTableAndTheSummary)
{
    const CliRun run =
        cli({"simulate", "--game", kMadYeti, "--spots", "5", "--games", "30000", "--seed", "7"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Ticket: 5 numbers picked at random every game"));
    EXPECT_TRUE(run.out.contains("Games: 30000, seed 7"));
    EXPECT_TRUE(run.out.contains(QRegularExpression("Catch +Frequency +Pay +Winnings")));
    EXPECT_TRUE(run.out.contains(QRegularExpression("\n +5 +\\d+ +63 +\\d+\n")));
    EXPECT_TRUE(run.out.contains("Total Credits Bet = 30000"));
    EXPECT_TRUE(run.out.contains("Total Pct Return = "));
    EXPECT_TRUE(run.out.contains("Sessions of 100 games among the first ten million games: 300"));
    EXPECT_TRUE(run.out.contains("You Will Double Your Money (or Better) "));
}

TEST_F(Cli, SimulateWithoutACountPlaysTheProgramsDefault)
{
    const CliRun run =
        cli({"simulate", "--game", kMadYeti, "--spots", "2", "--seed", "1", "--json", "--quiet"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(jsonOf(run)["games_played"].toInteger(), 1000000); // SimGames of the seed
}

TEST_F(Cli, SessionGivesTheExactFiguresOfAPlanInJson)
{
    const CliRun run = cli({"session", "--game", kMadYeti, "--spots", "8", "--bet", "2", "--credits", "200",
                            "--games", "300", "--target", "500", "--json", "--quiet"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty());
    const QJsonObject plan = jsonOf(run);
    EXPECT_EQ(plan["method"].toString(), "exact");
    EXPECT_TRUE(plan["interval_95"].isNull());
    EXPECT_TRUE(plan["seed"].isNull());
    EXPECT_TRUE(plan["floor"].isNull());
    EXPECT_EQ(plan["target"].toInt(), 500);

    // The engine's own figures for the same ticket and plan.
    DatabaseOpening opening = openDatabase(db(), "cli-session");
    ASSERT_TRUE(opening.ok());
    KenoGame rules;
    ASSERT_TRUE(ReadGame(opening.db, GameSql({"ONLINE", "DraftKings", "Mad Yeti Keno"}), &rules));
    closeDatabase(opening.db);
    const SessionPlanResult exact =
        PlanSessionExactly(BoardPlanStep(ExactGameOf(rules, 8), 2), {2, 200, 300, 500, std::nullopt});
    ASSERT_TRUE(exact.ok());
    EXPECT_DOUBLE_EQ(plan["ruined_pct"].toDouble(), 100 * exact.ruined.value);
    EXPECT_DOUBLE_EQ(plan["target_reached_pct"].toDouble(), 100 * exact.targetReached.value);
    EXPECT_DOUBLE_EQ(plan["behind_pct"].toDouble(), 100 * exact.behind.value);
    EXPECT_DOUBLE_EQ(plan["mean_end_credits"].toDouble(), exact.meanEndCredits.value);
    EXPECT_DOUBLE_EQ(plan["expected_games"].toDouble(), exact.expectedGames.value);
    EXPECT_EQ(plan["end_credits_points"].toObject()["p50"].toDouble(), exact.endCreditPoints[2].value);

    EXPECT_NEAR(plan["ruined_pct"].toDouble() + plan["target_reached_pct"].toDouble() +
                    plan["all_games_played_pct"].toDouble(),
                100, 1e-9);
    EXPECT_NEAR(plan["ahead_pct"].toDouble() + plan["even_pct"].toDouble() + plan["behind_pct"].toDouble(),
                100, 1e-9);
    const QJsonArray still = plan["still_playing_pct"].toArray();
    ASSERT_EQ(still.size(), 301);
    EXPECT_EQ(still[0].toDouble(), 100);
    EXPECT_DOUBLE_EQ(still[300].toDouble(), plan["all_games_played_pct"].toDouble());
    const QJsonArray catches = plan["catch_at_least_once_pct"].toArray();
    ASSERT_EQ(catches.size(), 11);
    for (int c = 0; c <= 10; ++c)
        EXPECT_EQ(catches[c].isNull(), c < 4 || c > 8) << c; // the eight-spot pays 4 to 8
    const QJsonObject end = plan["end_credits"].toObject();
    EXPECT_EQ(end["credits"].toArray().size(), end["pct"].toArray().size());
    EXPECT_NEAR(sumOf(end["pct"].toArray()) + end["tail_pct"].toDouble(), 100, 1e-9);
}

TEST_F(Cli, SessionInTextSaysHowItWasWorkedOut)
{
    const CliRun run = cli({"session", "--game", kMadYeti, "--spots", "5", "--bet", "1", "--credits", "50",
                            "--games", "100", "--floor", "10"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith("ONLINE | DraftKings | Mad Yeti Keno, 5 spots\n"));
    EXPECT_TRUE(run.out.contains("no target; stop below 10 credits\n"));
    EXPECT_TRUE(run.out.contains("Method: exact (the credits stepped game by game)\n"));
    EXPECT_TRUE(run.out.contains(QRegularExpression("Ruined \\(below the floor\\): +\\d+\\.\\d{4} %\n")));
    EXPECT_FALSE(run.out.contains("Target reached:"));
    EXPECT_TRUE(run.out.contains(QRegularExpression("Still playing after 100 games: +\\d+\\.\\d{4} %\n")));
    EXPECT_TRUE(run.out.contains(QRegularExpression("Catch 5: +\\d+\\.\\d{4} %\n")));
    EXPECT_TRUE(run.err.contains("session: 100%")) << run.err.toStdString();
}

TEST_F(Cli, SessionBeyondTheBudgetIsSimulatedFromItsSeed)
{
    // Twelve free games at double pays and a far target: the exact walk would not fit.
    const QStringList arguments{"session",    "--game",    kCleopatra, "--spots", "8",   "--bet",
                                "1",          "--credits", "50",       "--games", "100", "--target",
                                "1000000000", "--seed",    "3",        "--json"};
    const CliRun run = cli(arguments);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject plan = jsonOf(run);
    EXPECT_EQ(plan["method"].toString(), "simulation");
    EXPECT_EQ(plan["seed"].toString(), "3");
    EXPECT_GT(plan["sessions"].toInteger(), 0);
    const QJsonObject intervals = plan["interval_95"].toObject();
    for (const char* key : {"ruined_pct", "all_games_played_pct", "behind_pct", "mean_end_credits"}) {
        const QJsonArray bounds = intervals[key].toArray();
        ASSERT_EQ(bounds.size(), 2) << key;
        EXPECT_LE(bounds[0].toDouble(), plan[key].toDouble()) << key;
        EXPECT_GE(bounds[1].toDouble(), plan[key].toDouble()) << key;
    }
    EXPECT_LT(intervals["ruined_pct"].toArray()[0].toDouble(),
              intervals["ruined_pct"].toArray()[1].toDouble());
    EXPECT_EQ(intervals["end_credits_points"].toObject().size(), 5);
    EXPECT_EQ(jsonOf(cli(arguments)), plan);
}

TEST_F(Cli, SessionRefusesAPlanItCannotFollow)
{
    const QStringList game{"session", "--game", kMadYeti, "--spots", "5"};
    const struct
    {
        QStringList plan;
        const char* message;
    } cases[] = {
        {{"--credits", "100", "--games", "100"},
         "session needs the plan: --bet B, --credits C and --games N."},
        {{"--bet", "0", "--credits", "100", "--games", "100"}, "--bet takes a whole number from 1 to 45"},
        {{"--bet", "-2", "--credits", "100", "--games", "100"}, "--bet takes a whole number from 1 to 45"},
        {{"--bet", "two", "--credits", "100", "--games", "100"}, "--bet takes a whole number from 1 to 45"},
        {{"--bet", "1", "--credits", "0", "--games", "100"}, "--credits takes a whole number"},
        {{"--bet", "1", "--credits", "100", "--games", "100001"},
         "--games takes a whole number from 1 to 100000"},
        {{"--bet", "10", "--credits", "5", "--games", "100"}, "The starting credits must cover the bet."},
        {{"--bet", "1", "--credits", "100", "--games", "100", "--target", "50"},
         "The target must be above the starting credits."},
        {{"--bet", "1", "--credits", "100", "--games", "100", "--floor", "-1"},
         "--floor takes a whole number"},
        {{"--bet", "1", "--credits", "100", "--games", "100", "--seed", "x"}, "--seed takes"},
    };
    for (const auto& c : cases) {
        const CliRun run = cli(game + c.plan);
        EXPECT_EQ(run.status, 2) << c.plan.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}

TEST(CliSession, AGameTheEngineRefusesCannotBePlanned)
{
    TempDataFolder folder;
    DatabaseOpening opening = openDatabase(folder.databasePath(), "cli-session-refused");
    ASSERT_TRUE(opening.ok());
    ASSERT_TRUE(ExecuteSql(opening.db, "UPDATE [Pay Table] SET [Pick5] = -3 WHERE [Game] = 'Mad Yeti Keno' "
                                       "AND [Catch] = 5"));
    closeDatabase(opening.db);
    const CliRun run = runCli({"session", "--game", kMadYeti, "--spots", "5", "--bet", "1", "--credits",
                               "100", "--games", "100", "--db", folder.databasePath()});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains("ONLINE | DraftKings | Mad Yeti Keno cannot be planned: "))
        << run.err.toStdString();
}

TEST_F(Cli, RandomnessShowsTheDeviationsLikeTheBoardAndTheVerdict)
{
    const CliRun run = runCli({"randomness", "--games", "1000", "--seed", "5"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Each number's count less the expected count of 250:"));
    for (int r = 0; r < 8; ++r)
        EXPECT_TRUE(run.out.contains(QRegularExpression(
            QStringLiteral("\n%1 - %2 +(-?\\d+ +){9}-?\\d+\n").arg(10 * r + 1).arg(10 * r + 10))))
            << r;
    EXPECT_TRUE(run.out.contains("Chi-Square statistics indicate that the distribution of drawn numbers\n"));
    EXPECT_TRUE(run.out.contains(" the test for randomness at a 95% confidence level.\n\nChi-Square = "));
    EXPECT_TRUE(run.out.contains("p-value = "));
    EXPECT_EQ(runCli({"randomness", "--games", "1000", "--seed", "5"}).out, run.out);
}

TEST_F(Cli, RandomnessInJson)
{
    const CliRun run = runCli({"randomness", "--games", "4000", "--seed", "11", "--json"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject test = jsonOf(run);
    EXPECT_EQ(test["games"].toInt(), 4000);
    EXPECT_EQ(test["expected_count"].toInt(), 1000);
    const QJsonArray deviations = test["deviations"].toArray();
    ASSERT_EQ(deviations.size(), 80);
    EXPECT_EQ(sumOf(deviations), 0);
    double sum = 0;
    for (const QJsonValue& v : deviations) {
        EXPECT_GE(v.toDouble(), -1000);
        sum += 4 * v.toDouble() * v.toDouble() / 4000;
    }
    const double x = test["chi_square"].toDouble();
    EXPECT_NEAR(x, 79.0 / 60.0 * sum, 1e-9);
    const bool passes = 56.309 < x && x < 105.473;
    EXPECT_EQ(test["passes"].toBool(), passes);
    EXPECT_EQ(test["verdict"].toString(), passes ? "PASSES" : "FAILS");
    EXPECT_GT(test["p_value"].toDouble(), 0);
    EXPECT_LE(test["p_value"].toDouble(), 1);
    EXPECT_EQ(test["p_value"].toDouble() < 0.05, !passes); // two-sided, as the verdict
    EXPECT_EQ(test["degrees_of_freedom"].toInt(), 79);
    // The counts follow the seed, not the threads.
    const CliRun one = runCli({"randomness", "--games", "4000", "--seed", "11", "--json", "--threads", "1"});
    EXPECT_EQ(jsonOf(one)["deviations"], test["deviations"]);
}

TEST_F(Cli, RandomnessRefusesACountThatFourDoesNotDivideOrThatPlaysNoGame)
{
    for (const char* games : {"1002", "letters"}) {
        const CliRun run = runCli({"randomness", "--games", games});
        EXPECT_EQ(run.status, 2) << games;
        EXPECT_TRUE(run.err.contains("Enter a number that is exactly divisible by 4!")) << games;
        EXPECT_TRUE(run.out.isEmpty());
    }
    for (const char* games : {"0", "-8"}) {
        const CliRun run = runCli({"randomness", "--games", games});
        EXPECT_EQ(run.status, 2) << games;
        EXPECT_TRUE(run.err.contains("greater than 0")) << games;
    }
}

TEST_F(Cli, ABadGameNameIsRefused)
{
    const CliRun run = cli({"odds", "--game", "ONLINE|DraftKings|Mad Yeti", "--spots", "5"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains("There is no game \"ONLINE | DraftKings | Mad Yeti\" in the catalogue."))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("ONLINE|DraftKings|Mad Yeti Keno")); // the near miss is named

    const CliRun unsplit = cli({"simulate", "--game", "Mad Yeti Keno", "--spots", "5"});
    EXPECT_NE(unsplit.status, 0);
    EXPECT_TRUE(unsplit.err.contains("LOCATION|CASINO|GAME"));
}

TEST_F(Cli, BadTicketsAreRefused)
{
    const CliRun eleven =
        cli({"simulate", "--game", kMadYeti, "--ticket", "1,2,3,4,5,6,7,8,9,10,11", "--games", "100"});
    EXPECT_EQ(eleven.status, 2);
    EXPECT_TRUE(eleven.err.contains("holds 11 numbers; a ticket holds 1 to 10")) << eleven.err.toStdString();
    EXPECT_TRUE(eleven.out.isEmpty());

    const CliRun above = cli({"simulate", "--game", kMadYeti, "--ticket", "1,81", "--games", "100"});
    EXPECT_EQ(above.status, 2);
    EXPECT_TRUE(above.err.contains("81 is not on the board")) << above.err.toStdString();

    const CliRun twice = cli({"odds", "--game", kMadYeti, "--ticket", "5,6,5"});
    EXPECT_EQ(twice.status, 2);
    EXPECT_TRUE(twice.err.contains("The number 5 is on the ticket twice.")) << twice.err.toStdString();

    const CliRun zero = cli({"odds", "--game", kMadYeti, "--ticket", "0"});
    EXPECT_EQ(zero.status, 2);
}

TEST_F(Cli, BadCountsAreRefused)
{
    const struct
    {
        QStringList arguments;
        const char* message;
    } cases[] = {
        {{"simulate", "--game", kMadYeti, "--spots", "5", "--games", "0"},
         "--games takes a whole number from 1 to 1000000000"},
        {{"simulate", "--game", kMadYeti, "--spots", "5", "--games", "1000000001"}, "--games takes"},
        {{"simulate", "--game", kMadYeti, "--spots", "5", "--games", "12abc"}, "--games takes"},
        {{"odds", "--game", kMadYeti, "--spots", "11"}, "--spots takes a whole number from 1 to 10"},
        {{"odds", "--game", kMadYeti, "--spots", "5", "--bet", "46"},
         "--bet takes a whole number from 1 to 45"},
        {{"odds", "--game", kMadYeti}, "needs either --spots N or --ticket LIST"},
        {{"odds", "--spots", "5"}, "needs the game"},
        {{"simulate", "--game", kMadYeti, "--spots", "5", "--seed", "x"}, "--seed takes"},
        {{"games", "--frobnicate"}, "Unknown option"},
    };
    for (const auto& c : cases) {
        const CliRun run = cli(c.arguments);
        EXPECT_EQ(run.status, 2) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
    }
    const CliRun unknown = runCli({"frobnicate"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(unknown.err.contains("there is no command \"frobnicate\""));
}

TEST_F(Cli, AnUnreadableDatabaseIsReportedAndLeftAlone)
{
    QTemporaryDir dir;
    const QString garbage = dir.filePath("garbage.orf");
    {
        QFile file(garbage);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, 'x'));
    }
    const QByteArray before = fileHash(garbage);
    for (const QStringList& arguments :
         {QStringList{"games"}, QStringList{"odds", "--game", kMadYeti, "--spots", "5"}}) {
        const CliRun run = runCli(QStringList(arguments) << "--db" << garbage);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains("The database file " + garbage + " cannot be used."))
            << run.err.toStdString();
    }
    EXPECT_EQ(fileHash(garbage), before);

    const CliRun missing = runCli({"games", "--db", dir.filePath("none.orf")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains("does not exist"));
}

TEST_F(Cli, AReadOnlyDatabaseIsRead)
{
    QFile::setPermissions(db(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const CliRun run = cli({"games", "--json"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    QFile::setPermissions(db(), QFile::ReadOwner | QFile::WriteOwner);
}

TEST(CliHotJournal, ADatabaseLeftInTheMiddleOfAChangeIsExplained)
{
    TempDataFolder source;
    QTemporaryDir dir;
    const QString path = dir.filePath("Tallyhawk.orf");
    ASSERT_TRUE(copyWithHotJournal(source.databasePath(), path));
    const CliRun run = runCli({"games", "--db", path});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("left in the middle of a change")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("Start Tallyhawk once to repair it."));
    EXPECT_FALSE(run.err.contains("attempt to write"));
}

TEST(CliDefaultDatabase, ReadsTheInstalledDatabaseElseTheSeedBesideTheProgram)
{
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path());
    environment.insert("XDG_DATA_HOME", home.filePath("share"));
    const QString seed = QString(TALLYHAWK_PROGRAM_DIR) + "/Tallyhawk.orf";
    const QByteArray seedHash = fileHash(seed);

    // Not installed: the seed beside the program, read and left as it was; nothing is installed.
    const CliRun fromSeed = runCli({"games"}, environment);
    EXPECT_EQ(fromSeed.status, 0) << fromSeed.err.toStdString();
    EXPECT_TRUE(fromSeed.out.contains("Cleopatra Keno"));
    EXPECT_EQ(fileHash(seed), seedHash);
    EXPECT_FALSE(QFile::exists(home.filePath("share/Tallyhawk/Tallyhawk.orf")));

    // Installed: the user's database is the one read.
    ASSERT_TRUE(QDir().mkpath(home.filePath("share/Tallyhawk")));
    const QString installed = home.filePath("share/Tallyhawk/Tallyhawk.orf");
    {
        QFile file(installed);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a database");
    }
    const CliRun fromInstalled = runCli({"games"}, environment);
    EXPECT_EQ(fromInstalled.status, 1);
    EXPECT_TRUE(fromInstalled.err.contains(installed)) << fromInstalled.err.toStdString();
}

TEST(CliHelp, DescribesTheCommands)
{
    const CliRun help = runCli({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* command : {"games", "odds", "simulate", "randomness", "session", "--json", "--db"})
        EXPECT_TRUE(help.out.contains(command)) << command;
    const CliRun simulate = runCli({"simulate", "--help"});
    EXPECT_EQ(simulate.status, 0);
    for (const char* option : {"--game", "--ticket", "--spots", "--games", "--seed", "--threads"})
        EXPECT_TRUE(simulate.out.contains(option)) << option;
    const CliRun none = runCli({});
    EXPECT_EQ(none.status, 2);
    EXPECT_TRUE(none.err.contains("a command is needed"));
}
