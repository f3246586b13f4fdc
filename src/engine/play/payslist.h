#pragma once

#include "engine/common/paytypes.h"

#include <string>
#include <vector>

namespace tallyhawk {

// The pays listing: what the game pays for `markedCount` numbers at `bet`, one line per paying
// catch up to the marked count ("   2         2"), under the header " Hits     Win".
// Lines end in CR LF. The rows are the game's, in ascending Catch order.
std::string BuildPaysList(int markedCount, int bet, const std::vector<PayScheduleRow>& rows);

inline constexpr char kPaysListHeader[] = " Hits     Win\r\n";

} // namespace tallyhawk
