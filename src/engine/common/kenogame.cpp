// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "kenogame.h"

#include "numberforms.h"

#include <cmath>

namespace tallyhawk {

namespace {

// The first pay of a game's counted rows that cannot be held, or an empty text.
std::string payValueError(const std::array<std::optional<PayScheduleRow>, kMaxMarks + 1>& rows)
{
    for (int c = 0; c <= kMaxMarks; ++c) {
        if (!rows[static_cast<std::size_t>(c)])
            continue;
        const PayScheduleRow& row = *rows[static_cast<std::size_t>(c)];
        for (int n = 1; n <= kMaxMarks; ++n)
            if (const auto& pay = row.Pick[static_cast<std::size_t>(n - 1)])
                if (std::string error = StoredValueError(
                        StoredValue::Pay, *pay, "Pick " + std::to_string(n) + ", Catch " + std::to_string(c));
                    !error.empty())
                    return error;
    }
    return {};
}

bool contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

// A stored bonus value as the board reads it: a 16-bit whole number; a blank value, or one
// that does not fit, takes its neutral value.
int boardValue(const std::optional<double>& value, int neutral)
{
    if (!value)
        return neutral;
    return ToInt16(*value).value_or(static_cast<std::int16_t>(neutral));
}

} // namespace

std::string StoredValueError(StoredValue kind, double value, std::string_view cell)
{
    const std::string name(cell);
    if (!std::isfinite(value))
        return name + " does not hold a number.";
    if (value < 0)
        return name + " holds " + PlainForm(value) + ", and no value of a pay table can be negative.";
    if (kind == StoredValue::Pay && value > kMaxStoredPay)
        return name + " holds " + PlainForm(value) +
               ", more than 2,147,483,647, the largest pay the program can hold.";
    if (kind != StoredValue::Pay && value > kMaxStoredBonusValue)
        return name + " holds " + PlainForm(value) +
               ", more than 32,767, the largest bonus value the board can read.";
    return {};
}

std::string BonusValuesError(const SimulationBonus& bonus)
{
    const struct
    {
        StoredValue kind;
        double value;
        const char* cell;
    } values[] = {{StoredValue::BonusBall, bonus.BonusBall, "Bonus Ball"},
                  {StoredValue::FreeGames, bonus.FreeGames, "Free Games"},
                  {StoredValue::BonusFactor, bonus.BonusFactor, "Bonus Factor"},
                  {StoredValue::EggBonus, bonus.Egg1Bonus, "Egg1 Bonus"},
                  {StoredValue::EggBonus, bonus.Egg2Bonus, "Egg2 Bonus"},
                  {StoredValue::EggBonus, bonus.Egg3Bonus, "Egg3 Bonus"}};
    for (const auto& value : values)
        if (std::string error = StoredValueError(value.kind, value.value, value.cell); !error.empty())
            return error;
    return {};
}

GameKind BoardGameKind(const std::string& listEntry)
{
    return {contains(listEntry, "Caveman"), contains(listEntry, "Caveman Plus")};
}

GameKind SimulationGameKind(const std::string& listEntry)
{
    const bool caveman = contains(listEntry, "Caveman");
    return {caveman, caveman && contains(listEntry, "Plus")};
}

KenoGame KenoGame::fromRows(const std::vector<PayScheduleRow>& rows, GameKey key)
{
    KenoGame game;
    game.m_key = std::move(key);
    for (const PayScheduleRow& row : rows) {
        if (!row.Catch || *row.Catch < 0 || *row.Catch > kMaxMarks)
            continue;
        auto& slot = game.m_rows[static_cast<std::size_t>(*row.Catch)];
        if (!slot)
            slot = row;
    }
    game.m_valueError = payValueError(game.m_rows);
    if (game.m_valueError.empty())
        game.m_valueError = BonusValuesError(game.simulationBonus()); // a blank value reads as neutral
    return game;
}

bool KenoGame::hasRow(int hits) const
{
    return hits >= 0 && hits <= kMaxMarks && m_rows[static_cast<std::size_t>(hits)].has_value();
}

std::optional<double> KenoGame::pay(int marked, int hits) const
{
    if (!hasRow(hits) || marked < 1 || marked > kMaxMarks)
        return std::nullopt;
    return m_rows[static_cast<std::size_t>(hits)]->Pick[static_cast<std::size_t>(marked - 1)];
}

std::array<double, kMaxMarks + 1> KenoGame::pays(int marked) const
{
    std::array<double, kMaxMarks + 1> result{};
    for (int c = 0; c <= kMaxMarks; ++c)
        result[static_cast<std::size_t>(c)] = pay(marked, c).value_or(0);
    return result;
}

bool KenoGame::paysAnything(int marked) const
{
    for (double value : pays(marked))
        if (value != 0)
            return true;
    return false;
}

BonusValues KenoGame::boardBonus() const
{
    BonusValues values;
    if (const PayScheduleRow* row = bonusRow()) {
        values.BonusBall = boardValue(row->BonusBall, 0);
        values.FreeGames = boardValue(row->FreeGames, 0);
        values.BonusFactor = boardValue(row->BonusFactor, 1);
        values.Egg1Bonus = boardValue(row->Egg1Bonus, 1);
        values.Egg2Bonus = boardValue(row->Egg2Bonus, 1);
        values.Egg3Bonus = boardValue(row->Egg3Bonus, 1);
    }
    return values;
}

std::array<std::int32_t, kMaxMarks + 1> KenoGame::simulationPays(int marked) const
{
    std::array<std::int32_t, kMaxMarks + 1> result{};
    for (int c = 0; c <= kMaxMarks; ++c)
        result[static_cast<std::size_t>(c)] = ToInt32(pay(marked, c).value_or(0)).value_or(0);
    return result;
}

SimulationBonus KenoGame::simulationBonus() const
{
    SimulationBonus values;
    if (const PayScheduleRow* row = bonusRow()) {
        values.BonusBall = row->BonusBall.value_or(0);
        values.FreeGames = row->FreeGames.value_or(0);
        values.BonusFactor = row->BonusFactor.value_or(1);
        values.Egg1Bonus = row->Egg1Bonus.value_or(1);
        values.Egg2Bonus = row->Egg2Bonus.value_or(1);
        values.Egg3Bonus = row->Egg3Bonus.value_or(1);
    }
    return values;
}

} // namespace tallyhawk
