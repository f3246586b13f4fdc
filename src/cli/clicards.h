// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// Card sets on the command line: --cards "1,2,3/4,5,6" (cards separated by /) or a way ticket,
// --ways "1,2/3,4/5,6" --way-spots 2,4,6, for odds, simulate and session.

#include "clicommands.h"
#include "engine/cards/cardset.h"

#include <optional>
#include <QString>
#include <vector>

namespace tallyhawk::cli {

// Lists of whole numbers separated by "/", the numbers of each by commas or blanks: the cards of
// --cards or the groups of --ways. An empty list stays empty (the set's checks name it). None,
// with a sentence, when a value is not a whole number.
[[nodiscard]] std::optional<std::vector<std::vector<int>>>
ParseNumberLists(const QString& text, const QString& option, QString* error);

// The cards of --cards, or of --ways and --way-spots (waySpots empty for --cards), at `bet`
// credits a card. None, with the reason, when the set cannot be played (CardSetError) or the
// way ticket cannot be built (BuildWayCards).
[[nodiscard]] std::optional<CardSet> ReadCardSet(const QString& cards, const QString& ways,
                                                 const QString& waySpots, int bet, QString* error);

// The exact odds of the card set (or its simulated figures when too large to enumerate).
[[nodiscard]] CommandResult RunCardSetOddsCommand(const CommandInput& input);
// The card set played `input.games` times on `input.threads` threads, seeded with `input.seed`.
[[nodiscard]] CommandResult RunCardSetSimulateCommand(const CommandInput& input);

} // namespace tallyhawk::cli
