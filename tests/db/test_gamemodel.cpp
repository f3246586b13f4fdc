// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// Games generated at random, stored straight into the database and read back through the one
// reader of a game's rows: the exact engine must agree with what the simulation and the board
// play of the very same game, non-whole bonus values included.

#include "db/paytable.h"
#include "engine/exact/exactodds.h"
#include "engine/play/playengine.h"
#include "engine/sim/simulation.h"
#include "support/databasetest.h"

#include <cmath>
#include <random>

using namespace tallyhawk;

namespace {

enum Kind
{
    Plain,
    BonusBallOnly,
    FreeGamesSeries,
    Caveman,
    CavemanPlus,
    kKinds
};

struct StoredGame
{
    GameKey key;
    int marked = 0;
    std::array<QVariant, 11> pays; // for the marked count, by catch; invalid: blank
    std::array<QVariant, 6> bonus; // Bonus Ball, Free Games, Bonus Factor, Egg1 to Egg3
};

template <typename T, std::size_t N> T pick(std::mt19937_64& rng, const T (&values)[N])
{
    return values[rng() % N];
}

// A game of the given kind with random pays (halves and quarters among them) and non-whole
// bonus values where the kind has them.
StoredGame generate(int index, Kind kind, std::mt19937_64& rng)
{
    StoredGame game;
    game.marked = 1 + static_cast<int>(rng() % 10);
    const char* names[] = {"Game", "Bonus Ball", "Free Games", "Caveman Keno", "Caveman Plus"};
    game.key = {"Generated", "Casino " + std::to_string(index), names[kind]};
    const double small[] = {0.25, 0.5, 1, 1.5, 2, 2.5, 3, 4};
    const double large[] = {5, 8, 12.5, 20, 40, 75, 150, 400, 1000};
    for (int c = 0; c <= game.marked; ++c) {
        if (rng() % 3 == 0)
            continue; // blank
        const bool top = 2 * c > game.marked;
        game.pays[c] = top ? pick(rng, large) : pick(rng, small);
    }
    const double freeGames[] = {1, 2, 3.5, 5, 8};
    const double factors[] = {1.5, 2, 2.5, 3, 3.25, 4};
    const double eggBonuses[] = {1, 1.5, 2, 2.5, 4, 7.5, 10};
    if (kind == FreeGamesSeries)
        game.bonus[1] = pick(rng, freeGames);
    if (kind == FreeGamesSeries || kind == BonusBallOnly) {
        game.bonus[0] = 1 + static_cast<int>(rng() % 20);
        game.bonus[2] = pick(rng, factors);
    }
    if (kind == Caveman || kind == CavemanPlus)
        for (int e = 3; e < 6; ++e)
            game.bonus[e] = pick(rng, eggBonuses);
    return game;
}

class GameModelTest : public DatabaseTest
{
protected:
    // Stores the game's rows straight into the table and reads its rules back.
    KenoGame storeAndRead(const StoredGame& game)
    {
        const QString insert =
            QStringLiteral("INSERT INTO [Pay Table] ([Location], [Casino], [Game], [Catch], "
                           "[Pick%1], [Bonus Ball], [Free Games], [Bonus Factor], [Egg1 Bonus], "
                           "[Egg2 Bonus], [Egg3 Bonus]) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                .arg(game.marked);
        const QVariantList key{QString::fromStdString(game.key.Location),
                               QString::fromStdString(game.key.Casino),
                               QString::fromStdString(game.key.Game)};
        EXPECT_TRUE(ExecuteSql(db, "PRAGMA synchronous = OFF")); // hundreds of games: no waiting for the disk
        for (int c = 0; c <= 10; ++c) {
            QVariantList values = key + QVariantList{c, game.pays[c]};
            for (const QVariant& value : game.bonus) // on the bonus row only
                values << (c == 0 ? value : QVariant());
            EXPECT_TRUE(ExecuteSql(db, insert, values));
        }
        KenoGame rules;
        EXPECT_TRUE(ReadGame(db, GameSql(game.key), &rules));
        return rules;
    }
};

std::vector<int> firstNumbers(int count)
{
    std::vector<int> ticket;
    for (int n = 1; n <= count; ++n)
        ticket.push_back(n * 7 % 80 + 1);
    return ticket;
}

} // namespace

TEST_F(GameModelTest, ExactReturnUnderTheSimulationsRulesMatchesASimulationOfEachGame)
{
    std::mt19937_64 rng(20261206);
    std::vector<StoredGame> games;
    for (int i = 0; i < 200; ++i)
        games.push_back(generate(i, static_cast<Kind>(i % kKinds), rng));
    // The case that was once analysed at a factor of 2 while it played at 2.5.
    games[1].bonus[2] = 2.5;

    constexpr std::int64_t kGames = 20'000;
    for (std::size_t i = 0; i < games.size(); ++i) {
        const StoredGame& stored = games[i];
        SCOPED_TRACE(testing::Message()
                     << "game " << i << " kind " << i % kKinds << " marked " << stored.marked);
        const KenoGame game = storeAndRead(stored);
        const ExactAnalysis exact = AnalyseExact(ExactGameOf(game, stored.marked));
        ASSERT_TRUE(exact.ok()) << exact.error;
        SimulationInput input = BuildSimulationInput(game, firstNumbers(stored.marked), false, kGames);
        input.seed = 1000 + i;
        const SimulationResult run = RunSimulation(input);
        ASSERT_TRUE(run.error.empty()) << run.error;
        const double standardError = 100 * exact.simulation.standardDeviation / std::sqrt(double(kGames));
        EXPECT_NEAR(run.percentReturn(), exact.simulation.returnPct, 4 * standardError + 1e-9);
    }
}

TEST_F(GameModelTest, TheBoardsExactDistributionMatchesPlaysOfTheBoard)
{
    std::mt19937_64 rng(7);
    for (int kind = 0; kind < kKinds; ++kind) {
        StoredGame stored = generate(kind, static_cast<Kind>(kind), rng);
        stored.marked = std::max(stored.marked, 4); // enough catches to pay now and then
        stored.pays[2] = 2.5;                       // a bet of 3 rounds 7.5 to 8
        if (kind == BonusBallOnly)
            stored.bonus[2] = 2.5; // the factor once analysed as 2 while it played at 2.5
        SCOPED_TRACE(testing::Message() << "kind " << kind << " marked " << stored.marked);
        const KenoGame game = storeAndRead(stored);
        constexpr int kBet = 3;
        const ExactGame exactGame = ExactGameOf(game, stored.marked);
        ASSERT_TRUE(ExactGameError(exactGame, kBet).empty()) << ExactGameError(exactGame, kBet);
        const WinDistribution exact = BoardWinDistribution(exactGame, kBet);

        PlayInput input;
        for (int n : firstNumbers(stored.marked)) {
            const BoardCell cell = CellOfNumber(n);
            input.marks[cell.row][cell.column] = kMarked;
        }
        input.markedNumbers = CollectMarkedNumbers(input.marks);
        input.deck = OrderedDeck();
        input.markedCount = stored.marked;
        input.bet = kBet;
        input.game = game;
        input.soundOn = false;
        KenoRandom random(static_cast<std::uint64_t>(kind) + 1);
        constexpr int kPlays = 6000;
        double sum = 0;
        int hits = 0;
        for (int play = 0; play < kPlays; ++play) {
            const PlayResult result = PlayGames(input, random);
            const double win = result.credits - input.credits;
            sum += win;
            hits += win > 0 ? 1 : 0;
            input.deck = result.deck;
        }
        const double sd = std::sqrt(static_cast<double>(exact.variance()));
        EXPECT_NEAR(sum / kPlays, static_cast<double>(exact.mean()), 4 * sd / std::sqrt(double(kPlays)));
        const double hitRate = static_cast<double>(exact.probabilityAbove(0));
        EXPECT_NEAR(double(hits) / kPlays, hitRate, 4 * std::sqrt(hitRate * (1 - hitRate) / kPlays));
    }
}

// Each engine refuses such a game with the rules' own message (their tests show it); here the
// stored values reach the rules as they are, never converted.
TEST_F(GameModelTest, AStoredValueTheRulesCannotHoldReachesTheRulesUnconverted)
{
    const struct
    {
        int column; // 0 to 5: a bonus value; 6: the pay for the top catch
        double value;
        const char* named;
    } cases[] = {
        {6, 2147483648.0, "Pick 5, Catch 5 holds 2147483648, more than 2,147,483,647"},
        {6, HUGE_VAL, "Pick 5, Catch 5 does not hold a number."},
        {2, 1e19, "Bonus Factor holds 1E+19, more than 32,767"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        StoredGame stored;
        stored.key = {"Out of range", "Casino " + std::to_string(i), "Keno"};
        stored.marked = 5;
        stored.pays[3] = 1;
        stored.pays[5] = cases[i].column == 6 ? cases[i].value : 800;
        for (int b = 0; b < 6; ++b)
            stored.bonus[b] = b == cases[i].column ? cases[i].value : b < 2 ? 0 : 1;
        const KenoGame game = storeAndRead(stored);
        EXPECT_NE(game.valueError().find(cases[i].named), std::string::npos) << game.valueError();
        EXPECT_EQ(AnalyseExact(ExactGameOf(game, 5)).error, game.valueError());
    }
}
