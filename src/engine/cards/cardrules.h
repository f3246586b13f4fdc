// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The rules of a card set, written once: how the game's bonus features play across several
// cards on one draw. The exact analysis weighs them over every outcome and the simulation
// plays them draw by draw, so a rule changed here changes both alike.
//
// Each card is settled by the simulation's rules of a single ticket (SimulationRules), read
// from the game as the simulation reads it, at the set's bet. What the cards share:
// - one draw of twenty numbers, and one bonus ball among them: it earns the bonus of every
//   card that marks it (multi-card machines light the bonus on each card that holds it);
// - three Caveman eggs on numbers no card marks: every card counts the eggs caught, so two or
//   more eggs earn the bonus of every card, and each paying card is multiplied by the egg bonus;
// - Caveman Plus: the three extra balls are drawn once, when two or more eggs came and any card
//   pays, and every card counts its catch again over the 23 balls;
// - free games: one series per play, played on the cards that started it (as four-card
//   Cleopatra machines play their bonus round on the cards that trigger it): each free game draws
//   once, and each of those cards is paid its catch times the Bonus Factor at the set's bet.
// A set of one card is therefore exactly the simulation's single ticket; with a bonus ball or free
// games each card of a set returns what it would alone.

#include "cardset.h"
#include "engine/common/kenogame.h"
#include "engine/exact/exactodds.h"
#include "engine/sim/simulationrules.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tallyhawk {

// A catch that pays this many credits or more per credit bet is a solid catch (the 6 of 7, 7 of
// 8 or 8 of 10 a multi-card player waits for).
constexpr double kSolidCatchPay = 100;

// A game as card sets read it: the simulation's view, the pays of every marked count.
struct CardSetGame
{
    std::array<std::array<double, kMaxMarks + 1>, kMaxMarks + 1> pays{}; // [marked][catch], per credit
    SimulationBonus bonus;
    GameKind kind;
    std::string valueError; // a stored value of the game that cannot be held (KenoGame::valueError)

    // The single ticket of `marked` numbers under the simulation's rules, for the exact engine's
    // checks and figures.
    ExactGame ticket(int marked) const;
};
CardSetGame CardSetGameOf(const KenoGame& game);

// Why the set cannot be played on the game, or an empty text: the set's own faults
// (CardSetError), a stored value that cannot be held, more than 1000 free games, no room for
// the eggs of a Caveman game among the numbers no card marks.
[[nodiscard]] std::string CardSetPlayError(const CardSetGame& game, const CardSet& set);

class CardSetRules
{
public:
    // The set must pass CardSetPlayError.
    CardSetRules(const CardSetGame& game, const CardSet& set);

    int cards() const { return static_cast<int>(m_marked.size()); }
    int marked(int card) const { return m_marked[static_cast<std::size_t>(card)]; }
    int bet() const { return m_bet; }
    bool hasBonusBall() const { return m_rules.front().hasBonusBall(); }
    bool placesEggs() const { return m_rules.front().placesEggs(); }
    bool countsEggs() const { return m_rules.front().countsEggs(); }
    bool hasFreeGames() const { return m_rules.front().hasFreeGames(); }
    int freeGames() const { return m_rules.front().freeGames(); }

    // Wins are counted in units of 1 / unitsPerCredit() credits, whole whenever the bonus values
    // have at most two decimals (a Bonus Factor of 2.5 makes half credits); 0 when they have more.
    std::int64_t unitsPerCredit() const { return m_units; }

    // Whether a card earns its bonus: the bonus ball on it, or two or more eggs caught (counted
    // before any extra balls).
    bool earnsBonus(bool bonusBallOnCard, int eggCatches) const
    {
        return m_rules.front().earnsBonus(bonusBallOnCard, eggCatches);
    }
    // Whether the three extra balls come: any card that would draw them on its own.
    bool drawsExtraBalls(const int* hits, int eggCatches) const;
    // What `card` pays for its catch (after any extra balls).
    SimulationSettlement settle(int card, int hits, int eggCatches, bool bonusEarned) const
    {
        return rulesOf(card).settle(hits, eggCatches, bonusEarned);
    }
    // The card's win in credits, and in units (only when unitsPerCredit() is not 0).
    double win(int card, int hits, const SimulationSettlement& settled) const
    {
        return rulesOf(card).pays()[hits] * static_cast<double>(m_bet) * settled.multiplier;
    }
    std::int64_t winUnits(int card, int hits, const SimulationSettlement& settled) const;
    // A free game's win of a card for its catch: its pay times the Bonus Factor.
    double freeGameWin(int card, int hits) const { return rulesOf(card).freeGameWin(hits) * m_bet; }
    std::int64_t freeGameWinUnits(int card, int hits) const;
    // Whether the catch is a solid one for the card (kSolidCatchPay).
    bool solid(int card, int hits) const { return rulesOf(card).pays()[hits] >= kSolidCatchPay; }
    // Whether the catch pays the card anything before bonuses.
    bool pays(int card, int hits) const { return rulesOf(card).pays()[hits] > 0; }

private:
    const SimulationRules& rulesOf(int card) const
    {
        return m_rules[static_cast<std::size_t>(m_marked[static_cast<std::size_t>(card)])];
    }

    std::vector<SimulationRules> m_rules; // by marked count 0 to 10
    std::vector<int> m_marked;            // by card
    int m_bet = 1;
    std::int64_t m_units = 0;
};

} // namespace tallyhawk
