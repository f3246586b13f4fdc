#pragma once

#include "engine/common/kenogame.h"

#include <string>

namespace tallyhawk {

// The pays listing: what the game pays for `markedCount` numbers at `bet`, one line per paying
// catch up to the marked count ("   2         2"), under the header " Hits     Win".
// Lines end in CR LF.
std::string BuildPaysList(int markedCount, int bet, const KenoGame& game);

inline constexpr char kPaysListHeader[] = " Hits     Win\r\n";

} // namespace tallyhawk
