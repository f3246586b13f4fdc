// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "gamecount.h"

#include "engine/common/numberforms.h"
#include "simulation.h"

namespace tallyhawk {

GameCountAnswer ParseGameCount(std::string_view answer)
{
    GameCountAnswer result;
    result.message = kGameCountNotWholeMessage;
    if (answer.find_first_not_of(" \t\r\n\f\v") == std::string_view::npos)
        return result; // Cancelled
    const double value = LeadingNumber(answer);
    if (!(value > 0))
        return result;
    result.kind = GameCountAnswerKind::Refused;
    if (value > static_cast<double>(kMaxSimulationGames)) {
        result.message = kGameCountTooManyMessage;
        return result;
    }
    const std::optional<double> number = ParseNumber(answer);
    if (!number || *number != RoundHalfEven(*number) || *number < 1)
        return result;
    result.kind = GameCountAnswerKind::Accepted;
    result.games = static_cast<std::int64_t>(*number);
    result.message.clear();
    return result;
}

} // namespace tallyhawk
