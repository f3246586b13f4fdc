// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The draw deck and the random picks of the board.

#include "engine/common/gameconstants.h"
#include "engine/common/kenorandom.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace tallyhawk {

// Entries 1 to 80 hold a permutation of 1 to 80; entry 0 is unused so entries keep their numbers.
using DrawDeck = std::array<std::int32_t, kBoardNumbers + 1>;

DrawDeck OrderedDeck();

// The board's draw: a uniform shuffle in place, as far as position `count`. Positions 1 to
// `count` in turn take the entry of a position drawn uniformly from themselves to 80 (the steps
// of a Fisher-Yates shuffle), so entries 1 to `count` are a uniformly drawn ordered selection
// whatever order the deck had, and every draw is independent of the one before. (A pass that
// swaps every entry with one drawn from all 80 favours some orders and carries the previous
// draw into the next.) With `count` 80 every order of the deck is equally likely.
//
// Positions are dealt in groups of four, each group from one output of the generator, so a
// shuffle that stops after a multiple of four positions draws exactly what the whole shuffle
// draws there from the same stream: the board shuffles the whole deck, the randomness test
// stops after the twenty numbers it counts, and both deal the same balls.
template <typename OnDealt> void DealDeck(DrawDeck& deck, KenoRandom& random, int count, OnDealt&& onDealt);
inline void ShuffleDeck(DrawDeck& deck, KenoRandom& random, int count = kBoardNumbers)
{
    DealDeck(deck, random, count, [](int) {});
}

// `count` distinct numbers of 1 to 80, uniformly chosen, in the order drawn.
std::vector<int> QuickPickNumbers(int count, KenoRandom& random);

namespace detail {

// One output x of the generator deals a group of up to four positions: the product of their
// ranges (at most 80 x 79 x 78 x 77, below 2^32) is the bound of a draw by multiplication,
// x * bound / 2^32, whose mixed-radix digits are the group's offsets, one multiplication each.
// Rejecting the outputs whose low word x * bound mod 2^32 falls below 2^32 mod bound makes every
// result, and so every group of offsets, equally likely.
constexpr int kDeckGroup = 4;
struct GroupDraw
{
    std::uint32_t bound = 1;
    std::uint32_t threshold = 0;
};
// By first position of a group (1 to 80) and its length (1 to 4).
inline constexpr auto kGroupDraws = [] {
    std::array<std::array<GroupDraw, kDeckGroup + 1>, 81> draws{};
    for (int first = 1; first <= kBoardNumbers; ++first)
        for (int length = 1; length <= kDeckGroup; ++length) {
            std::uint64_t bound = 1;
            for (int i = first; i < first + length && i <= kBoardNumbers; ++i)
                bound *= static_cast<std::uint64_t>(81 - i);
            draws[first][length] = {static_cast<std::uint32_t>(bound),
                                    static_cast<std::uint32_t>((std::uint64_t{1} << 32) % bound)};
        }
    return draws;
}();

} // namespace detail

// ShuffleDeck, handing each number to `onDealt` as it takes its place, in order. Inline: the
// randomness test draws hundreds of millions of games with it and counts the numbers here.
template <typename OnDealt> void DealDeck(DrawDeck& deck, KenoRandom& random, int count, OnDealt&& onDealt)
{
    count = std::clamp(count, 0, kBoardNumbers);
    for (int first = 1; first <= count; first += detail::kDeckGroup) {
        const int last = std::min(first + detail::kDeckGroup - 1, count);
        const detail::GroupDraw draw = detail::kGroupDraws[first][last - first + 1];
        std::uint32_t x = random.next();
        while (x * draw.bound < draw.threshold) // the low word of the product
            x = random.next();
        for (int i = first; i <= last; ++i) {
            const std::uint64_t product = std::uint64_t{x} * static_cast<std::uint32_t>(81 - i);
            x = static_cast<std::uint32_t>(product);
            const int j = i + static_cast<int>(product >> 32);
            const std::int32_t number = deck[j];
            deck[j] = deck[i];
            deck[i] = number;
            onDealt(number);
        }
    }
}

} // namespace tallyhawk
