// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers
// The tests of a draw history against generated histories: fair draws fail each test about 5% of
// the time, a number drawn 10% too often is found as often as the power figure says, and draws
// that avoid or repeat the last draw's numbers are found. Every run is seeded; each rate is checked
// within three standard errors of the rate expected.

#include "engine/common/kenorandom.h"
#include "engine/randomness/drawtests.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numeric>
#include <vector>

using namespace tallyhawk;

namespace {

// 20 numbers drawn uniformly from `pool`, after `forced` when it is not 0.
KenoDraw drawFrom(std::vector<int> pool, KenoRandom& random, int forced = 0)
{
    KenoDraw draw{};
    std::size_t taken = 0;
    if (forced != 0) {
        draw[taken++] = static_cast<std::uint8_t>(forced);
        std::erase(pool, forced);
    }
    for (std::size_t i = 0; taken < draw.size(); ++i) {
        const std::size_t j = i + random.below(static_cast<std::uint32_t>(pool.size() - i));
        std::swap(pool[i], pool[j]);
        draw[taken++] = static_cast<std::uint8_t>(pool[i]);
    }
    return draw;
}

std::vector<int> allNumbers()
{
    std::vector<int> pool(80);
    std::iota(pool.begin(), pool.end(), 1);
    return pool;
}

// Within three standard errors of the rate `p` over `trials` trials.
void expectRate(int hits, int trials, double p, const char* what)
{
    const double tolerance = 3 * std::sqrt(p * (1 - p) / trials);
    EXPECT_NEAR(static_cast<double>(hits) / trials, p, tolerance) << what;
}

} // namespace

TEST(DrawTests, PairIndexNumbersThe3160PairsInOrder)
{
    EXPECT_EQ(PairIndex(1, 2), 0);
    EXPECT_EQ(PairIndex(1, 80), 78);
    EXPECT_EQ(PairIndex(2, 3), 79);
    EXPECT_EQ(PairIndex(79, 80), 3159);
}

TEST(DrawTests, DrawsThatCycleThroughTheBoardAreTooEvenAndNeverRepeat)
{
    // 1-20, 21-40, 41-60, 61-80, 25 times over: every number comes exactly 25 times (a chi-square
    // of 0, which a fair draw gives almost never), each pair of a block 25 times and of two blocks
    // never, and a number comes back exactly after 3 draws missing.
    DrawTestBattery battery;
    for (int round = 0; round < 25; ++round)
        for (int block = 0; block < 4; ++block) {
            KenoDraw draw;
            for (int i = 0; i < 20; ++i)
                draw[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(20 * block + i + 1);
            ASSERT_TRUE(battery.addDraw(draw));
        }
    const DrawTestResults results = battery.results();
    EXPECT_EQ(results.draws, 100);
    EXPECT_EQ(results.counts.expected, 25);
    EXPECT_EQ(results.counts.figure.statistic, 0);
    EXPECT_EQ(results.counts.figure.verdict, DrawVerdict::PatternFound);
    EXPECT_EQ(results.pairs.counts[PairIndex(1, 20)], 25);
    EXPECT_EQ(results.pairs.counts[PairIndex(20, 21)], 0);
    EXPECT_EQ(results.pairs.figure.verdict, DrawVerdict::PatternFound);
    // 99 draws after the first hold 20 numbers drawn the draw before, none of which comes again.
    EXPECT_EQ(results.absences.repeats.chances, 99 * 20);
    EXPECT_EQ(results.absences.repeats.hits, 0);
    EXPECT_EQ(results.absences.repeatsFigure.verdict, DrawVerdict::PatternFound);
    EXPECT_EQ(results.absences.fillingIn[2].rate, 1); // missing 3 draws: always back
    EXPECT_EQ(results.absences.fillingIn[0].rate, 0);
    EXPECT_EQ(results.absences.fillingInFigure.verdict, DrawVerdict::PatternFound);
    EXPECT_EQ(results.absences.fillingInFigure.degreesOfFreedom, 3); // absences 1 to 3 were seen
}

TEST(DrawTests, TooFewDrawsAreNotJudged)
{
    DrawTestResults results;
    ASSERT_TRUE(RunGeneratorDrawTests(1, 19, {}, &results));
    EXPECT_EQ(results.counts.figure.verdict, DrawVerdict::TooFewDraws);
    EXPECT_EQ(results.pairs.figure.verdict, DrawVerdict::TooFewDraws);
    EXPECT_EQ(results.hot.figure.verdict, DrawVerdict::TooFewDraws);
    // 18 draws after the first offer 360 chances of a repeat, enough to judge.
    EXPECT_NE(results.absences.repeatsFigure.verdict, DrawVerdict::TooFewDraws);
}

TEST(DrawTests, FairDrawsFailEachTestAboutOneTimeInTwenty)
{
    // The program's own draw, 300 histories of 2,000 draws. Besides the rate of failures, the mean
    // of each chi-square is its degrees of freedom, within three standard errors sqrt(2 df / runs).
    constexpr int kRuns = 300;
    constexpr std::int64_t kDraws = 2000;
    int counts = 0, pairs = 0, repeats = 0, fillingIn = 0, hot = 0;
    double pairSum = 0, fillingInSum = 0, fillingInFreedom = 0;
    for (int run = 0; run < kRuns; ++run) {
        DrawTestResults results;
        ASSERT_TRUE(RunGeneratorDrawTests(7000 + static_cast<std::uint64_t>(run), kDraws, {}, &results));
        counts += results.counts.figure.verdict == DrawVerdict::PatternFound;
        pairs += results.pairs.figure.verdict == DrawVerdict::PatternFound;
        repeats += results.absences.repeatsFigure.verdict == DrawVerdict::PatternFound;
        fillingIn += results.absences.fillingInFigure.verdict == DrawVerdict::PatternFound;
        hot += results.hot.figure.verdict == DrawVerdict::PatternFound;
        pairSum += results.pairs.figure.statistic;
        fillingInSum += results.absences.fillingInFigure.statistic;
        fillingInFreedom = results.absences.fillingInFigure.degreesOfFreedom;
    }
    expectRate(counts, kRuns, 0.05, "counts");
    expectRate(pairs, kRuns, 0.05, "pairs");
    expectRate(repeats, kRuns, 0.05, "repeats");
    expectRate(fillingIn, kRuns, 0.05, "filling in");
    expectRate(hot, kRuns, 0.05, "hot numbers");
    EXPECT_NEAR(pairSum / kRuns, 3080, 3 * std::sqrt(2 * 3080.0 / kRuns));
    EXPECT_EQ(fillingInFreedom, 20); // 2,000 draws see every absence often enough
    EXPECT_NEAR(fillingInSum / kRuns, 20, 3 * std::sqrt(2 * 20.0 / kRuns));
}

TEST(DrawTests, ANumberDrawnTenPercentTooOftenIsFoundAsOftenAsThePowerFigureSays)
{
    // Number 1 is forced into a draw 1 time in 30 and otherwise drawn fairly: it comes with the
    // chance 1/30 + (29/30) / 4 = 0.275, 10% more than 0.25, the others equally less often.
    constexpr int kRuns = 200;
    for (const std::int64_t draws : {DrawsNeededForBias(0.10), DrawsNeededForBias(0.10) / 3}) {
        const double power = CountsTestPower(0.10, draws);
        int found = 0;
        for (int run = 0; run < kRuns; ++run) {
            KenoRandom random(900 + static_cast<std::uint64_t>(run));
            std::array<std::int64_t, 80> counts{};
            for (std::int64_t d = 0; d < draws; ++d)
                for (std::uint8_t n : drawFrom(allNumbers(), random, random.below(30) == 0 ? 1 : 0))
                    ++counts[n - 1u];
            found += TestNumberCounts(counts, draws).figure.verdict == DrawVerdict::PatternFound;
        }
        expectRate(found, kRuns, power, "counts test of a biased number");
    }
    EXPECT_NEAR(CountsTestPower(0.10, DrawsNeededForBias(0.10)), kDrawTestPower, 0.001);
    EXPECT_NEAR(SmallestDetectableBias(DrawsNeededForBias(0.10)), 0.10, 0.0001);
}

TEST(DrawTests, DrawsThatAvoidTheLastDrawsNumbersAreFoundByTheRepeatsTest)
{
    // Half the draws come from the 60 numbers the draw before left out: a repeat comes 1 time in 8.
    KenoRandom random(31);
    DrawTestBattery battery;
    KenoDraw last = drawFrom(allNumbers(), random);
    ASSERT_TRUE(battery.addDraw(last));
    for (int d = 1; d < 300; ++d) {
        std::vector<int> pool = allNumbers();
        if (random.below(2) == 0)
            for (std::uint8_t n : last)
                std::erase(pool, n);
        last = drawFrom(pool, random);
        ASSERT_TRUE(battery.addDraw(last));
    }
    const DrawTestResults results = battery.results();
    EXPECT_EQ(results.absences.repeatsFigure.verdict, DrawVerdict::PatternFound);
    EXPECT_NEAR(results.absences.repeats.rate, 0.125, 0.03);
    EXPECT_LT(results.absences.repeats.high, 0.25);
    EXPECT_NE(DrawTestsSummary(results).find("repeats"), std::string::npos);
}

TEST(DrawTests, DrawsThatComeBackAreFoundByTheHotNumbersTest)
{
    // One draw in five is the draw before again: the numbers drawn most lately come more often.
    KenoRandom random(47);
    DrawTestBattery battery({20, 10});
    KenoDraw last = drawFrom(allNumbers(), random);
    for (int d = 0; d < 2000; ++d) {
        if (random.below(5) != 0)
            last = drawFrom(allNumbers(), random);
        ASSERT_TRUE(battery.addDraw(last));
    }
    const DrawTestResults results = battery.results();
    EXPECT_EQ(results.hot.figure.verdict, DrawVerdict::PatternFound);
    EXPECT_GT(results.hot.figure.statistic, 0);
    EXPECT_GT(results.hot.hotRate, results.hot.otherRate);
    EXPECT_EQ(results.hot.draws, 2000 - 20);
}

TEST(DrawTests, TheProgramsOwnDrawIsRepeatedByItsSeed)
{
    DrawTestResults first, again, other;
    ASSERT_TRUE(RunGeneratorDrawTests(2024, 5000, {}, &first));
    ASSERT_TRUE(RunGeneratorDrawTests(2024, 5000, {}, &again));
    ASSERT_TRUE(RunGeneratorDrawTests(2025, 5000, {}, &other));
    EXPECT_EQ(first.counts.counts, again.counts.counts);
    EXPECT_EQ(first.pairs.counts, again.pairs.counts);
    EXPECT_NE(first.counts.counts, other.counts.counts);
    EXPECT_EQ(std::accumulate(first.counts.counts.begin(), first.counts.counts.end(), std::int64_t{0}),
              20 * 5000);
}

TEST(DrawTests, AStopFlagEndsARunWithoutResults)
{
    std::atomic<bool> stop{false};
    std::vector<std::int64_t> reported;
    DrawTestResults results;
    EXPECT_FALSE(RunGeneratorDrawTests(
        3, 50'000, {}, &results,
        [&](std::int64_t tested) {
            reported.push_back(tested);
            stop = tested >= 20'000;
        },
        &stop));
    EXPECT_EQ(reported, (std::vector<std::int64_t>{10'000, 20'000}));
    EXPECT_EQ(results.draws, 0);
}

TEST(DrawTests, HotNumbersAreTheMostDrawnInTheWindowTheLowerFirstAmongEquals)
{
    // A window of one draw: its 20 numbers tie, so the 10 hot ones are its 10 lowest.
    const auto run = [](int first) {
        KenoDraw draw;
        for (int i = 0; i < 20; ++i)
            draw[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(first + i);
        return draw;
    };
    DrawTestBattery battery({1, 10});
    ASSERT_TRUE(battery.addDraw(run(1)));  // hot next: 1 to 10
    ASSERT_TRUE(battery.addDraw(run(11))); // none of them; hot next: 11 to 20
    ASSERT_TRUE(battery.addDraw(run(1)));  // all ten of them
    const HotNumbersTest hot = battery.results().hot;
    EXPECT_EQ(hot.draws, 2);
    EXPECT_EQ(hot.hotHits, 10);
    EXPECT_DOUBLE_EQ(hot.hotRate, 0.5);            // 10 of 2 x 10
    EXPECT_DOUBLE_EQ(hot.otherRate, 30.0 / 140.0); // the other 30 of 2 x 70
}

TEST(DrawTests, ADrawThatIsNotTwentyDifferentNumbersFromOneTo80IsNotCounted)
{
    KenoDraw draw;
    for (int i = 0; i < 20; ++i)
        draw[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(61 + i);
    DrawTestBattery battery;
    ASSERT_TRUE(battery.addDraw(draw));
    for (const std::uint8_t wrong : {0, 81, 255, 62}) { // 62 twice
        KenoDraw bad = draw;
        bad[0] = wrong;
        EXPECT_FALSE(battery.addDraw(bad)) << int{wrong};
    }
    EXPECT_EQ(battery.draws(), 1);
    EXPECT_EQ(battery.results().counts.counts[60], 1); // 61 counted once
    DrawTestResults results;
    const std::vector<KenoDraw> history{draw, KenoDraw{}};
    EXPECT_FALSE(RunDrawTests(history, {}, &results));
    EXPECT_EQ(results.draws, 0);
}
