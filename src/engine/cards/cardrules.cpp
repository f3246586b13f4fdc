// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "cardrules.h"

#include "engine/common/numberforms.h"

#include <cmath>

namespace tallyhawk {

namespace {

// The units of the exact odds: the first of these that makes every value that multiplies a
// pay whole (any value with at most two decimals).
constexpr std::int64_t kUnitChoices[] = {1, 2, 4, 5, 10, 20, 25, 50, 100};

bool wholeIn(double value, std::int64_t units)
{
    const double scaled = value * static_cast<double>(units);
    return std::abs(scaled - std::round(scaled)) <= 1e-9 * std::max(1.0, std::abs(scaled));
}

std::int64_t unitsOf(const SimulationBonus& bonus)
{
    for (std::int64_t units : kUnitChoices) {
        bool whole = true;
        for (double value : {bonus.BonusFactor, bonus.Egg1Bonus, bonus.Egg2Bonus, bonus.Egg3Bonus})
            whole = whole && wholeIn(value, units);
        if (whole)
            return units;
    }
    return 0;
}

std::int64_t inUnits(double value, std::int64_t units)
{
    return std::llround(value * static_cast<double>(units));
}

} // namespace

ExactGame CardSetGame::ticket(int marked) const
{
    ExactGame exact;
    exact.marked = marked;
    if (marked >= 0 && marked <= kMaxMarks)
        exact.pays = pays[static_cast<std::size_t>(marked)];
    exact.simulationBonus = bonus;
    exact.simulationKind = kind;
    exact.valueError = valueError;
    return exact;
}

CardSetGame CardSetGameOf(const KenoGame& game)
{
    CardSetGame cards;
    for (int marked = 0; marked <= kMaxMarks; ++marked)
        cards.pays[static_cast<std::size_t>(marked)] = game.pays(marked);
    cards.bonus = game.simulationBonus();
    cards.kind = game.simulationKind();
    cards.valueError = game.valueError();
    return cards;
}

std::string CardSetPlayError(const CardSetGame& game, const CardSet& set)
{
    if (std::string error = CardSetError(set); !error.empty())
        return error;
    if (!game.valueError.empty())
        return game.valueError;
    if (std::string error = BonusValuesError(game.bonus); !error.empty())
        return error;
    if (game.bonus.FreeGames > kMaxSimulationFreeGames)
        return "The game awards more than 1000 free games.";
    for (const Card& card : set.cards)
        for (int c = 0; c <= kMaxMarks; ++c)
            if (std::string error =
                    StoredValueError(StoredValue::Pay, game.pays[card.size()][static_cast<std::size_t>(c)],
                                     "The pay for catching " + std::to_string(c));
                !error.empty())
                return error;
    if (game.kind.caveman) {
        std::array<bool, kBoardNumbers + 1> marked{};
        int unmarked = kBoardNumbers;
        for (const Card& card : set.cards)
            for (int number : card)
                if (!marked[static_cast<std::size_t>(number)]) {
                    marked[static_cast<std::size_t>(number)] = true;
                    --unmarked;
                }
        if (unmarked < kCavemanEggs)
            return "A Caveman game needs three numbers that no card marks, for its eggs.";
    }
    return {};
}

CardSetRules::CardSetRules(const CardSetGame& game, const CardSet& set)
    : m_bet(set.bet), m_units(unitsOf(game.bonus))
{
    for (int marked = 0; marked <= kMaxMarks; ++marked) {
        SimulationPays pays{};
        for (int c = 0; c <= kMaxMarks; ++c)
            pays[static_cast<std::size_t>(c)] =
                ToInt32(game.pays[static_cast<std::size_t>(marked)][static_cast<std::size_t>(c)]).value_or(0);
        m_rules.emplace_back(pays, game.bonus, game.kind);
    }
    for (const Card& card : set.cards)
        m_marked.push_back(static_cast<int>(card.size()));
}

bool CardSetRules::drawsExtraBalls(const int* hits, int eggCatches) const
{
    for (int card = 0; card < cards(); ++card)
        if (rulesOf(card).drawsExtraBalls(hits[card], eggCatches))
            return true;
    return false;
}

std::int64_t CardSetRules::winUnits(int card, int hits, const SimulationSettlement& settled) const
{
    return std::int64_t{rulesOf(card).pays()[hits]} * m_bet * inUnits(settled.multiplier, m_units);
}

std::int64_t CardSetRules::freeGameWinUnits(int card, int hits) const
{
    return std::int64_t{rulesOf(card).pays()[hits]} * m_bet *
           inUnits(rulesOf(card).freeGameMultiplier(), m_units);
}

} // namespace tallyhawk
