#include "engine/play/deck.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace tallyhawk;

namespace {

bool isPermutation(const DrawDeck& deck)
{
    std::vector<int> numbers(deck.begin() + 1, deck.end());
    std::sort(numbers.begin(), numbers.end());
    for (int i = 0; i < 80; ++i)
        if (numbers[i] != i + 1)
            return false;
    return true;
}

// The pass that swaps every entry with one drawn from all 80: kept here to show that the
// uniformity checks below tell it apart from a sound shuffle.
void biasedShuffle(DrawDeck& deck, KenoRandom& random)
{
    for (int i = 1; i <= 80; ++i)
        std::swap(deck[i], deck[static_cast<int>(80 * random.uniform()) + 1]);
}

struct DrawStatistics
{
    std::array<long, 81> frequency{};
    double meanOverlap = 0; // numbers shared by consecutive draws
    long draws = 0;
};

template <typename Shuffle> DrawStatistics drawMany(long draws, std::uint64_t seed, Shuffle shuffle)
{
    KenoRandom random(seed);
    DrawDeck deck = OrderedDeck();
    DrawStatistics stats;
    stats.draws = draws;
    std::array<bool, 81> previous{};
    long overlapSum = 0;
    for (long d = 0; d < draws; ++d) {
        shuffle(deck, random);
        std::array<bool, 81> drawn{};
        for (int i = 1; i <= 20; ++i) {
            drawn[deck[i]] = true;
            ++stats.frequency[deck[i]];
            overlapSum += d > 0 && previous[deck[i]];
        }
        previous = drawn;
    }
    stats.meanOverlap = static_cast<double>(overlapSum) / (draws - 1);
    return stats;
}

// Consecutive independent draws of 20 from 80 share a hypergeometric number of balls:
// mean 20 * 20 / 80 = 5, variance 20 * (1/4) * (3/4) * (60/79).
constexpr double kOverlapMean = 5.0;
const double kOverlapVariance = 20.0 * 0.25 * 0.75 * 60.0 / 79.0;

bool overlapLooksIndependent(const DrawStatistics& stats)
{
    const double standardError = std::sqrt(kOverlapVariance / (stats.draws - 1));
    return std::fabs(stats.meanOverlap - kOverlapMean) < 4 * standardError;
}

} // namespace

TEST(Deck, ShuffleAlwaysLeavesAPermutation)
{
    for (std::uint64_t seed = 1; seed <= 200; ++seed) {
        KenoRandom random(seed);
        DrawDeck deck = OrderedDeck();
        for (int game = 0; game < 20; ++game) {
            ShuffleDeck(deck, random);
            ASSERT_TRUE(isPermutation(deck)) << "seed " << seed;
        }
    }
}

TEST(Deck, DrawsAreUniformAndIndependentOfTheDrawBefore)
{
    const long draws = 200000;
    const DrawStatistics stats =
        drawMany(draws, 20261206, [](DrawDeck& deck, KenoRandom& random) { ShuffleDeck(deck, random); });
    // Each number is drawn with probability 1/4 in each draw.
    const double expected = draws * 0.25;
    const double standardError = std::sqrt(draws * 0.25 * 0.75);
    for (int n = 1; n <= 80; ++n)
        EXPECT_NEAR(stats.frequency[n], expected, 4.5 * standardError) << "number " << n;
    EXPECT_TRUE(overlapLooksIndependent(stats)) << stats.meanOverlap;
}

TEST(Deck, TheOverlapCheckCatchesTheBiasedPass)
{
    const DrawStatistics stats = drawMany(200000, 20261206, biasedShuffle);
    EXPECT_FALSE(overlapLooksIndependent(stats)) << stats.meanOverlap;
}

TEST(Deck, QuickPickGivesDistinctNumbersOfTheBoard)
{
    KenoRandom random(7);
    for (int count = 0; count <= 10; ++count) {
        std::vector<int> picks = QuickPickNumbers(count, random);
        ASSERT_EQ(picks.size(), static_cast<std::size_t>(count));
        std::sort(picks.begin(), picks.end());
        EXPECT_EQ(std::adjacent_find(picks.begin(), picks.end()), picks.end());
        for (int n : picks)
            EXPECT_TRUE(n >= 1 && n <= 80);
    }
}

TEST(Deck, GoldenQuickPickOfAFixedSeed)
{
    // Any change to what a stored seed draws shows here.
    KenoRandom random(2024);
    // A quick pick of ten deals the board's first ten balls of the same seed and deck.
    EXPECT_EQ(QuickPickNumbers(10, random), (std::vector<int>{47, 14, 35, 1, 28, 77, 80, 34, 73, 9}));
    EXPECT_EQ(QuickPickNumbers(3, random), (std::vector<int>{71, 31, 55}));
}
