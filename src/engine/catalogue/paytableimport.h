// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// A pay-table file as the import stores it: its records checked as the pay table of one game.
// Whatever the file holds, what passes is a game the catalogue can list, find, edit and delete.

#include "engine/common/paytypes.h"
#include "paytablefile.h"

#include <string>
#include <string_view>
#include <vector>

namespace tallyhawk {

struct ImportedGame
{
    GameKey key;                      // as stored (NormaliseGameKey)
    std::vector<PayScheduleRow> rows; // in the file's order, the bonus row first and its values on it only
    std::string error;                // why the file is refused, a sentence naming the record; empty if read
    bool ok() const { return error.empty(); }
};

// The records as one game, every row under the first record's key. Refused, naming the record
// and what is wrong with it: a key that cannot be stored; a record that names another game; a
// Catch that is not a whole number from 0 to 10, or one given twice; a first record that is not
// the bonus row (Catch 0), which carries the game's bonus values; a pay or bonus value that is
// neither a number nor blank, or that the rules cannot hold (ValueRangeProblem). A quoted number
// ("7") counts as that number, an empty text as blank.
[[nodiscard]] ImportedGame GameFromRecords(const std::vector<PayTableFileRecord>& records);

// A file's bytes decoded, read and checked: the one way a file becomes a game.
[[nodiscard]] ImportedGame ReadImportedGame(std::string_view bytes);

} // namespace tallyhawk
