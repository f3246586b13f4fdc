// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "engine/cards/cardanalysis.h"
#include "engine/planner/cardsetplan.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <map>

using namespace tallyhawk;

namespace {

long double choose(int n, int k)
{
    if (k < 0 || k > n)
        return 0;
    long double r = 1;
    for (int i = 1; i <= k; ++i)
        r = r * (n - k + i) / i;
    return r;
}

// A pay table for every marked count: all m numbers pay 100 x m, one less 10, two less 2.
CardSetGame ladderGame(SimulationBonus bonus = {}, GameKind kind = {})
{
    CardSetGame game;
    for (int m = 1; m <= kMaxMarks; ++m) {
        game.pays[m][m] = 100.0 * m;
        if (m >= 2)
            game.pays[m][m - 1] = 10;
        if (m >= 3)
            game.pays[m][m - 2] = 2;
    }
    game.bonus = bonus;
    game.kind = kind;
    return game;
}

SimulationBonus bonusOf(double ball, double freeGames, double factor, double egg2 = 1, double egg3 = 1)
{
    SimulationBonus b;
    b.BonusBall = ball;
    b.FreeGames = freeGames;
    b.BonusFactor = factor;
    b.Egg2Bonus = egg2;
    b.Egg3Bonus = egg3;
    return b;
}

struct BonusKind
{
    const char* name;
    SimulationBonus bonus;
    GameKind kind;
};
const BonusKind kBonusKinds[] = {
    {"plain", {}, {}},
    {"bonus ball multiplier", bonusOf(20, 0, 3), {}},
    {"free games", bonusOf(20, 4, 2), {}},
    {"Caveman eggs", bonusOf(0, 0, 1, 4, 10), {true, false}},
    {"Caveman Plus extra balls", bonusOf(0, 0, 1, 4, 10), {true, true}},
};

// Two cards sharing the number 2, a 2-spot table paying 1 for one and 5 for two: the three
// numbers' eight patterns give every figure, the cards' covariance included.
TEST(CardSetExact, TwoCardsSharingANumberByHand)
{
    CardSetGame game;
    game.pays[2] = {0, 1, 5};
    const CardSet set{{{1, 2}, {2, 3}}, 1};
    long double mean = 0, squares = 0, anyPays = 0, meanA = 0, meanB = 0, productAB = 0, squaresA = 0,
                squaresB = 0;
    for (int pattern = 0; pattern < 8; ++pattern) {
        const bool one = pattern & 1, two = pattern & 2, three = pattern & 4;
        const int drawn = one + two + three;
        const long double p = choose(77, 20 - drawn) / choose(80, 20);
        const long double a = game.pays[2][one + two], b = game.pays[2][two + three];
        mean += p * (a + b);
        squares += p * (a + b) * (a + b);
        meanA += p * a;
        meanB += p * b;
        productAB += p * a * b;
        squaresA += p * a * a;
        squaresB += p * b * b;
        if (a + b > 0)
            anyPays += p;
    }
    const long double covariance = productAB - meanA * meanB;
    ASSERT_GT(covariance, 0); // the shared number makes the cards win together

    const CardSetAnalysis exact = AnalyseCardSetExactly(game, set);
    ASSERT_EQ(exact.error, "");
    EXPECT_EQ(exact.method, CardSetMethod::Exact);
    EXPECT_EQ(exact.atoms, 3);
    EXPECT_NEAR(exact.returnPct.value, static_cast<double>(mean * 100 / 2), 1e-12);
    EXPECT_NEAR(exact.sdPerPlay.value, static_cast<double>(std::sqrt(squares - mean * mean)), 1e-12);
    EXPECT_NEAR(exact.hitRate.value, static_cast<double>(anyPays), 1e-12);
    EXPECT_NEAR(exact.cards[0].returnPct.value, static_cast<double>(meanA * 100), 1e-12);
    EXPECT_NEAR(exact.cards[1].returnPct.value, static_cast<double>(meanB * 100), 1e-12);
    // Apart, the cards would swing less: the shared number adds twice their covariance.
    const long double apart = squaresA - meanA * meanA + squaresB - meanB * meanB;
    EXPECT_NEAR(exact.sdIfIndependent.value, static_cast<double>(std::sqrt(apart)), 1e-12);
    EXPECT_NEAR(exact.sdPerPlay.value, static_cast<double>(std::sqrt(apart + 2 * covariance)), 1e-12);
}

// The way ticket 1,2 / 3,4 / 5,6 at sizes 2, 4 and 6 (seven cards over six numbers): the 64
// patterns of the six numbers, each with its chance, give the play's total win.
TEST(CardSetExact, WayTicketOfThreeGroupsByHand)
{
    CardSetGame game;
    game.pays[2] = {0, 1, 5};
    game.pays[4] = {0, 0, 1, 4, 20};
    game.pays[6] = {0, 0, 0, 1, 5, 50, 500};
    const WayCards ways = BuildWayCards({{{1, 2}, {3, 4}, {5, 6}}, {2, 4, 6}});
    ASSERT_EQ(ways.error, "");
    const CardSet set{ways.cards, 2, true};
    long double mean = 0, squares = 0, anyPays = 0, solid = 0;
    for (int pattern = 0; pattern < 64; ++pattern) {
        auto drawn = [pattern](int number) {
            return (pattern >> (number - 1)) & 1;
        };
        const int groups[3] = {drawn(1) + drawn(2), drawn(3) + drawn(4), drawn(5) + drawn(6)};
        const long double p = choose(74, 20 - __builtin_popcount(pattern)) / choose(80, 20);
        // Three 2-spots, three 4-spots (two groups each), one 6-spot (all three).
        long double win = 0;
        for (int g = 0; g < 3; ++g)
            win += game.pays[2][groups[g]] + game.pays[4][groups[g] + groups[(g + 1) % 3]];
        win += game.pays[6][groups[0] + groups[1] + groups[2]];
        win *= set.bet;
        mean += p * win;
        squares += p * win * win;
        if (win > 0)
            anyPays += p;
        if (groups[0] + groups[1] + groups[2] == 6)
            solid += p; // only the 6-spot's catch of 6 pays 100 or more
    }
    const CardSetAnalysis exact = AnalyseCardSetExactly(game, set);
    ASSERT_EQ(exact.error, "");
    EXPECT_EQ(exact.cost, 14);
    EXPECT_NEAR(exact.returnPct.value, static_cast<double>(mean * 100 / 14), 1e-12);
    EXPECT_NEAR(exact.sdPerPlay.value, static_cast<double>(std::sqrt(squares - mean * mean)), 1e-11);
    EXPECT_NEAR(exact.hitRate.value, static_cast<double>(anyPays), 1e-12);
    EXPECT_NEAR(exact.anySolidCatch.value, static_cast<double>(solid), 1e-15);
    ASSERT_EQ(exact.spotCounts.size(), 3u);
    EXPECT_NEAR(exact.spotCounts[2].solidCatch.value, static_cast<double>(solid), 1e-15);
}

// Every draw of a board of 8 numbers drawing 3, every place of the bonus ball among them, and
// every pair of free-game draws when the play earns its series.
TEST(CardSetExact, BonusBallAndFreeGamesAgainstEveryDraw)
{
    CardSetGame game;
    game.pays[2] = {0, 1, 3};
    game.pays[3] = {0, 0, 2, 10};
    game.bonus = bonusOf(1, 2, 2);
    const CardSet set{{{1, 2}, {2, 3, 4}}, 3};
    const KenoShape shape{8, 3};

    std::vector<std::vector<bool>> draws;
    for (int mask = 0; mask < 256; ++mask)
        if (__builtin_popcount(mask) == 3) {
            std::vector<bool> drawn(9);
            for (int n = 1; n <= 8; ++n)
                drawn[n] = mask & (1 << (n - 1));
            draws.push_back(drawn);
        }
    auto hitsOf = [](const Card& card, const std::vector<bool>& drawn) {
        int hits = 0;
        for (int n : card)
            hits += drawn[n];
        return hits;
    };
    auto payOf = [&](const Card& card, int hits) {
        return game.pays[card.size()][hits] * set.bet;
    };
    // One free game of the cards that started the series.
    auto freeGameOf = [&](const std::vector<std::size_t>& cards) {
        std::map<std::int64_t, long double> freeGame;
        for (const auto& drawn : draws) {
            double win = 0;
            for (std::size_t card : cards)
                win += 2 * payOf(set.cards[card], hitsOf(set.cards[card], drawn));
            freeGame[static_cast<std::int64_t>(win)] += 1.0L / draws.size();
        }
        return freeGame;
    };
    std::map<std::int64_t, long double> expected;
    for (const auto& drawn : draws)
        for (int ball = 1; ball <= 8; ++ball) {
            if (!drawn[ball])
                continue;
            const long double p = 1.0L / draws.size() / 3;
            double paid = 0;
            std::vector<std::size_t> series; // the cards with the bonus ball on a paying catch
            for (std::size_t card = 0; card < set.cards.size(); ++card) {
                const Card& numbers = set.cards[card];
                const double pay = payOf(numbers, hitsOf(numbers, drawn));
                paid += pay;
                if (pay > 0 && std::find(numbers.begin(), numbers.end(), ball) != numbers.end())
                    series.push_back(card);
            }
            if (series.empty()) {
                expected[static_cast<std::int64_t>(paid)] += p;
                continue;
            }
            const std::map<std::int64_t, long double> freeGame = freeGameOf(series);
            for (const auto& [first, p1] : freeGame)
                for (const auto& [second, p2] : freeGame)
                    expected[static_cast<std::int64_t>(paid) + first + second] += p * p1 * p2;
        }

    const CardSetAnalysis exact = AnalyseCardSetExactly(game, set, shape);
    ASSERT_EQ(exact.error, "");
    ASSERT_EQ(exact.win.atoms.size(), expected.size());
    auto at = expected.begin();
    for (const WinAtom& atom : exact.win.atoms) {
        EXPECT_EQ(atom.win, at->first);
        EXPECT_NEAR(static_cast<double>(atom.probability), static_cast<double>(at->second), 1e-15);
        ++at;
    }
}

// A set of one card is the simulation's single ticket, bonus features and all.
TEST(CardSetExact, OneCardIsTheSingleTicket)
{
    for (const BonusKind& kind : kBonusKinds) {
        const CardSetGame game = ladderGame(kind.bonus, kind.kind);
        const ExactGame ticket = game.ticket(6);
        std::array<long double, kMaxMarks + 1> catches{};
        const ExactOdds single = ExactOddsOf(SimulationWinDistribution(ticket, {}, &catches), catches, 1);
        const CardSetAnalysis set = AnalyseCardSetExactly(game, {{{3, 14, 25, 36, 47, 58}}, 1});
        ASSERT_EQ(set.error, "") << kind.name;
        EXPECT_NEAR(set.returnPct.value, single.returnPct, 1e-9 * single.returnPct) << kind.name;
        EXPECT_NEAR(set.sdPerPlay.value, single.standardDeviation, 1e-9 * single.standardDeviation)
            << kind.name;
        EXPECT_NEAR(set.hitRate.value, single.hitRate, 1e-12) << kind.name;
        EXPECT_NEAR(set.cards[0].sdPerPlay.value, single.standardDeviation, 1e-9 * single.standardDeviation)
            << kind.name;
    }
}

// With free games, each card of a set returns what it would alone: its series plays it alone.
TEST(CardSetExact, FreeGamesPlayTheCardsThatStartThem)
{
    const CardSetGame game = ladderGame(bonusOf(20, 4, 2));
    const CardSetAnalysis set =
        AnalyseCardSetExactly(game, {{{1, 2, 3, 4, 5, 6}, {4, 5, 6, 7, 8, 9, 10}}, 1});
    ASSERT_EQ(set.error, "");
    for (int c = 0; c < 2; ++c) {
        const int marked = set.cards[c].marked;
        std::array<long double, kMaxMarks + 1> catches{};
        const ExactOdds alone =
            ExactOddsOf(SimulationWinDistribution(game.ticket(marked), {}, &catches), catches, 1);
        EXPECT_NEAR(set.cards[c].returnPct.value, alone.returnPct, 1e-9 * alone.returnPct) << marked;
        EXPECT_NEAR(set.cards[c].sdPerPlay.value, alone.standardDeviation, 1e-9 * alone.standardDeviation)
            << marked;
    }
}

TEST(CardSetSimulation, AgreesWithTheExactFiguresForEachBonusKind)
{
    const CardSet set{{{1, 2, 3, 4, 5, 6}, {4, 5, 6, 7, 8, 9, 10}, {20, 21}}, 2};
    CardSetOptions options;
    options.plays = 400'000;
    options.seed = 7;
    for (const BonusKind& kind : kBonusKinds) {
        const CardSetGame game = ladderGame(kind.bonus, kind.kind);
        const CardSetAnalysis exact = AnalyseCardSetExactly(game, set);
        const CardSetAnalysis sampled = SimulateCardSet(game, set, options);
        ASSERT_TRUE(exact.ok() && sampled.ok()) << kind.name << exact.error << sampled.error;
        EXPECT_EQ(sampled.method, CardSetMethod::Simulation);
        const double n = static_cast<double>(options.plays);
        const double returnError =
            exact.sdPerPlay.value / std::sqrt(n) * 100 / static_cast<double>(set.cost());
        EXPECT_NEAR(sampled.returnPct.value, exact.returnPct.value, 4 * returnError) << kind.name;
        const double p = exact.hitRate.value;
        EXPECT_NEAR(sampled.hitRate.value, p, 4 * std::sqrt(p * (1 - p) / n)) << kind.name;
        const double q = exact.anySolidCatch.value;
        EXPECT_NEAR(sampled.anySolidCatch.value, q, 4 * std::sqrt(q * (1 - q) / n)) << kind.name;
    }
}

TEST(CardSetSimulation, SameFiguresOnOneAndTwoThreads)
{
    const CardSetGame game = ladderGame(bonusOf(0, 0, 1, 4, 10), {true, true});
    const CardSet set{{{1, 2, 3, 4, 5}, {5, 6, 7, 8, 9, 10}}, 1};
    CardSetOptions options;
    options.plays = 250'000; // three chunks, the last one short
    options.seed = 99;
    options.threads = 1;
    const CardSetAnalysis one = SimulateCardSet(game, set, options);
    options.threads = 2;
    const CardSetAnalysis two = SimulateCardSet(game, set, options);
    ASSERT_TRUE(one.ok() && two.ok());
    EXPECT_EQ(one.returnPct.value, two.returnPct.value);
    EXPECT_EQ(one.sdPerPlay.value, two.sdPerPlay.value);
    EXPECT_EQ(one.hitRate.value, two.hitRate.value);
    EXPECT_EQ(one.cards[1].solidCatch.value, two.cards[1].solidCatch.value);
}

TEST(CardSetAnalysisChoice, ScatteredCardsAreSimulated)
{
    CardSet set;
    for (int c = 0; c < 20; ++c)
        set.cards.push_back(
            {c + 1, (c + 7) % 80 + 1, (c + 23) % 80 + 1, (c + 41) % 80 + 1, (c + 59) % 80 + 1});
    CardSetOptions options;
    options.plays = 100'000;
    const CardSetAnalysis analysis = AnalyseCardSet(ladderGame(), set, options);
    ASSERT_TRUE(analysis.ok()) << analysis.error;
    EXPECT_EQ(analysis.method, CardSetMethod::Simulation);
    EXPECT_FALSE(analysis.whySimulated.empty());
    EXPECT_LE(analysis.returnPct.low, analysis.returnPct.value);
    EXPECT_GE(analysis.returnPct.high, analysis.returnPct.value);
}

TEST(CardSetRefusal, CavemanNeedsRoomForItsEggs)
{
    CardSet set;
    for (int c = 0; c < 8; ++c)
        set.cards.push_back({10 * c + 1, 10 * c + 2, 10 * c + 3, 10 * c + 4, 10 * c + 5, 10 * c + 6,
                             10 * c + 7, 10 * c + 8, 10 * c + 9, 10 * c + 10});
    EXPECT_EQ(CardSetPlayError(ladderGame({}, {true, false}), set),
              "A Caveman game needs three numbers that no card marks, for its eggs.");
}

// The planner walks a play of the set: its step costs cards x bet.
TEST(CardSetPlan, StepIsThePlaysTotalWin)
{
    const CardSetGame game = ladderGame();
    const CardSet set{{{1, 2, 3}, {3, 4, 5}}, 5};
    const PlanStep step = CardSetPlanStep(game, set);
    ASSERT_EQ(step.error, "");
    EXPECT_EQ(step.bet, 10);
    const CardSetAnalysis exact = AnalyseCardSetExactly(game, set);
    EXPECT_NEAR(static_cast<double>(step.win.mean()), exact.returnPct.value / 100 * 10, 1e-9);
    SessionPlan plan;
    plan.bet = 10;
    plan.credits = 200;
    plan.games = 50;
    const SessionPlanResult result = PlanSession(step, plan);
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.method, PlanMethod::Exact);
    EXPECT_NEAR(result.ruined.value + result.targetReached.value + result.allGamesPlayed.value, 1, 1e-9);
}

} // namespace
