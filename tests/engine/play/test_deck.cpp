// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "engine/play/deck.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace tallyhawk;

TEST(Deck, DrawsAreUniformAndIndependentOfTheDrawBefore)
{
    // Each number is drawn with probability 1/4; consecutive independent draws share a hypergeometric
    // number of balls, mean 20 x 20 / 80 = 5, variance 20 x (1/4) x (3/4) x (60/79) (a pass that swaps
    // every entry with one drawn from all 80 carries one draw into the next: its mean lies far outside).
    const long draws = 100000;
    KenoRandom random(20261206);
    DrawDeck deck = OrderedDeck();
    std::array<long, 81> frequency{};
    std::array<bool, 81> previous{};
    long overlap = 0;
    for (long d = 0; d < draws; ++d) {
        ShuffleDeck(deck, random);
        std::array<bool, 81> drawn{};
        for (int i = 1; i <= 20; ++i) {
            drawn[deck[i]] = true;
            ++frequency[deck[i]];
            overlap += previous[deck[i]];
        }
        previous = drawn;
    }
    for (int n = 1; n <= 80; ++n)
        EXPECT_NEAR(frequency[n], draws * 0.25, 4.5 * std::sqrt(draws * 0.25 * 0.75)) << "number " << n;
    EXPECT_NEAR(static_cast<double>(overlap) / (draws - 1), 5.0,
                4 * std::sqrt(20.0 * 0.25 * 0.75 * 60.0 / 79.0 / (draws - 1)));
    std::sort(deck.begin() + 1, deck.end());
    EXPECT_EQ(deck, OrderedDeck()); // still a permutation
}

TEST(Deck, GoldenQuickPickOfAFixedSeed)
{
    // A quick pick of ten deals the board's first ten balls of the same seed and deck. Any change
    // to what a stored seed draws shows here.
    KenoRandom random(2024);
    EXPECT_EQ(QuickPickNumbers(10, random), (std::vector<int>{47, 14, 35, 1, 28, 77, 80, 34, 73, 9}));
    EXPECT_EQ(QuickPickNumbers(3, random), (std::vector<int>{71, 31, 55}));
}
