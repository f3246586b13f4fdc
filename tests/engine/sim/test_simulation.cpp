#include "engine/sim/simulation.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <gtest/gtest.h>
#include <numeric>
#include <set>

using namespace tallyhawk;

namespace {

using Pays = std::array<std::int32_t, 11>;

double choose(int n, int k)
{
    if (k < 0 || k > n)
        return 0;
    double result = 1;
    for (int i = 1; i <= k; ++i)
        result = result * (n - k + i) / i;
    return result;
}

// The exact mean and spread of one game's winnings, built outcome by outcome.
struct Moments
{
    double mean = 0, square = 0;
    void add(double probability, double win)
    {
        mean += probability * win;
        square += probability * win * win;
    }
    double sd() const { return std::sqrt(square - mean * mean); }
};

// Chance that a ticket of n numbers catches c of the twenty drawn.
double catchChance(int n, int c)
{
    return choose(n, c) * choose(80 - n, 20 - c) / choose(80, 20);
}

Moments plainMoments(int n, const Pays& pay)
{
    Moments m;
    for (int c = 0; c <= n; ++c)
        m.add(catchChance(n, c), pay[c]);
    return m;
}

// An egg game: three eggs off the ticket, the eggs' multiplier from two eggs on; in a Plus game
// two eggs and a paying catch draw three extra balls among the 60 numbers not drawn.
Moments cavemanMoments(int n, const Pays& pay, const std::array<double, 4>& egg, bool plus,
                       double* eventChance = nullptr)
{
    Moments m;
    double events = 0;
    for (int c = 0; c <= n; ++c)
        for (int e = 0; e <= 3; ++e) {
            const double p = choose(n, c) * choose(3, e) * choose(77 - n, 20 - c - e) / choose(80, 20);
            if (e < 2 || pay[c] <= 0) {
                m.add(p, pay[c]);
                continue;
            }
            if (!plus) {
                m.add(p, pay[c] * egg[e]);
                events += p;
                continue;
            }
            const int rest = 60 - (n - c) - (3 - e);
            for (int x = 0; x <= std::min(3, n - c); ++x)
                for (int y = 0; y <= 3 - e && x + y <= 3; ++y) {
                    const double q =
                        choose(n - c, x) * choose(3 - e, y) * choose(rest, 3 - x - y) / choose(60, 3);
                    m.add(p * q, pay[c + x] * egg[e + y]);
                    events += pay[c + x] > 0 ? p * q : 0;
                }
        }
    if (eventChance)
        *eventChance = events;
    return m;
}

SimulationInput fiveSpot(const Pays& pay, std::int64_t games)
{
    SimulationInput input;
    input.markedNumbers = {3, 17, 42, 64, 65};
    input.payPerCatch = pay;
    input.kind =
        SimulationGameKind("Nevada                   Some Casino                   Live Keno           ");
    input.games = games;
    input.seed = 20240601;
    input.threads = 2;
    return input;
}

void expectWithinFourStandardErrors(const SimulationResult& result, const Moments& exact)
{
    ASSERT_TRUE(result.error.empty()) << result.error;
    const double standardError = exact.sd() / std::sqrt(static_cast<double>(result.gamesPlayed)) * 100;
    EXPECT_NEAR(result.percentReturn(), exact.mean * 100, 4 * standardError);
}

void expectChanceNear(std::int64_t count, std::int64_t games, double p)
{
    const double standardError = std::sqrt(p * (1 - p) / static_cast<double>(games));
    EXPECT_NEAR(static_cast<double>(count) / static_cast<double>(games), p, 4 * standardError + 1e-12);
}

void expectSameResult(const SimulationResult& a, const SimulationResult& b)
{
    EXPECT_EQ(a.gamesPlayed, b.gamesPlayed);
    EXPECT_EQ(a.catchFrequency, b.catchFrequency);
    EXPECT_EQ(a.baseWinnings, b.baseWinnings);
    EXPECT_EQ(a.bonusWinnings, b.bonusWinnings);
    EXPECT_EQ(a.bonusEvents, b.bonusEvents);
    EXPECT_EQ(a.sessionLog, b.sessionLog);
    EXPECT_EQ(a.lastEggs, b.lastEggs);
}

const Pays kLowPays{0, 0, 0, 1, 10, 800};
const Pays kHighPays{0, 0, 1, 3, 15, 300};
const Pays kEightSpot{0, 0, 0, 0, 1, 5, 50, 500, 5000};
constexpr std::int64_t kGames = 2'000'000;

} // namespace

TEST(Simulation, PlainFiveSpotReturnsItsExactOdds)
{
    EXPECT_NEAR(plainMoments(5, kLowPays).mean, 57000.0 / 79079.0, 1e-12);
    EXPECT_NEAR(plainMoments(5, kHighPays).mean * 100, 89.7125, 5e-5);
    for (const Pays& pay : {kLowPays, kHighPays}) {
        const SimulationResult result = RunSimulation(fiveSpot(pay, kGames));
        expectWithinFourStandardErrors(result, plainMoments(5, pay));
        EXPECT_EQ(result.gamesPlayed, kGames);
        EXPECT_EQ(
            std::accumulate(result.catchFrequency.begin(), result.catchFrequency.end(), std::int64_t{0}),
            kGames);
        std::int64_t base = 0;
        for (int c = 0; c <= 10; ++c) {
            base += pay[c] * result.catchFrequency[c];
            expectChanceNear(result.catchFrequency[c], kGames, c <= 5 ? catchChance(5, c) : 0);
        }
        EXPECT_EQ(result.baseWinnings, base);
        EXPECT_EQ(result.bonusWinnings, 0);
        EXPECT_EQ(result.bonusEvents, 0);
    }
}

TEST(Simulation, RandomPicksReturnTheSameOddsAsAFixedTicket)
{
    SimulationInput input = fiveSpot(kLowPays, kGames);
    input.randomPicks = true;
    expectWithinFourStandardErrors(RunSimulation(input), plainMoments(5, kLowPays));
}

TEST(Simulation, BonusBallMultipliesAPayingCatchWhenItHitsTheTicket)
{
    SimulationInput input = fiveSpot(kHighPays, kGames);
    input.bonus.BonusBall = 20;
    input.bonus.BonusFactor = 4;
    // The bonus ball is one of the twenty drawn numbers, each as likely: it hits with c / 20.
    Moments exact;
    for (int c = 0; c <= 5; ++c) {
        exact.add(catchChance(5, c) * (1 - c / 20.0), kHighPays[c]);
        exact.add(catchChance(5, c) * c / 20.0, kHighPays[c] * 4);
    }
    const SimulationResult result = RunSimulation(input);
    expectWithinFourStandardErrors(result, exact);
    EXPECT_EQ(result.bonusEvents, 0);
    EXPECT_GT(result.bonusWinnings, 0);
}

TEST(Simulation, FreeGamesPayTwelveDrawsAtTheirFactor)
{
    SimulationInput input = fiveSpot(kHighPays, kGames);
    input.bonus.BonusBall = 20;
    input.bonus.FreeGames = 12;
    input.bonus.BonusFactor = 2;
    const Moments one = plainMoments(5, kHighPays);
    double trigger = 0, payWhenTriggered = 0;
    for (int c = 0; c <= 5; ++c)
        if (kHighPays[c] > 0) {
            trigger += catchChance(5, c) * c / 20.0;
            payWhenTriggered += catchChance(5, c) * c / 20.0 * kHighPays[c];
        }
    // A game wins its pay, and on a trigger 2 x the sum S of twelve independent free games.
    const double seriesMean = 12 * one.mean;
    const double seriesSquare = 12 * (one.square - one.mean * one.mean) + seriesMean * seriesMean;
    Moments exact;
    exact.mean = one.mean + trigger * 2 * seriesMean;
    exact.square = one.square + 2 * payWhenTriggered * 2 * seriesMean + trigger * 4 * seriesSquare;

    const SimulationResult result = RunSimulation(input);
    expectWithinFourStandardErrors(result, exact);
    expectChanceNear(result.bonusEvents, kGames, trigger);
    EXPECT_EQ(std::accumulate(result.catchFrequency.begin(), result.catchFrequency.end(), std::int64_t{0}),
              kGames); // free games are not counted as games
}

TEST(Simulation, CavemanEggsMultiplyFromTwoEggsOn)
{
    SimulationInput input = fiveSpot(kHighPays, kGames);
    input.kind =
        SimulationGameKind("Somewhere                Some Casino                   Caveman Keno        ");
    input.bonus.Egg1Bonus = 1;
    input.bonus.Egg2Bonus = 4;
    input.bonus.Egg3Bonus = 10;
    double events = 0;
    const Moments exact = cavemanMoments(5, kHighPays, {1, 1, 4, 10}, false, &events);
    const SimulationResult result = RunSimulation(input);
    expectWithinFourStandardErrors(result, exact);
    expectChanceNear(result.bonusEvents, kGames, events);
}

TEST(Simulation, CavemanPlusDrawsThreeExtraBallsAndCountsAgain)
{
    SimulationInput input = fiveSpot(kEightSpot, kGames);
    input.markedNumbers = {1, 2, 9, 33, 40, 64, 65, 80};
    input.kind =
        SimulationGameKind("Somewhere                Some Casino                   Caveman Plus        ");
    input.bonus.Egg2Bonus = 4;
    input.bonus.Egg3Bonus = 10;
    double events = 0;
    const Moments exact = cavemanMoments(8, kEightSpot, {1, 1, 4, 10}, true, &events);
    // The extra balls matter: without them the return would be clearly lower.
    EXPECT_GT(exact.mean - cavemanMoments(8, kEightSpot, {1, 1, 4, 10}, false).mean, 0.01);
    const SimulationResult result = RunSimulation(input);
    expectWithinFourStandardErrors(result, exact);
    expectChanceNear(result.bonusEvents, kGames, events);
}

TEST(Simulation, EveryGameLeavesTwentyDrawnNumbersAndEggsOffTheTicket)
{
    SimulationInput input = fiveSpot(kEightSpot, 1);
    input.markedNumbers = {1, 2, 3, 4, 5, 6, 7, 8};
    input.randomPicks = true;
    input.kind = SimulationGameKind("Caveman Plus");
    input.payPerCatch = {1, 1, 1, 1, 1, 1, 1, 1, 1}; // every catch pays: extra balls on two eggs
    SimulationGame game(input, ChunkGenerator(7, 0));
    double bonus = 0;
    std::int64_t events = 0;
    int extraGames = 0;
    std::set<std::vector<int>> tickets;
    for (int g = 0; g < 20000; ++g) {
        const int hits = game.play(bonus, events);
        ASSERT_EQ(game.drawn().count(), 20);
        ASSERT_EQ(game.ticket().count(), 8);
        ASSERT_EQ(game.eggs().count(), 3);
        ASSERT_EQ((game.eggs() & game.ticket()).count(), 0);
        tickets.insert(game.ticket().numbers());
        if (game.extraBalls().count() > 0) {
            ++extraGames;
            ASSERT_EQ(game.extraBalls().count(), 3);
            ASSERT_EQ((game.extraBalls() & game.drawn()).count(), 0);
            ASSERT_GE((game.eggs() & game.drawn()).count(), 2);
            ASSERT_EQ(hits, (game.ticket() & (game.drawn() | game.extraBalls())).count());
        } else {
            ASSERT_EQ(hits, (game.ticket() & game.drawn()).count());
        }
    }
    EXPECT_GT(extraGames, 1000);
    EXPECT_GT(tickets.size(), 19000u); // a new ticket every game
}

TEST(Simulation, BonusBallIsADrawnNumberOfEveryRankAlike)
{
    SimulationInput input = fiveSpot(kHighPays, 1);
    input.bonus.BonusBall = 3;
    SimulationGame game(input, ChunkGenerator(11, 0));
    std::array<std::int64_t, 20> ranks{};
    double bonus = 0;
    std::int64_t events = 0;
    constexpr int kPlays = 100000;
    for (int g = 0; g < kPlays; ++g) {
        game.play(bonus, events);
        const std::vector<int> drawn = game.drawn().numbers();
        const auto at = std::find(drawn.begin(), drawn.end(), game.bonusBallNumber());
        ASSERT_NE(at, drawn.end());
        ++ranks[at - drawn.begin()];
        ASSERT_EQ(game.bonusFlag(), game.ticket().contains(game.bonusBallNumber()));
    }
    for (std::int64_t count : ranks)
        expectChanceNear(count, kPlays, 1.0 / 20);
}

// The session log is the running total of the games of each chunk's stream, in chunk order.
TEST(Simulation, SessionLogFollowsTheGamesOfEachChunkInOrder)
{
    SimulationInput plus = fiveSpot(kEightSpot, 234'500);
    plus.markedNumbers = {1, 2, 9, 33, 40, 64, 65, 80};
    plus.kind = SimulationGameKind("Caveman Plus");
    plus.bonus.Egg2Bonus = 3;
    plus.bonus.Egg3Bonus = 7.5;
    SimulationInput freeGames = fiveSpot(kHighPays, 234'500);
    freeGames.bonus = {4, 3, 2.5, 1, 1, 1};
    for (const SimulationInput& input : {plus, freeGames}) {
        const SimulationResult result = RunSimulation(input);
        ASSERT_EQ(result.sessionLog.size(), 2346u);
        double bonus = 0, base = 0;
        std::int64_t events = 0, game = 0;
        for (std::int64_t chunk = 0; game < input.games; ++chunk) {
            SimulationGame stream(input, ChunkGenerator(input.seed, chunk));
            for (std::int64_t g = 0; g < kChunkGames && game < input.games; ++g) {
                base += input.payPerCatch[stream.play(bonus, events)];
                if (++game % 100 == 0) {
                    const auto total = static_cast<std::int64_t>(std::nearbyint(base + bonus));
                    ASSERT_EQ(result.sessionLog[game / 100], total) << game;
                }
            }
        }
        EXPECT_EQ(result.baseWinnings, base);
        EXPECT_EQ(result.bonusWinnings, bonus);
        EXPECT_EQ(result.bonusEvents, events);
        EXPECT_EQ(result.sessionLog[0], 0);
    }
}

TEST(Simulation, SameSeedGivesTheSameRunOnOneAndTwoThreads)
{
    SimulationInput input = fiveSpot(kEightSpot, 1'234'567);
    input.markedNumbers = {1, 2, 9, 33, 40, 64, 65, 80};
    input.kind = SimulationGameKind("Caveman Plus");
    input.bonus.Egg2Bonus = 4;
    input.bonus.Egg3Bonus = 10;
    input.threads = 1;
    const SimulationResult one = RunSimulation(input);
    input.threads = 2;
    expectSameResult(one, RunSimulation(input));
    EXPECT_NE(one.lastEggs[0], 0);
    input.seed += 1;
    EXPECT_NE(one.baseWinnings, RunSimulation(input).baseWinnings);
}

TEST(Simulation, ReportsProgressEveryTenThousandGamesAndAtTheLast)
{
    std::vector<SimulationTotals> reports;
    const SimulationResult result =
        RunSimulation(fiveSpot(kLowPays, 25'000), [&](const SimulationTotals& t) { reports.push_back(t); });
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].gamesPlayed, 10'000);
    EXPECT_EQ(reports[1].gamesPlayed, 20'000);
    EXPECT_EQ(reports[2].gamesPlayed, 25'000);
    EXPECT_EQ(reports[2].catchFrequency, result.catchFrequency);
    EXPECT_FALSE(result.stopped);

    reports.clear();
    const SimulationResult single =
        RunSimulation(fiveSpot(kLowPays, 1), [&](const SimulationTotals& t) { reports.push_back(t); });
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(single.gamesPlayed, 1);
    EXPECT_EQ(single.sessionLog, std::vector<std::int64_t>{0});
}

TEST(Simulation, StopEndsTheRunAtAWholeTenThousandGames)
{
    for (int threads : {1, 2}) {
        for (int stopAt : {1, 2}) {
            SimulationInput input = fiveSpot(kLowPays, 250'000);
            input.threads = threads;
            std::vector<SimulationTotals> reports;
            std::atomic<bool> stop{false};
            const SimulationResult result = RunSimulation(
                input,
                [&](const SimulationTotals& t) {
                    reports.push_back(t);
                    if (static_cast<int>(reports.size()) == stopAt)
                        stop = true;
                },
                &stop);
            EXPECT_TRUE(result.stopped);
            EXPECT_EQ(result.gamesPlayed, stopAt * 10'000);
            EXPECT_EQ(result.sessionLog.size(), static_cast<std::size_t>(stopAt * 100 + 1));
            // The figures are those of the same games in a run that was not stopped.
            input.games = stopAt * 10'000;
            expectSameResult(result, RunSimulation(input));
        }
    }
    // A stop after the last game changes nothing.
    std::atomic<bool> stop{true};
    const SimulationResult whole = RunSimulation(fiveSpot(kLowPays, 5'000), {}, &stop);
    EXPECT_EQ(whole.gamesPlayed, 5'000);
    EXPECT_FALSE(whole.stopped);
}

TEST(Simulation, SessionLogKeepsTheFirstTenMillionGames)
{
    const SimulationResult result = RunSimulation(fiveSpot(kLowPays, 10'020'000));
    ASSERT_EQ(result.sessionLog.size(), static_cast<std::size_t>(kMaxSessions + 1));
    EXPECT_GT(result.sessionLog.back(), 0);
    EXPECT_LE(result.sessionLog.back(), result.baseWinnings);
}

TEST(Simulation, ASessionTotalBeyondSixtyFourBitsEndsTheRunWithAReport)
{
    // A thousand free games at 32,767 times a top pay on every catch: each series adds 7E+16
    // credits, and a few hundred of them pass what a session total holds.
    SimulationInput input;
    input.markedNumbers = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    input.payPerCatch.fill(2147483647);
    input.bonus = {1, 1000, 32767, 1, 1, 1};
    input.games = 20'000;
    input.seed = 9;
    const SimulationResult result = RunSimulation(input);
    EXPECT_NE(result.error.find("more than a session total can hold"), std::string::npos) << result.error;
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.gamesPlayed, 0);
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

TEST(Simulation, TheIntervalOfARunStartsAtAHundredGamesAndNeverBelowZero)
{
    EXPECT_EQ(SimulatedReturnInterval(50, 6.4, 99), std::nullopt);
    EXPECT_EQ(SimulatedReturnInterval(50, std::nan(""), 1000), std::nullopt);
    // 1.96 x 100 x 6.4 / sqrt(100) = 125.44 either side, cut at 0.
    const auto hundred = SimulatedReturnInterval(50, 6.4, 100);
    ASSERT_TRUE(hundred);
    EXPECT_EQ(hundred->low, 0);
    EXPECT_NEAR(hundred->high, 175.44, 1e-9);
    // 1.96 x 100 x 6.4 / sqrt(10000) = 12.544.
    const auto many = SimulatedReturnInterval(90, 6.4, 10000);
    ASSERT_TRUE(many);
    EXPECT_NEAR(many->low, 77.456, 1e-9);
    EXPECT_NEAR(many->high, 102.544, 1e-9);
    EXPECT_TRUE(many->contains(92.5));
    EXPECT_FALSE(many->contains(103));
}

TEST(Simulation, RefusesATicketOrGameCountItCannotPlay)
{
    auto refused = [](auto change) {
        SimulationInput input = fiveSpot(kLowPays, 100);
        change(input);
        const SimulationResult result = RunSimulation(input);
        return !result.error.empty() && result.gamesPlayed == 0;
    };
    EXPECT_TRUE(refused([](SimulationInput& i) { i.markedNumbers.clear(); }));
    EXPECT_TRUE(refused([](SimulationInput& i) { i.markedNumbers = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}; }));
    EXPECT_TRUE(refused([](SimulationInput& i) { i.markedNumbers = {0, 5}; }));
    EXPECT_TRUE(refused([](SimulationInput& i) { i.markedNumbers = {81}; }));
    EXPECT_TRUE(refused([](SimulationInput& i) { i.markedNumbers = {5, 5}; }));
    EXPECT_TRUE(refused([](SimulationInput& i) { i.games = 0; }));
    EXPECT_TRUE(refused([](SimulationInput& i) { i.games = kMaxSimulationGames + 1; }));
    EXPECT_TRUE(refused([](SimulationInput& i) { i.bonus.FreeGames = NAN; }));
    EXPECT_TRUE(refused([](SimulationInput& i) { i.bonus.FreeGames = 1001; }));
    EXPECT_TRUE(refused([](SimulationInput& i) { i.bonus.BonusFactor = 32768; }));
    EXPECT_TRUE(refused([](SimulationInput& i) { i.bonus.Egg2Bonus = 1e19; }));
    EXPECT_TRUE(refused([](SimulationInput& i) { i.bonus.BonusBall = -1; }));
    EXPECT_TRUE(refused([](SimulationInput& i) { i.gameError = "Pick 5, Catch 5 holds 1E+19."; }));
    EXPECT_FALSE(refused([](SimulationInput& i) { i.bonus = {20, 1000, 32767, 32767, 32767, 32767}; }));
    EXPECT_FALSE(refused([](SimulationInput&) {}));
    EXPECT_EQ(SimulationGameKind("Big Caveman Keno Plus"), (GameKind{true, true}));
    EXPECT_EQ(SimulationGameKind("Keno Plus"), (GameKind{false, false}));
    EXPECT_EQ(SimulationGameKind("caveman keno"), (GameKind{false, false}));
}
