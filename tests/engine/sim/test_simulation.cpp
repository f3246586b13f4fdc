// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "engine/sim/simulation.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <gtest/gtest.h>
#include <numeric>
#include <tuple>

using namespace tallyhawk;

namespace {

using Pays = std::array<std::int32_t, 11>;

double choose(int n, int k)
{
    double result = 1;
    for (int i = 1; i <= k; ++i)
        result = result * (n - k + i) / i;
    return k < 0 || k > n ? 0 : result;
}

// The exact mean and spread of one game's winnings, built outcome by outcome.
struct Moments
{
    double mean = 0, square = 0, events = 0; // events: the chance of a bonus event
    void add(double probability, double win, bool event = false)
    {
        mean += probability * win;
        square += probability * win * win;
        events += event ? probability : 0;
    }
    double sd() const { return std::sqrt(square - mean * mean); }
};

// Chance that a ticket of n numbers catches c of the twenty drawn.
double catchChance(int n, int c)
{
    return choose(n, c) * choose(80 - n, 20 - c) / choose(80, 20);
}

// An egg game: three eggs off the ticket, the eggs' multiplier from two eggs on; in a Plus game
// two eggs and a paying catch draw three extra balls among the 60 numbers not drawn.
Moments cavemanMoments(int n, const Pays& pay, const std::array<double, 4>& egg, bool plus)
{
    Moments m;
    for (int c = 0; c <= n; ++c)
        for (int e = 0; e <= 3; ++e) {
            const double p = choose(n, c) * choose(3, e) * choose(77 - n, 20 - c - e) / choose(80, 20);
            if (e < 2 || pay[c] <= 0)
                m.add(p, pay[c]);
            else if (!plus)
                m.add(p, pay[c] * egg[e], true);
            else
                for (int x = 0; x <= std::min(3, n - c); ++x)
                    for (int y = 0; y <= 3 - e && x + y <= 3; ++y) {
                        const double q = choose(n - c, x) * choose(3 - e, y) *
                                         choose(60 - (n - c) - (3 - e), 3 - x - y) / choose(60, 3);
                        m.add(p * q, pay[c + x] * egg[e + y], pay[c + x] > 0);
                    }
        }
    return m;
}

SimulationInput fiveSpot(const Pays& pay, std::int64_t games, const char* game = "Live Keno")
{
    return {{3, 17, 42, 64, 65}, false, pay, {}, SimulationGameKind(game), games, 20240601, 2, ""};
}

SimulationInput eightSpotPlus(std::int64_t games)
{
    SimulationInput input = fiveSpot({0, 0, 0, 0, 1, 5, 50, 500, 5000}, games, "Caveman Plus");
    input.markedNumbers = {1, 2, 9, 33, 40, 64, 65, 80};
    input.bonus = {0, 0, 1, 1, 4, 10};
    return input;
}

void expectChanceNear(std::int64_t count, std::int64_t games, double p)
{
    const double standardError = std::sqrt(p * (1 - p) / static_cast<double>(games));
    EXPECT_NEAR(static_cast<double>(count) / static_cast<double>(games), p, 4 * standardError + 1e-12);
}

// The run's return, and its bonus events, within four standard errors of the exact figures.
SimulationResult expectExact(const SimulationInput& input, const Moments& exact)
{
    const SimulationResult result = RunSimulation(input);
    EXPECT_TRUE(result.error.empty()) << result.error;
    const double standardError = exact.sd() / std::sqrt(static_cast<double>(input.games)) * 100;
    EXPECT_NEAR(result.percentReturn(), exact.mean * 100, 4 * standardError);
    expectChanceNear(result.bonusEvents, input.games, exact.events);
    // Free games are not counted as games.
    EXPECT_EQ(std::accumulate(result.catchFrequency.begin(), result.catchFrequency.end(), std::int64_t{0}),
              input.games);
    return result;
}

// What a run found, to compare two runs.
auto figuresOf(const SimulationResult& r)
{
    return std::tuple(r.gamesPlayed, r.catchFrequency, r.baseWinnings, r.bonusWinnings, r.bonusEvents,
                      r.sessionLog, r.lastEggs);
}

const Pays kLowPays{0, 0, 0, 1, 10, 800};
const Pays kHighPays{0, 0, 1, 3, 15, 300};
constexpr std::int64_t kGames = 500'000;

} // namespace

TEST(Simulation, PlainFiveSpotReturnsItsExactOddsWithAFixedOrARandomTicket)
{
    Moments exact;
    for (int c = 0; c <= 5; ++c)
        exact.add(catchChance(5, c), kHighPays[c]);
    for (const bool randomPicks : {false, true}) {
        SimulationInput input = fiveSpot(kHighPays, kGames);
        input.randomPicks = randomPicks;
        const SimulationResult result = expectExact(input, exact);
        for (int c = 0; c <= 10; ++c)
            expectChanceNear(result.catchFrequency[c], kGames, c <= 5 ? catchChance(5, c) : 0);
    }
}

TEST(Simulation, BonusBallMultipliesAPayingCatchWhenItHitsAndFreeGamesPayTheirFactor)
{
    // The bonus ball is one of the twenty drawn numbers, each as likely: it hits with c / 20.
    SimulationInput input = fiveSpot(kHighPays, kGames);
    input.bonus = {20, 0, 2};
    Moments factor, one;
    double trigger = 0, payWhenTriggered = 0;
    for (int c = 0; c <= 5; ++c) {
        const double p = catchChance(5, c), hit = c / 20.0;
        factor.add(p * (1 - hit), kHighPays[c]);
        factor.add(p * hit, kHighPays[c] * 2);
        one.add(p, kHighPays[c]);
        trigger += kHighPays[c] > 0 ? p * hit : 0;
        payWhenTriggered += p * hit * kHighPays[c];
    }
    expectExact(input, factor);
    // Twelve free games at 2x: a game wins its pay, and on a trigger 2 x the sum S of twelve
    // independent games.
    input.bonus = {20, 12, 2};
    const double seriesMean = 12 * one.mean;
    const double seriesSquare = 12 * (one.square - one.mean * one.mean) + seriesMean * seriesMean;
    const Moments series{one.mean + trigger * 2 * seriesMean,
                         one.square + 2 * payWhenTriggered * 2 * seriesMean + trigger * 4 * seriesSquare,
                         trigger};
    expectExact(input, series);
}

TEST(Simulation, CavemanEggsMultiplyFromTwoEggsOnAndCavemanPlusDrawsThreeExtraBalls)
{
    SimulationInput caveman = fiveSpot(kHighPays, kGames, "Caveman Keno");
    caveman.bonus = {0, 0, 1, 1, 4, 10};
    expectExact(caveman, cavemanMoments(5, kHighPays, {1, 1, 4, 10}, false));
    const SimulationInput plus = eightSpotPlus(kGames);
    const Moments exact = cavemanMoments(8, plus.payPerCatch, {1, 1, 4, 10}, true);
    expectExact(plus, exact);
}

TEST(Simulation, TheBonusBallIsADrawnNumberOfEveryRankAlike)
{
    SimulationInput input = fiveSpot(kHighPays, 1);
    input.bonus.BonusBall = 3; // any position: the ball is a drawn number of random rank
    SimulationGame game(input, ChunkGenerator(11, 0));
    double bonus = 0;
    std::int64_t events = 0;
    std::array<std::int64_t, 20> ranks{};
    constexpr int kPlays = 50000;
    for (int g = 0; g < kPlays; ++g) {
        game.play(bonus, events);
        const std::vector<int> drawn = game.drawn().numbers();
        const auto at = std::find(drawn.begin(), drawn.end(), game.bonusBallNumber());
        ASSERT_NE(at, drawn.end());
        ++ranks[at - drawn.begin()];
    }
    for (std::int64_t count : ranks)
        expectChanceNear(count, kPlays, 1.0 / 20);
}

TEST(Simulation, SessionLogFollowsTheGamesOfEachChunkInOrderOnAnyNumberOfThreads)
{
    // The session log is the running total of the games of each chunk's stream, in chunk order.
    SimulationInput plus = eightSpotPlus(234'500);
    plus.bonus.Egg3Bonus = 7.5;
    SimulationInput freeGames = fiveSpot(kHighPays, 234'500);
    freeGames.bonus = {4, 3, 2.5, 1, 1, 1};
    for (SimulationInput input : {plus, freeGames}) {
        const SimulationResult result = RunSimulation(input);
        ASSERT_EQ(result.sessionLog.size(), 2346u);
        double bonus = 0, base = 0;
        std::int64_t events = 0, game = 0;
        for (std::int64_t chunk = 0; game < input.games; ++chunk) {
            SimulationGame stream(input, ChunkGenerator(input.seed, chunk));
            for (std::int64_t g = 0; g < kChunkGames && game < input.games; ++g) {
                base += input.payPerCatch[stream.play(bonus, events)];
                if (++game % 100 == 0) {
                    ASSERT_EQ(result.sessionLog[game / 100], std::nearbyint(base + bonus)) << game;
                }
            }
        }
        EXPECT_EQ(result.baseWinnings, base);
        EXPECT_EQ(result.bonusWinnings, bonus);
        EXPECT_EQ(result.bonusEvents, events);
        input.threads = 1;
        EXPECT_EQ(figuresOf(result), figuresOf(RunSimulation(input)));
    }
}

TEST(Simulation, AStopAtAProgressPointKeepsTheFiguresOfTheGamesPlayedOnAnyThreads)
{
    for (int threads : {1, 2}) {
        SimulationInput input = fiveSpot(kLowPays, 250'000);
        input.threads = threads;
        std::atomic<bool> stop{false};
        std::vector<std::int64_t> reports; // every 10,000 games
        const SimulationResult stopped = RunSimulation(
            input,
            [&](const SimulationTotals& t) {
                reports.push_back(t.gamesPlayed);
                stop = reports.size() == 2;
            },
            &stop);
        EXPECT_TRUE(stopped.stopped);
        EXPECT_EQ(reports, (std::vector<std::int64_t>{10'000, 20'000}));
        input.games = 20'000; // the figures of the same games in a run that was not stopped
        EXPECT_EQ(figuresOf(stopped), figuresOf(RunSimulation(input)));
    }
}

TEST(Simulation, ASessionTotalBeyondSixtyFourBitsEndsTheRunWithAReport)
{
    // A thousand free games at 32,767 times a top pay on every catch: each series adds 7E+16
    // credits, and a few hundred of them pass what a session total holds.
    SimulationInput input{
        {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, false, {}, {1, 1000, 32767, 1, 1, 1}, {}, 2'000, 9, 0, ""};
    input.payPerCatch.fill(2147483647);
    const SimulationResult result = RunSimulation(input);
    EXPECT_NE(result.error.find("more than a session total can hold"), std::string::npos) << result.error;
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.sessionLog.size(), 1u);
}

TEST(Simulation, GoldenDrawsOfAFixedSeed)
{
    // The first games of chunk 0 of a run seeded 2024: the first is the set that the board's
    // shuffle deals from an ordered deck on the same stream (the randomness test's golden game).
    // Any change to what a stored seed draws shows here.
    SimulationGame game(fiveSpot(kLowPays, 10), ChunkGenerator(2024, 0));
    double bonus = 0;
    std::int64_t events = 0;
    game.play(bonus, events);
    EXPECT_EQ(game.drawn().numbers(), (std::vector<int>{10, 11, 12, 13, 14, 15, 16, 20, 23, 30,
                                                        33, 34, 38, 39, 40, 55, 60, 62, 77, 79}));
    game.play(bonus, events);
    EXPECT_EQ(game.drawn().numbers(), (std::vector<int>{3,  14, 18, 31, 32, 35, 36, 38, 40, 44,
                                                        46, 51, 54, 55, 58, 62, 64, 71, 72, 75}));
}

TEST(Simulation, RefusesATicketOrAValueItCannotPlay)
{
    auto refused = [](auto change) {
        SimulationInput input = fiveSpot(kLowPays, 100);
        change(input);
        const SimulationResult result = RunSimulation(input);
        return !result.error.empty() && result.gamesPlayed == 0;
    };
    for (const std::vector<int>& ticket :
         {std::vector<int>{}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {0, 5}, {81}, {5, 5}})
        EXPECT_TRUE(refused([&](SimulationInput& i) { i.markedNumbers = ticket; })) << ticket.size();
    EXPECT_TRUE(refused([](SimulationInput& i) { i.games = kMaxSimulationGames + 1; }));
    EXPECT_TRUE(refused([](SimulationInput& i) { i.bonus.FreeGames = 1001; }));
    EXPECT_TRUE(refused([](SimulationInput& i) { i.bonus.BonusFactor = 32768; }));
    EXPECT_TRUE(refused([](SimulationInput& i) { i.gameError = "Pick 5, Catch 5 holds 1E+19."; }));
    EXPECT_FALSE(refused([](SimulationInput& i) { i.bonus = {20, 1000, 32767, 32767, 32767, 32767}; }));
}
