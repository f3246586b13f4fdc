// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "engine/cards/cardset.h"

#include <gtest/gtest.h>

using namespace tallyhawk;

namespace {

TEST(WayTicket, ThreeGroupsOfTwoMakeSevenWays)
{
    const WayCards built = BuildWayCards({{{1, 2}, {3, 4}, {5, 6}}, {2, 4, 6}});
    ASSERT_EQ(built.error, "");
    const std::vector<Card> expected{
        {1, 2}, {3, 4}, {5, 6}, {1, 2, 3, 4}, {1, 2, 5, 6}, {3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}};
    EXPECT_EQ(built.cards, expected);
}

TEST(WayTicket, EightGroupsOfFourMakeTwentyEightEights)
{
    WayTicket ticket;
    for (int g = 0; g < 8; ++g)
        ticket.groups.push_back({4 * g + 1, 4 * g + 2, 4 * g + 3, 4 * g + 4});
    ticket.spots = {8};
    const WayCards built = BuildWayCards(ticket);
    ASSERT_EQ(built.error, "");
    ASSERT_EQ(built.cards.size(), 28u); // 8 choose 2
    for (const Card& card : built.cards)
        EXPECT_EQ(card.size(), 8u);
}

TEST(WayTicket, RefusesWhatCannotBeBuilt)
{
    std::vector<std::vector<int>> singles;
    for (int n = 1; n <= 40; ++n)
        singles.push_back({n});
    const struct
    {
        WayTicket ticket;
        std::string error;
    } cases[] = {
        {{{}, {2}}, "A way ticket needs at least one group of numbers."},
        {{{{1, 2}, {}}, {2}}, "Group 2 is empty."},
        {{{{1, 81}}, {2}}, "Group 1 holds 81: the numbers run from 1 to 80."},
        {{{{1, 2}, {2, 3}}, {2}}, "Groups 1 and 2 both hold 2: the groups of a way ticket must not overlap."},
        {{{{1, 2}, {3, 4}}, {3}}, "No union of whole groups holds 3 numbers."},
        {{{{1, 2}, {3, 4}}, {11}}, "A way size of 11: a way marks 1 to 10 numbers."},
        {{{{1, 2}, {3, 4}}, {2, 2}}, "The way size 2 is given twice."},
        {{singles, {2}}, "The way ticket plays more than 500 ways."}, // 780 ways
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildWayCards(c.ticket).error, c.error);
}

TEST(CardSet, RefusesBadSets)
{
    const Card ten{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const struct
    {
        CardSet set;
        std::string error;
    } cases[] = {
        {{{}, 1}, "A card set needs at least one card."},
        {{{ten, {}}, 1}, "Card 2 marks 0 numbers: a card marks 1 to 10."},
        {{{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}}, 1}, "Card 1 marks 11 numbers: a card marks 1 to 10."},
        {{{{0, 5}}, 1}, "Card 1 holds 0: the numbers run from 1 to 80."},
        {{{{5, 81}}, 1}, "Card 1 holds 81: the numbers run from 1 to 80."},
        {{{{5, 5}}, 1}, "Card 1 holds 5 twice."},
        {{std::vector<Card>(21, ten), 1}, "A card set holds at most 20 cards, not 21."},
        {{std::vector<Card>(501, ten), 1, true}, "A way ticket plays at most 500 ways, not 501."},
        {{{ten}, 0}, "The bet must be 1 to 45 credits a card."},
        {{{ten}, 46}, "The bet must be 1 to 45 credits a card."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CardSetError(c.set), c.error);
    EXPECT_EQ(CardSetError({std::vector<Card>(20, ten), 45}), "");       // overlaps allowed
    EXPECT_EQ(CardSetError({std::vector<Card>(500, ten), 1, true}), ""); // a way ticket's 500 ways
}

} // namespace
