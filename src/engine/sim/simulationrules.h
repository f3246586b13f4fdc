// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The simulation's bonus rules, written once: what one game wins once its draw is known. The
// Monte Carlo run plays them game by game; the exact analysis weighs them over every catch and
// egg count, so that a rule changed here changes both alike.
//
// The simulation reads the game its own way (KenoGame::simulationBonus, simulationKind): any
// non-zero Bonus Ball makes a bonus-ball game, whose eggs are then never counted; otherwise a
// Caveman game earns its bonus with two or more eggs, and a Caveman Plus game with two eggs and
// a paying catch draws three extra balls first. An earned bonus on a paying catch starts a
// series of free games when the game has any, else multiplies the pay.

#include "engine/common/gameconstants.h"
#include "engine/common/kenogame.h"
#include "engine/common/numberforms.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tallyhawk {

// A series is played between two progress reports, so it must stay short.
constexpr double kMaxSimulationFreeGames = 1000;

using SimulationPays = std::array<std::int32_t, kMaxMarks + 1>; // credits per catch, one-credit ticket

enum class SimulationBonusPaid
{
    None,          // the pay alone
    BonusFactor,   // the bonus ball's Bonus Factor multiplies the pay
    EggMultiplier, // the egg bonus of the eggs caught multiplies the pay
    FreeGames,     // the pay alone, and a series of free games follows
};

// What a game pays for its catch: the pay of the catch, and what the bonus makes of it.
struct SimulationSettlement
{
    SimulationBonusPaid bonus = SimulationBonusPaid::None;
    // The pay is multiplied by this (1 unless the bonus multiplies it): the bonus adds the pay
    // times (multiplier - 1) to the pay.
    double multiplier = 1;
};

class SimulationRules
{
public:
    SimulationRules(const SimulationPays& pays, const SimulationBonus& bonus, GameKind kind)
        : m_pay(pays), m_bonus(bonus), m_hasBonusBall(bonus.BonusBall != 0), m_caveman(kind.caveman),
          m_cavemanPlus(kind.caveman && kind.cavemanPlus), m_hasFreeGames(bonus.FreeGames > 0)
    {
    }

    const SimulationPays& pays() const { return m_pay; }
    const SimulationBonus& bonus() const { return m_bonus; }
    bool hasBonusBall() const { return m_hasBonusBall; }
    // Eggs are placed before every game of a Caveman game (and count only without a bonus ball).
    bool placesEggs() const { return m_caveman; }
    bool countsEggs() const { return m_caveman && !m_hasBonusBall; }
    bool hasFreeGames() const { return m_hasFreeGames; }
    // The free games a series plays: Free Games rounded half to even (at most
    // kMaxSimulationFreeGames, which the run's input check enforces).
    int freeGames() const
    {
        return m_hasFreeGames
                   ? static_cast<int>(RoundHalfEven(std::min(m_bonus.FreeGames, kMaxSimulationFreeGames)))
                   : 0;
    }

    // Whether the game earns its bonus: its bonus ball on the ticket, or two or more eggs caught
    // in a Caveman game without a bonus ball.
    bool earnsBonus(bool bonusBallHit, int eggCatches) const
    {
        return m_hasBonusBall ? bonusBallHit : m_caveman && eggCatches > 1;
    }

    // Whether a Caveman Plus game draws its three extra balls after the twenty; hits and eggs
    // are then counted again over all the balls.
    bool drawsExtraBalls(int hits, int eggCatches) const
    {
        return m_cavemanPlus && !m_hasBonusBall && eggCatches > 1 && m_pay[hits] > 0;
    }

    // What a game that caught `hits` numbers and `eggCatches` eggs (after any extra balls)
    // pays, `bonusEarned` as earnsBonus said before the extra balls. A bonus-ball game of a
    // Caveman game multiplies by the egg bonus of no eggs, 1, and still counts as a bonus paid.
    SimulationSettlement settle(int hits, int eggCatches, bool bonusEarned) const
    {
        if (!bonusEarned || m_pay[hits] <= 0)
            return {};
        if (m_hasFreeGames)
            return {SimulationBonusPaid::FreeGames, 1};
        if (m_caveman)
            return {SimulationBonusPaid::EggMultiplier, m_bonus.eggMultiplier(eggCatches)};
        return {SimulationBonusPaid::BonusFactor, m_bonus.BonusFactor};
    }

    // A free game of a series draws twenty numbers and pays its catch's pay times this, the
    // Bonus Factor: free games have no bonus ball, eggs or extra balls of their own.
    double freeGameMultiplier() const { return m_bonus.BonusFactor; }
    double freeGameWin(int hits) const { return m_pay[hits] * freeGameMultiplier(); }

private:
    SimulationPays m_pay;
    SimulationBonus m_bonus;
    bool m_hasBonusBall;
    bool m_caveman;
    bool m_cavemanPlus;
    bool m_hasFreeGames;
};

} // namespace tallyhawk
