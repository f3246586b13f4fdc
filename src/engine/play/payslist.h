#pragma once

#include "engine/common/kenogame.h"

#include <string>
#include <string_view>

namespace tallyhawk {

// The pays listing: what the game pays for `markedCount` numbers at `bet`, one line per paying
// catch up to the marked count ("   2         2"), under the header " Hits     Win".
// Lines end in CR LF.
std::string BuildPaysList(int markedCount, int bet, const KenoGame& game);

inline constexpr char kPaysListHeader[] = " Hits     Win\r\n";

// The line of a listing (0 is the header) that pays `catchCount` hits; -1 when none does.
// Lines after the pay lines (the bonus lines a play appends) pay no catch.
int PaysListLineOfCatch(std::string_view listing, int catchCount);

} // namespace tallyhawk
