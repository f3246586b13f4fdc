#include "engine/play/deck.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace tallyhawk;

namespace {

// The pass that swaps every entry with one drawn from all 80: kept here to show that the
// independence check below tells it apart from a sound shuffle.
void biasedShuffle(DrawDeck& deck, KenoRandom& random)
{
    for (int i = 1; i <= 80; ++i)
        std::swap(deck[i], deck[static_cast<int>(80 * random.uniform()) + 1]);
}

struct DrawStatistics
{
    std::array<long, 81> frequency{};
    double meanOverlap = 0;   // numbers shared by consecutive draws
    bool permutation = false; // the deck after the last draw
};

template <typename Shuffle> DrawStatistics drawMany(long draws, Shuffle shuffle)
{
    KenoRandom random(20261206);
    DrawDeck deck = OrderedDeck();
    DrawStatistics stats;
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
    std::sort(deck.begin() + 1, deck.end());
    stats.permutation = deck == OrderedDeck();
    stats.meanOverlap = static_cast<double>(overlapSum) / static_cast<double>(draws - 1);
    return stats;
}

// Consecutive independent draws of 20 from 80 share a hypergeometric number of balls: mean
// 20 x 20 / 80 = 5, variance 20 x (1/4) x (3/4) x (60/79); within four standard errors.
bool overlapLooksIndependent(const DrawStatistics& stats, long draws)
{
    return std::fabs(stats.meanOverlap - 5.0) < 4 * std::sqrt(20.0 * 0.25 * 0.75 * 60.0 / 79.0 / (draws - 1));
}

} // namespace

TEST(Deck, DrawsAreUniformAndIndependentOfTheDrawBeforeAndTheBiasedPassIsNot)
{
    const long draws = 100000;
    const DrawStatistics stats = drawMany(draws, [](DrawDeck& deck, KenoRandom& r) { ShuffleDeck(deck, r); });
    EXPECT_TRUE(stats.permutation);
    // Each number is drawn with probability 1/4 in each draw.
    for (int n = 1; n <= 80; ++n)
        EXPECT_NEAR(stats.frequency[n], draws * 0.25, 4.5 * std::sqrt(draws * 0.25 * 0.75)) << "number " << n;
    EXPECT_TRUE(overlapLooksIndependent(stats, draws)) << stats.meanOverlap;
    const DrawStatistics biased = drawMany(draws, biasedShuffle);
    EXPECT_FALSE(overlapLooksIndependent(biased, draws)) << biased.meanOverlap;
}

TEST(Deck, GoldenQuickPickOfAFixedSeed)
{
    // A quick pick of ten deals the board's first ten balls of the same seed and deck. Any change
    // to what a stored seed draws shows here.
    KenoRandom random(2024);
    EXPECT_EQ(QuickPickNumbers(10, random), (std::vector<int>{47, 14, 35, 1, 28, 77, 80, 34, 73, 9}));
    EXPECT_EQ(QuickPickNumbers(3, random), (std::vector<int>{71, 31, 55}));
    EXPECT_EQ(QuickPickNumbers(0, random), std::vector<int>{});
}
