// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "engine/randomness/randomness.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numeric>
#include <optional>

using namespace tallyhawk;

TEST(RandomnessAnswer, AcceptsAWholeMultipleOfFourAndSaysWhyNot)
{
    using enum RandomnessAnswerKind;
    // Rounded half to even before dividing; beyond 32 bits no number.
    const std::tuple<const char*, RandomnessAnswerKind, std::int32_t> cases[] = {
        {" 999.5 ", Accepted, 1000},
        {"1001.5", NotDivisible, 0},
        {"2147483648", NotDivisible, 0},
        {"0.4", NotPositive, 0},
        {" \t ", Cancelled, 0}};
    for (const auto& [text, kind, games] : cases) {
        const RandomnessAnswer answer = ParseRandomnessAnswer(text);
        EXPECT_EQ(answer.kind, kind) << '"' << text << '"';
        EXPECT_EQ(answer.games, games) << '"' << text << '"';
        EXPECT_EQ(answer.message, kind == NotDivisible  ? "Enter a number that is exactly divisible by 4!"
                                  : kind == NotPositive ? kRandomnessNotPositiveMessage
                                                        : "");
    }
}

TEST(RandomnessTest, GoldenDrawsOfAFixedSeed)
{
    // The first chunk of a test seeded 2024 starts from an ordered deck on the chunk's stream. Any
    // change to what a stored seed draws shows here; a thousand games take some deals that draw again.
    KenoRandom random(ChunkGenerator(2024, 0));
    DrawDeck deck = OrderedDeck();
    RandomnessTest(1000).playGame(deck, random);
    EXPECT_EQ(
        std::vector<int>(deck.begin() + 1, deck.begin() + 21),
        (std::vector<int>{38, 62, 34, 12, 13, 39, 40, 55, 30, 23, 33, 11, 10, 20, 60, 16, 79, 77, 15, 14}));
    const RandomnessOutcome outcome = RunRandomnessTest(1000, 2024);
    std::int64_t squares = 0;
    for (std::int64_t v : outcome.deviations)
        squares += v * v;
    EXPECT_EQ(squares, 12710);
}

TEST(RandomnessTest, TheStatisticAndItsVerdict)
{
    std::array<double, 80> deviations{};
    deviations[0] = 10;
    deviations[79] = -10;
    EXPECT_DOUBLE_EQ(RandomnessStatistic(deviations, 1000), 79.0 / 60.0 * 0.8); // 4 x 100 / 1000 twice
    for (double x : {56.3091, 79.0, 105.4729})
        EXPECT_EQ(RandomnessVerdict(x), "PASSES") << x;
    for (double x : {56.309, 105.473, 0.0, std::nan("")})
        EXPECT_EQ(RandomnessVerdict(x), "FAILS") << x;
    EXPECT_EQ(RandomnessMessage(0.5),
              "Chi-Square statistics indicate that the distribution of drawn numbers\r\n"
              "FAILS the test for randomness at a 95% confidence level.\r\n\r\n"
              "Chi-Square = .50");
}

TEST(ChiSquarePValue, IsTwoSidedAndBelowFivePercentExactlyWhereTheVerdictFails)
{
    // Known points of chi-square with 79 degrees of freedom: the 5 % point, the 2.5 % points that
    // are the bounds, the median close to df (1 - 2 / (9 df))^3, and far in the lower tail
    // e^-x x^a / Gamma(a + 1) to leading order (a = 39.5, x = 0.5), computed directly, not as 1 - Q.
    EXPECT_NEAR(ChiSquareUpperTail(100.749), 0.05, 2e-5);
    EXPECT_NEAR(ChiSquarePValue(kRandomnessLowerBound), 0.05, 4e-5);
    EXPECT_NEAR(ChiSquarePValue(kRandomnessUpperBound), 0.05, 4e-5);
    EXPECT_NEAR(ChiSquarePValue(79 * std::pow(1 - 2.0 / (9 * 79), 3)), 1.0, 2e-3);
    EXPECT_NEAR(ChiSquareLowerTail(1.0) / std::exp(-0.5 + 39.5 * std::log(0.5) - std::lgamma(40.5)), 1.0,
                0.02);
    EXPECT_NEAR(ChiSquareUpperTail(3, 1), std::erfc(std::sqrt(1.5)), 1e-12); // one degree of freedom
    // At every hundredth from 0.01 to 300 (no hundredth lies between a bound and its exact point).
    for (int i = 1; i <= 30000; ++i)
        ASSERT_EQ(ChiSquarePValue(i / 100.0) < 0.05, !RandomnessPasses(i / 100.0)) << i / 100.0;
    for (double x : {0.0, std::numeric_limits<double>::infinity()})
        EXPECT_EQ(ChiSquarePValue(x), 0) << x;
    EXPECT_TRUE(std::isnan(ChiSquarePValue(std::nan(""))));
}

TEST(RunRandomnessTest, TheStatisticOfTheProgramsDrawFollowsChiSquareWithSeventyNineDegrees)
{
    // Over 400 tests the statistic averages 79 (its spread is sqrt(2 x 79) per test) and about
    // one test in twenty fails; both within four standard errors. Each verdict fails exactly
    // when its p-value is below 0.05.
    constexpr int kTests = 400;
    double sum = 0;
    int failures = 0;
    for (int t = 0; t < kTests; ++t) {
        const RandomnessOutcome outcome =
            RunRandomnessTest(1000, 7000 + static_cast<std::uint64_t>(t), {}, nullptr, 1);
        sum += outcome.statistic;
        failures += RandomnessPasses(outcome.statistic) ? 0 : 1;
        EXPECT_EQ(outcome.pValue < 0.05, !RandomnessPasses(outcome.statistic))
            << outcome.statistic << " " << outcome.pValue;
    }
    EXPECT_NEAR(sum / kTests, 79.0, 4 * std::sqrt(2 * 79.0 / kTests));
    EXPECT_NEAR(failures, 0.05 * kTests, 4 * std::sqrt(kTests * 0.05 * 0.95));
}

TEST(RunRandomnessTest, ABiasedDeckFails)
{
    // A deck that puts the number 80 among the drawn twenty in one more game of ten than chance.
    constexpr std::int32_t kGames = 20000;
    DrawDeck deck = OrderedDeck();
    KenoRandom random(20240611);
    RandomnessTest biased(kGames);
    while (!biased.finished()) {
        ShuffleDeck(deck, random);
        const auto at = std::find(deck.begin() + 1, deck.end(), 80);
        if (at - deck.begin() > 20 && random.uniform() < 0.1f)
            std::swap(*at, deck[20]);
        biased.countDraw(deck);
    }
    EXPECT_GT(biased.deviation(80), 1000);
    EXPECT_LT(ChiSquarePValue(biased.statistic()), 1e-10);
}

TEST(RunRandomnessTest, TheStopFlagEndsTheRunAtTheEndOfAChunkWithTheSameCountsOnAnyThreads)
{
    std::optional<RandomnessDeviations> first;
    for (int threads : {1, 2}) {
        std::atomic<bool> stop = false;
        const RandomnessOutcome outcome = RunRandomnessTest(
            3 * kRandomnessChunkGames, 1,
            [&](const RandomnessTest& test) { stop = test.gamesPlayed() == 2 * kRandomnessChunkGames; },
            &stop, threads);
        EXPECT_TRUE(outcome.stopped);
        EXPECT_EQ(outcome.gamesPlayed, 2 * kRandomnessChunkGames);
        EXPECT_EQ(std::accumulate(outcome.deviations.begin(), outcome.deviations.end(), std::int64_t{0}),
                  -20 * kRandomnessChunkGames); // still against the full expectation
        EXPECT_EQ(outcome.deviations, first.value_or(outcome.deviations)) << threads << " threads";
        first = outcome.deviations;
    }
}
