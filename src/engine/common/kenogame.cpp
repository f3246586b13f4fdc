#include "kenogame.h"

#include "numberforms.h"

namespace tallyhawk {

namespace {

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

GameKind BoardGameKind(const std::string& listEntry)
{
    return {contains(listEntry, "Caveman"), contains(listEntry, "Caveman Plus")};
}

GameKind SimulationGameKind(const std::string& listEntry)
{
    const bool caveman = contains(listEntry, "Caveman");
    return {caveman, caveman && contains(listEntry, "Plus")};
}

KenoGame KenoGame::fromRows(const std::vector<PayScheduleRow>& rows, GameListEntry listEntry)
{
    KenoGame game;
    game.m_listEntry = std::move(listEntry);
    for (const PayScheduleRow& row : rows) {
        if (!row.Catch || *row.Catch < 0 || *row.Catch > kMaxCatch)
            continue;
        auto& slot = game.m_rows[static_cast<std::size_t>(*row.Catch)];
        if (!slot)
            slot = row;
    }
    return game;
}

bool KenoGame::hasRow(int hits) const
{
    return hits >= 0 && hits <= kMaxCatch && m_rows[static_cast<std::size_t>(hits)].has_value();
}

std::optional<double> KenoGame::pay(int marked, int hits) const
{
    if (!hasRow(hits) || marked < 1 || marked > kMaxMarked)
        return std::nullopt;
    return m_rows[static_cast<std::size_t>(hits)]->Pick[static_cast<std::size_t>(marked - 1)];
}

std::array<double, kMaxCatch + 1> KenoGame::pays(int marked) const
{
    std::array<double, kMaxCatch + 1> result{};
    for (int c = 0; c <= kMaxCatch; ++c)
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

std::array<std::int32_t, kMaxCatch + 1> KenoGame::simulationPays(int marked) const
{
    std::array<std::int32_t, kMaxCatch + 1> result{};
    for (int c = 0; c <= kMaxCatch; ++c)
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
