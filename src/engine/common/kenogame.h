// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The model of a game: its pays and bonus values as its stored rows hold them, read in one
// place. The board and the simulation read some fields differently, so the model offers a view
// for each, each written once:
// - the board reads the bonus values as 16-bit whole numbers (rounded half to even) and wants
//   "Caveman Plus" in the list entry for the extra balls;
// - the simulation takes the bonus values as stored, rounds each pay to a 32-bit whole number,
//   and wants "Caveman" and "Plus" anywhere in the entry.
// Every window, the command line and the exact engine build their input from these views.

#include "gameconstants.h"
#include "gamekey.h"
#include "paytypes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyhawk {

// The windows' and the catalogue's older name for kMaxMarks, until they take that one.
constexpr int kMaxCatch = kMaxMarks;

// The values a game's stored rows can hold. A pay must fit the simulation's 32-bit whole
// numbers, a bonus value the board's 16-bit ones (Bonus Ball, Free Games, Bonus Factor and the
// egg bonuses alike); no value may be negative, and each must be a finite number. Within these
// limits every win of the board, the simulation and the exact odds fits in its 64 bits.
constexpr double kMaxStoredPay = 2'147'483'647;
constexpr double kMaxStoredBonusValue = 32'767;

enum class StoredValue
{
    Pay,
    BonusBall,
    FreeGames,
    BonusFactor,
    EggBonus
};

// Why `value` cannot be held in a cell of this kind, as a sentence that names the cell by
// `cell` ("Pick 5, Catch 4", "Bonus Factor"); empty when it can. The catalogue's doors (its
// lock, the import) refuse such a value; every engine reports a game that holds one.
[[nodiscard]] std::string StoredValueError(StoredValue kind, double value, std::string_view cell);

// The six bonus values of a game; the defaults are the neutral values of a game without them.
template <typename Value> struct BonusValuesOf
{
    Value BonusBall = 0;
    Value FreeGames = 0;
    Value BonusFactor = 1;
    Value Egg1Bonus = 1;
    Value Egg2Bonus = 1;
    Value Egg3Bonus = 1;

    // What a win is multiplied by when `eggCatches` eggs were caught (1 for none).
    Value eggMultiplier(int eggCatches) const
    {
        switch (eggCatches) {
        case 1:
            return Egg1Bonus;
        case 2:
            return Egg2Bonus;
        case 3:
            return Egg3Bonus;
        default:
            return 1;
        }
    }
    bool operator==(const BonusValuesOf&) const = default;
};
// As the board reads them: whole numbers.
using BonusValues = BonusValuesOf<int>;
// As the simulation reads them: as stored.
using SimulationBonus = BonusValuesOf<double>;

// The first of the six bonus values that cannot be held (StoredValueError), naming it; empty
// when all can.
[[nodiscard]] std::string BonusValuesError(const SimulationBonus& bonus);

// Which bonus features a game's list entry gives it.
struct GameKind
{
    bool caveman = false;     // three eggs among the unmarked numbers
    bool cavemanPlus = false; // also up to three extra balls; implies caveman

    bool operator==(const GameKind&) const = default;
};

// How each rule set reads a list entry (case matters): both want "Caveman" for the eggs; the
// board wants "Caveman Plus" for the extra balls, the simulation "Caveman" and "Plus" anywhere.
GameKind BoardGameKind(const std::string& listEntry);
GameKind SimulationGameKind(const std::string& listEntry);

class KenoGame
{
public:
    KenoGame() = default;

    // The one reader of a game's stored rows. For each catch 0 to 10 the first row counts;
    // rows without a catch or with another one are not part of the game. The bonus values are
    // those of the row whose Catch is 0.
    // The key names the game; its list entry gives the game its kind (GameKind).
    static KenoGame fromRows(const std::vector<PayScheduleRow>& rows, GameKey key);

    const GameKey& key() const { return m_key; }

    // Whether the game has a row for the catch; a missing row is not the same as a blank pay
    // on the board, which then keeps the win it had.
    bool hasRow(int hits) const;
    // The stored pay per credit bet of `marked` numbers catching `hits`; none when blank or
    // when the game has no row for that catch.
    std::optional<double> pay(int marked, int hits) const;
    // The pays of `marked` numbers by catch, a blank pay or a missing row as 0.
    std::array<double, kMaxMarks + 1> pays(int marked) const;
    // Whether any pay of `marked` numbers is not 0.
    bool paysAnything(int marked) const;

    // The first stored value of the game that cannot be held (StoredValueError), naming its
    // cell; empty when every value can. The views below take such a value as its neutral one
    // (a pay as 0), so every engine refuses a game with one, saying this.
    const std::string& valueError() const { return m_valueError; }

    // The row whose Catch is 0, which carries the bonus values; none when the game has none.
    const PayScheduleRow* bonusRow() const { return m_rows[0] ? &*m_rows[0] : nullptr; }

    // The board's view: each bonus value rounded to a 16-bit whole number.
    BonusValues boardBonus() const;
    GameKind boardKind() const { return BoardGameKind(FormatGameListText(m_key)); }

    // The simulation's view: each pay of `marked` numbers rounded to a 32-bit whole number,
    // the bonus values as stored.
    std::array<std::int32_t, kMaxMarks + 1> simulationPays(int marked) const;
    SimulationBonus simulationBonus() const;
    GameKind simulationKind() const { return SimulationGameKind(FormatGameListText(m_key)); }

private:
    GameKey m_key;
    std::array<std::optional<PayScheduleRow>, kMaxMarks + 1> m_rows;
    std::string m_valueError;
};

} // namespace tallyhawk
