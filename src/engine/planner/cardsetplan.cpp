// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "cardsetplan.h"

namespace tallyhawk {

PlanStep CardSetPlanStep(const CardSetGame& game, const CardSet& set)
{
    PlanStep step;
    step.bet = static_cast<int>(set.cost());
    if (std::string error = CardSetPlayError(game, set); !error.empty()) {
        step.error = error;
        return step;
    }
    if (CardSetExactWork(game, set) > kCardSetExactWorkLimit) {
        step.error = "The set's numbers fall into too many groups to work out its plays exactly.";
        return step;
    }
    CardSetAnalysis analysis = AnalyseCardSetExactly(game, set);
    if (!analysis.ok()) {
        step.error = analysis.error;
        return step;
    }
    // The planner walks whole credits: a set whose wins come in parts of a credit is refused.
    if (analysis.win.unitsPerCredit != 1) {
        step.error = "The set's wins come in parts of a credit, which the planner does not walk.";
        return step;
    }
    step.win = std::move(analysis.win);
    return step;
}

} // namespace tallyhawk
