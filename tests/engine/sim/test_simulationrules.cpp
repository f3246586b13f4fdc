// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "engine/sim/simulationrules.h"

#include <gtest/gtest.h>

using namespace tallyhawk;

namespace {

// A five-spot: catches 3, 4 and 5 pay 1, 4 and 20 credits.
constexpr SimulationPays kPays{0, 0, 0, 1, 4, 20};
constexpr GameKind kPlain{false, false};
constexpr GameKind kCaveman{true, false};
constexpr GameKind kCavemanPlus{true, true};

SimulationBonus bonus(double bonusBall, double freeGames, double factor, double egg1 = 1, double egg2 = 1,
                      double egg3 = 1)
{
    return {bonusBall, freeGames, factor, egg1, egg2, egg3};
}

} // namespace

TEST(SimulationRules, AnEarnedBonusOnAPayingCatchMultipliesThePayOrStartsTheFreeGames)
{
    using enum SimulationBonusPaid;
    const struct
    {
        const char* name;
        SimulationBonus bonus;
        GameKind kind;
        bool bonusBallHit;
        int hits, eggCatches;
        SimulationBonusPaid paid;
        double multiplier;
    } cases[] = {
        {"no bonus feature", bonus(0, 0, 3), kPlain, false, 5, 0, None, 1},
        {"bonus ball missed", bonus(4, 0, 3), kPlain, false, 5, 0, None, 1},
        {"bonus ball hit", bonus(4, 0, 3), kPlain, true, 5, 0, BonusFactor, 3},
        {"bonus ball hit, catch pays nothing", bonus(4, 0, 3), kPlain, true, 2, 0, None, 1},
        {"bonus ball hit with free games", bonus(4, 5, 2), kPlain, true, 4, 0, FreeGames, 1},
        {"one egg", bonus(0, 0, 1, 1.5, 2, 5), kCaveman, false, 3, 1, None, 1},
        {"two eggs", bonus(0, 0, 1, 1.5, 2, 5), kCaveman, false, 3, 2, EggMultiplier, 2},
        {"three eggs", bonus(0, 0, 1, 1.5, 2, 5), kCaveman, false, 4, 3, EggMultiplier, 5},
        {"two eggs, catch pays nothing", bonus(0, 0, 1, 1.5, 2, 5), kCaveman, false, 1, 2, None, 1},
        {"two eggs with free games", bonus(0, 3, 2, 1.5, 2, 5), kCaveman, false, 3, 2, FreeGames, 1},
        // A bonus ball overrides the eggs: they are not counted, and the hit multiplies by the
        // egg bonus of no eggs.
        {"eggs and a bonus ball hit", bonus(4, 0, 3, 1.5, 2, 5), kCaveman, true, 5, 0, EggMultiplier, 1},
        {"eggs and a bonus ball missed", bonus(4, 0, 3, 1.5, 2, 5), kCaveman, false, 5, 3, None, 1},
    };
    for (const auto& c : cases) {
        const SimulationRules rules(kPays, c.bonus, c.kind);
        const bool earned = rules.earnsBonus(c.bonusBallHit, c.eggCatches);
        const SimulationSettlement settlement = rules.settle(c.hits, c.eggCatches, earned);
        EXPECT_EQ(settlement.bonus, c.paid) << c.name;
        EXPECT_EQ(settlement.multiplier, c.multiplier) << c.name;
    }
}

TEST(SimulationRules, ExtraBallsNeedCavemanPlusTwoEggsAndAPayingCatch)
{
    const struct
    {
        SimulationBonus bonus;
        GameKind kind;
        int hits, eggCatches;
        bool extraBalls;
    } cases[] = {
        {bonus(0, 0, 1), kCavemanPlus, 3, 2, true},  {bonus(0, 0, 1), kCavemanPlus, 5, 3, true},
        {bonus(0, 0, 1), kCavemanPlus, 3, 1, false}, {bonus(0, 0, 1), kCavemanPlus, 2, 2, false},
        {bonus(0, 0, 1), kCaveman, 3, 2, false},     {bonus(4, 0, 1), kCavemanPlus, 3, 2, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SimulationRules(kPays, c.bonus, c.kind).drawsExtraBalls(c.hits, c.eggCatches), c.extraBalls)
            << c.hits << " hits, " << c.eggCatches << " eggs";
}

TEST(SimulationRules, ASeriesPlaysFreeGamesRoundedHalfToEvenEachPayingItsCatchTimesTheFactor)
{
    EXPECT_EQ(SimulationRules(kPays, bonus(4, 2.5, 2), kPlain).freeGames(), 2);
    EXPECT_EQ(SimulationRules(kPays, bonus(4, 3.5, 2), kPlain).freeGames(), 4);
    EXPECT_EQ(SimulationRules(kPays, bonus(4, 0, 2), kPlain).freeGames(), 0);
    EXPECT_EQ(SimulationRules(kPays, bonus(4, 5, 2.5), kPlain).freeGameWin(5), 50);
    EXPECT_EQ(SimulationRules(kPays, bonus(4, 5, 2.5), kPlain).freeGameWin(2), 0);
}
