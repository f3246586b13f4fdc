#include "engine/sim/randomness.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <numeric>
#include <optional>

using namespace tallyhawk;

namespace {

std::int64_t sumOf(const RandomnessDeviations& deviations)
{
    return std::accumulate(deviations.begin(), deviations.end(), std::int64_t{0});
}

RandomnessOutcome seededRun(std::int32_t games, std::uint64_t seed, int threads = 0)
{
    return RunRandomnessTest(games, seed, {}, nullptr, threads);
}

// Q(a, x) from closed forms that share nothing with the series and the continued fraction:
// for a whole a, e^-x times the first a terms of the exponential series; for a half-integer a,
// erfc(sqrt(x)) plus the terms x^b e^-x / Gamma(b + 1) for b = 1/2, 3/2, ..., a - 1.
double closedFormUpperGamma(double a, double x)
{
    if (a == std::floor(a)) {
        double term = std::exp(-x), sum = 0;
        for (int i = 0; i < static_cast<int>(a); ++i) {
            sum += term;
            term *= x / (i + 1);
        }
        return sum;
    }
    double sum = std::erfc(std::sqrt(x));
    double term = std::sqrt(x) * std::exp(-x) / (std::sqrt(std::numbers::pi) / 2); // b = 1/2
    for (double b = 0.5; b < a - 0.25; b += 1) {
        sum += term;
        term *= x / (b + 1);
    }
    return sum;
}

} // namespace

TEST(RandomnessAnswer, AcceptsAWholeMultipleOfFour)
{
    const RandomnessAnswer answer = ParseRandomnessAnswer("1000");
    EXPECT_EQ(answer.kind, RandomnessAnswerKind::Accepted);
    EXPECT_EQ(answer.games, 1000);
    EXPECT_TRUE(answer.message.empty());
    EXPECT_EQ(ParseRandomnessAnswer(" 1000 ").games, 1000);
    EXPECT_EQ(ParseRandomnessAnswer("4").games, 4);
    EXPECT_EQ(ParseRandomnessAnswer("2147483644").games, 2147483644);
}

TEST(RandomnessAnswer, RoundsToTheNearestWholeNumberBeforeDividing)
{
    EXPECT_EQ(ParseRandomnessAnswer("1000.4").games, 1000);
    EXPECT_EQ(ParseRandomnessAnswer("999.5").games, 1000); // halves go to the even neighbour
    EXPECT_EQ(ParseRandomnessAnswer("1001.5").kind, RandomnessAnswerKind::NotDivisible);
    EXPECT_EQ(ParseRandomnessAnswer("1e3").games, 1000);
}

TEST(RandomnessAnswer, RefusesANumberThatFourDoesNotDivide)
{
    const RandomnessAnswer answer = ParseRandomnessAnswer("1002");
    EXPECT_EQ(answer.kind, RandomnessAnswerKind::NotDivisible);
    EXPECT_EQ(answer.message, "Enter a number that is exactly divisible by 4!");
    EXPECT_EQ(ParseRandomnessAnswer("-3").kind, RandomnessAnswerKind::NotDivisible);
}

TEST(RandomnessAnswer, RefusesLettersAndNumbersBeyondThirtyTwoBits)
{
    for (const char* text : {"abc", "12abc", "1,000", "nan", "3000000000", "2147483648"}) {
        const RandomnessAnswer answer = ParseRandomnessAnswer(text);
        EXPECT_EQ(answer.kind, RandomnessAnswerKind::NotDivisible) << text;
        EXPECT_EQ(answer.message, kRandomnessNotDivisibleMessage) << text;
    }
}

TEST(RandomnessAnswer, RefusesZeroAndNegativeAnswersWithTheirOwnMessage)
{
    for (const char* text : {"0", "-4", "-1000", "0.4"}) {
        const RandomnessAnswer answer = ParseRandomnessAnswer(text);
        EXPECT_EQ(answer.kind, RandomnessAnswerKind::NotPositive) << text;
        EXPECT_EQ(answer.message, kRandomnessNotPositiveMessage) << text;
        EXPECT_NE(answer.message, kRandomnessNotDivisibleMessage);
    }
}

TEST(RandomnessAnswer, AnEmptyOrBlankAnswerCancels)
{
    for (const char* text : {"", "   ", " \t "}) {
        const RandomnessAnswer answer = ParseRandomnessAnswer(text);
        EXPECT_EQ(answer.kind, RandomnessAnswerKind::Cancelled) << '"' << text << '"';
        EXPECT_TRUE(answer.message.empty());
    }
}

TEST(RandomnessTest, DeviationsStartAtMinusTheExpectedCount)
{
    const RandomnessTest test(1000);
    EXPECT_EQ(test.expectedCount(), 250);
    for (std::int64_t v : test.deviations())
        EXPECT_EQ(v, -250);
    EXPECT_EQ(test.gamesPlayed(), 0);
    EXPECT_FALSE(test.finished());
}

TEST(RandomnessTest, AThousandGamesGiveDeviationsThatSumToZero)
{
    DrawDeck deck = OrderedDeck();
    KenoRandom random(12345);
    RandomnessTest test(1000);
    while (!test.finished())
        test.playGame(deck, random);
    EXPECT_EQ(test.gamesPlayed(), 1000);
    EXPECT_EQ(sumOf(test.deviations()), 0); // 20,000 numbers drawn, 20,000 expected
    for (std::int64_t v : test.deviations()) {
        EXPECT_GE(v, -250);
        EXPECT_LE(v, 750);
    }
    // The shared deck is still a permutation of 1 to 80.
    std::vector<int> numbers(deck.begin() + 1, deck.end());
    std::sort(numbers.begin(), numbers.end());
    for (int n = 1; n <= 80; ++n)
        EXPECT_EQ(numbers[static_cast<std::size_t>(n - 1)], n);
}

TEST(RandomnessTest, AGameIsTheBoardsDrawAsFarAsTheTwentyNumbersItCounts)
{
    DrawDeck deck = OrderedDeck();
    KenoRandom random(99);
    RandomnessTest test(4);
    test.playGame(deck, random);

    // The board shuffles the whole deck; its first twenty balls are the twenty counted here.
    DrawDeck board = OrderedDeck();
    KenoRandom same(99);
    ShuffleDeck(board, same);
    for (int k = 1; k <= 80; ++k) {
        const int n = board[static_cast<std::size_t>(k)];
        EXPECT_EQ(test.deviation(n), k <= 20 ? 0 : -1) << n;
        if (k <= 20) {
            EXPECT_EQ(deck[static_cast<std::size_t>(k)], n);
        }
    }
}

TEST(RandomnessTest, GoldenDrawsOfAFixedSeed)
{
    // The first chunk of a test seeded 2024 starts from an ordered deck on the chunk's stream.
    // Any change to what a stored seed draws shows here.
    KenoRandom random(ChunkGenerator(2024, 0));
    DrawDeck deck = OrderedDeck();
    RandomnessTest test(8);
    test.playGame(deck, random);
    const std::vector<int> first(deck.begin() + 1, deck.begin() + 21);
    EXPECT_EQ(first, (std::vector<int>{38, 62, 34, 12, 13, 39, 40, 55, 30, 23,
                                       33, 11, 10, 20, 60, 16, 79, 77, 15, 14}));
    while (!test.finished())
        test.playGame(deck, random);
    // The run counts exactly these games, on any number of threads.
    for (int threads : {1, 2})
        EXPECT_EQ(seededRun(8, 2024, threads).deviations, test.deviations()) << threads << " threads";
}

TEST(RunRandomnessTest, TheSameSeedGivesTheSameCountsOnOneOrTwoThreads)
{
    constexpr std::int32_t kGames = 2 * kRandomnessChunkGames + 1000; // three chunks, the last short
    const RandomnessOutcome one = seededRun(kGames, 77, 1);
    const RandomnessOutcome two = seededRun(kGames, 77, 2);
    EXPECT_EQ(one.deviations, two.deviations);
    EXPECT_EQ(one.statistic, two.statistic);
    EXPECT_EQ(sumOf(one.deviations), 0);
    EXPECT_NE(seededRun(kGames, 78, 2).deviations, one.deviations);
}

TEST(RandomnessTest, TheStatisticWeighsEachSquaredDeviationByTheExpectedCount)
{
    RandomnessDeviations deviations{};
    deviations[0] = 10;
    deviations[79] = -10;
    // 4 x 100 / 1000 twice, times 79 / 60.
    EXPECT_DOUBLE_EQ(RandomnessStatistic(deviations, 1000), 79.0 / 60.0 * 0.8);
    std::array<double, 80> stored{};
    stored[0] = 10;
    stored[79] = -10;
    EXPECT_DOUBLE_EQ(RandomnessStatistic(stored, 1000), RandomnessStatistic(deviations, 1000));
    EXPECT_EQ(RandomnessStatistic(deviations, 0), 0);
}

TEST(RandomnessVerdict, BothBoundsFail)
{
    EXPECT_EQ(RandomnessVerdict(56.309), "FAILS");
    EXPECT_EQ(RandomnessVerdict(105.473), "FAILS");
    EXPECT_EQ(RandomnessVerdict(56.3091), "PASSES");
    EXPECT_EQ(RandomnessVerdict(105.4729), "PASSES");
    EXPECT_EQ(RandomnessVerdict(79), "PASSES");
    EXPECT_EQ(RandomnessVerdict(0), "FAILS");
    EXPECT_EQ(RandomnessVerdict(-4), "FAILS");
    EXPECT_EQ(RandomnessVerdict(std::nan("")), "FAILS");
}

TEST(RandomnessMessage, GivesTheVerdictAndTheStatisticInTheTwoDecimalPattern)
{
    EXPECT_EQ(RandomnessMessage(98.7),
              "Chi-Square statistics indicate that the distribution of drawn numbers\r\n"
              "PASSES the test for randomness at a 95% confidence level.\r\n\r\n"
              "Chi-Square = 98.70");
    EXPECT_EQ(RandomnessMessage(0.5),
              "Chi-Square statistics indicate that the distribution of drawn numbers\r\n"
              "FAILS the test for randomness at a 95% confidence level.\r\n\r\n"
              "Chi-Square = .50");
    EXPECT_NE(RandomnessMessage(105.473).find("\r\nFAILS the test"), std::string::npos);
}

TEST(ChiSquareTails, MatchTheClosedFormsToTenDecimals)
{
    for (double df : {1.0, 2.0, 3.0, 10.0, 78.0, 79.0, 80.0, 159.0})
        for (double x :
             {0.01, 0.5, 1.0, 10.0, 40.0, 56.309, 78.0, 79.0, 80.0, 100.749, 105.473, 150.0, 300.0}) {
            const double upper = closedFormUpperGamma(df / 2, x / 2);
            const double got = ChiSquareUpperTail(x, df);
            EXPECT_NEAR(got, upper, 1e-10) << "df " << df << " x " << x;
            if (upper > 1e-300) {
                EXPECT_NEAR(got / upper, 1.0, 1e-9) << "df " << df << " x " << x;
            }
            EXPECT_NEAR(ChiSquareLowerTail(x, df), 1 - upper, 1e-10) << "df " << df << " x " << x;
        }
    // Far in the lower tail P is computed directly, not as 1 - Q: e^-x x^a / Gamma(a + 1) to
    // leading order, here with a = 39.5 and x = 0.5.
    const double leading = std::exp(-0.5 + 39.5 * std::log(0.5) - std::lgamma(40.5));
    EXPECT_NEAR(ChiSquareLowerTail(1.0) / leading, 1.0, 0.02);
}

TEST(ChiSquareTails, GiveTheKnownPercentagePointsOfSeventyNineDegreesOfFreedom)
{
    EXPECT_NEAR(ChiSquareUpperTail(100.749), 0.05, 2e-5);
    EXPECT_NEAR(ChiSquareUpperTail(kRandomnessUpperBound), 0.025, 2e-5);
    EXPECT_NEAR(ChiSquareLowerTail(kRandomnessLowerBound), 0.025, 2e-5);
    // The median of chi-square lies close to df (1 - 2 / (9 df))^3.
    EXPECT_NEAR(ChiSquareUpperTail(79 * std::pow(1 - 2.0 / (9 * 79), 3)), 0.5, 1e-3);
}

TEST(ChiSquarePValue, IsTwoSidedAndBelowFivePercentExactlyWhereTheVerdictFails)
{
    EXPECT_NEAR(ChiSquarePValue(kRandomnessLowerBound), 0.05, 4e-5);
    EXPECT_NEAR(ChiSquarePValue(kRandomnessUpperBound), 0.05, 4e-5);
    EXPECT_NEAR(ChiSquarePValue(79 * std::pow(1 - 2.0 / (9 * 79), 3)), 1.0, 2e-3);
    EXPECT_DOUBLE_EQ(ChiSquarePValue(40), 2 * ChiSquareLowerTail(40));
    EXPECT_DOUBLE_EQ(ChiSquarePValue(120), 2 * ChiSquareUpperTail(120));
    // Every hundredth from 0.01 to 300 (the bounds are the 2.5% points to three decimals; no
    // hundredth lies between a bound and its exact point).
    for (int i = 1; i <= 30000; ++i) {
        const double x = i / 100.0;
        ASSERT_EQ(ChiSquarePValue(x) < 0.05, !RandomnessPasses(x)) << x;
    }
}

TEST(ChiSquarePValue, EdgesOfTheRange)
{
    EXPECT_EQ(ChiSquarePValue(0), 0);
    EXPECT_EQ(ChiSquarePValue(-5), 0);
    EXPECT_EQ(ChiSquarePValue(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(ChiSquarePValue(1e6), 0);
    EXPECT_TRUE(std::isnan(ChiSquarePValue(std::nan(""))));
    EXPECT_TRUE(std::isnan(RegularizedUpperGamma(0, 1)));
    EXPECT_TRUE(std::isnan(RegularizedLowerGamma(-1, 1)));
    EXPECT_NEAR(RegularizedUpperGamma(1, 2), std::exp(-2.0), 1e-15);
    EXPECT_NEAR(RegularizedLowerGamma(1, 2), 1 - std::exp(-2.0), 1e-15);
}

TEST(RunRandomnessTest, ASeededRunOfAHundredThousandGamesPasses)
{
    const RandomnessOutcome outcome = seededRun(100000, 20240611);
    EXPECT_FALSE(outcome.stopped);
    EXPECT_EQ(outcome.gamesPlayed, 100000);
    EXPECT_EQ(sumOf(outcome.deviations), 0);
    EXPECT_EQ(RandomnessVerdict(outcome.statistic), "PASSES") << outcome.statistic;
    EXPECT_GE(outcome.pValue, 0.05);
    EXPECT_DOUBLE_EQ(outcome.pValue, ChiSquarePValue(outcome.statistic));
    EXPECT_DOUBLE_EQ(outcome.statistic, RandomnessStatistic(outcome.deviations, 100000));
    // The seed decides everything.
    EXPECT_EQ(seededRun(100000, 20240611).deviations, outcome.deviations);
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
        const RandomnessOutcome outcome = seededRun(1000, 7000 + static_cast<std::uint64_t>(t), 1);
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
    constexpr std::int32_t kGames = 100000;
    DrawDeck deck = OrderedDeck();
    KenoRandom random(20240611);
    RandomnessTest test(kGames);
    while (!test.finished()) {
        ShuffleDeck(deck, random);
        const auto at = std::find(deck.begin() + 1, deck.end(), 80);
        if (at - deck.begin() > 20 && random.uniform() < 0.1f)
            std::swap(*at, deck[20]);
        test.countDraw(deck);
    }
    EXPECT_EQ(sumOf(test.deviations()), 0);
    EXPECT_GT(test.deviation(80), 5000);
    EXPECT_EQ(RandomnessVerdict(test.statistic()), "FAILS");
    EXPECT_LT(ChiSquarePValue(test.statistic()), 1e-10);
}

TEST(RunRandomnessTest, ADrawTooEvenToBeChanceFails)
{
    // Every number exactly as often as expected: the lower bound catches a draw that is too regular.
    DrawDeck deck = OrderedDeck();
    RandomnessTest test(1000);
    for (int g = 0; g < 1000; ++g) {
        for (int k = 1; k <= 20; ++k)
            deck[static_cast<std::size_t>(k)] = (20 * g + k - 1) % 80 + 1;
        test.countDraw(deck);
    }
    EXPECT_EQ(test.statistic(), 0);
    EXPECT_EQ(RandomnessVerdict(test.statistic()), "FAILS");
}

TEST(RunRandomnessTest, TheStopFlagEndsTheRunAtTheEndOfAChunk)
{
    constexpr std::int32_t kGames = 3 * kRandomnessChunkGames;
    std::optional<RandomnessDeviations> first;
    for (int threads : {1, 2}) {
        std::atomic<bool> stop = false;
        int calls = 0;
        const RandomnessOutcome outcome = RunRandomnessTest(
            kGames, 1,
            [&](const RandomnessTest& test) {
                ++calls;
                EXPECT_EQ(test.gamesPlayed(), calls * kRandomnessChunkGames);
                EXPECT_EQ(sumOf(test.deviations()), 20 * (std::int64_t{test.gamesPlayed()} - kGames));
                if (calls == 2)
                    stop = true;
            },
            &stop, threads);
        EXPECT_TRUE(outcome.stopped);
        EXPECT_EQ(calls, 2);
        EXPECT_EQ(outcome.gamesPlayed, 2 * kRandomnessChunkGames);
        // Still against the full expectation, and the same counts on any number of threads.
        EXPECT_EQ(sumOf(outcome.deviations), 20 * (std::int64_t{2} * kRandomnessChunkGames - kGames));
        EXPECT_EQ(outcome.statistic, 0);
        if (first) {
            EXPECT_EQ(outcome.deviations, *first);
        }
        first = outcome.deviations;
    }
}

TEST(RunRandomnessTest, AStopDuringTheLastChunkStillCountsAsStopped)
{
    std::atomic<bool> stop = false;
    const RandomnessOutcome outcome = RunRandomnessTest(
        8, 1, [&](const RandomnessTest& test) { stop = test.gamesPlayed() == 8; }, &stop);
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(outcome.gamesPlayed, 8);
}
