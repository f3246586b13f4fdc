// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// A card set: several cards played on one draw of one game, the same bet on every card, each
// card paid by the game's pay table for its own marked count and catch. Multi-card machines
// play up to twenty cards; a way ticket combines groups of numbers into many cards (up to 500
// ways) and is built here into the cards it stands for.

#include <cstdint>
#include <string>
#include <vector>

namespace tallyhawk {

constexpr int kMaxCards = 20; // cards a multi-card play holds, at most
constexpr int kMaxWays = 500; // ways a way ticket plays, at most

using Card = std::vector<int>; // its marked numbers, ascending

struct CardSet
{
    std::vector<Card> cards;
    int bet = 1;            // credits on each card
    bool wayTicket = false; // built from a way ticket: up to kMaxWays cards instead of kMaxCards

    // What one play costs: every card at the bet.
    std::int64_t cost() const { return static_cast<std::int64_t>(cards.size()) * bet; }
};

// Why the set cannot be played, or an empty text: no card or too many (20; 500 ways), a card of
// no numbers or of more than 10, a number outside 1 to 80 or twice on a card, a bet outside 1 to
// 45. Cards may share numbers.
[[nodiscard]] std::string CardSetError(const CardSet& set);

// A way ticket: disjoint groups of numbers, and the way sizes it plays, in numbers. Every union of
// whole groups whose size is one of the way sizes is a card.
struct WayTicket
{
    std::vector<std::vector<int>> groups;
    std::vector<int> spots;
};

struct WayCards
{
    std::string error; // why the ticket cannot be built; empty when it can
    std::vector<Card> cards;
};

// The cards of a way ticket: for each way size in the order given, the unions of whole groups of
// that size, groups taken in their order (1,2 / 3,4 / 5,6 with sizes 2,4,6 give 7 cards).
// Refused: no group, an empty group, a number outside 1 to 80, a number in two groups (or twice
// in one), a way size outside 1 to 10 or given twice, a size no union of groups makes, more than
// 500 ways.
[[nodiscard]] WayCards BuildWayCards(const WayTicket& ticket);

} // namespace tallyhawk
