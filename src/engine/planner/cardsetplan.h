// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// A card set as the session planner's play: one play of every card costs cards x bet, and its
// step is the exact distribution of the play's total win.

#include "engine/cards/cardanalysis.h"
#include "sessionplanner.h"

namespace tallyhawk {

// The step of a card set; refused (error) when the set cannot be played or its total win cannot
// be worked out exactly. The plan's bet is then the play's cost, set.cost().
[[nodiscard]] PlanStep CardSetPlanStep(const CardSetGame& game, const CardSet& set);

} // namespace tallyhawk
