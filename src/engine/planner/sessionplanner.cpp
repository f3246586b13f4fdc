// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The plan's checks, the play it steps with, the choice of method and the comparison. The two
// methods live in sessionexact.cpp and sessionsample.cpp.

#include "sessionplanner.h"

#include <algorithm>

namespace tallyhawk {

std::string CheckSessionPlan(const SessionPlan& plan, int mostBet)
{
    if (plan.bet < kMinBet || plan.bet > mostBet)
        return "The bet must be 1 to " + std::to_string(mostBet) + " credits.";
    if (plan.credits < 1 || plan.credits > kPlanMaxCredits)
        return "The starting credits must be 1 to " + std::to_string(kPlanMaxCredits) + ".";
    if (plan.credits < plan.bet)
        return "The starting credits must cover the bet.";
    if (plan.games < 1 || plan.games > kPlanMaxGames)
        return "The number of games must be 1 to " + std::to_string(kPlanMaxGames) + ".";
    if (plan.target && *plan.target <= plan.credits)
        return "The target must be above the starting credits.";
    if (plan.target && *plan.target > kPlanMaxCredits)
        return "The target must be at most " + std::to_string(kPlanMaxCredits) + " credits.";
    if (plan.floor && *plan.floor < 0)
        return "The floor must be 0 or more.";
    if (plan.floor && *plan.floor > plan.credits)
        return "The floor must not be above the starting credits.";
    return {};
}

std::string CheckPlanAndStep(const PlanStep& step, const SessionPlan& plan)
{
    // A card set's step costs its cards x bet (CardSetPlanStep), which may pass one bet's limit.
    if (std::string error = CheckSessionPlan(plan, std::max(kMaxBet, step.bet)); !error.empty())
        return error;
    if (!step.ok())
        return step.error;
    if (step.bet != plan.bet)
        return "The play was worked out for another bet.";
    if (step.win.atoms.empty())
        return "The game has no outcome to play.";
    return {};
}

PlanStep BoardPlanStep(const ExactGame& game, int bet, KenoShape shape)
{
    PlanStep step;
    step.bet = bet;
    step.error = ExactGameError(game, bet, shape);
    if (!step.ok())
        return step;
    step.win = BoardWinDistribution(game, bet, shape);
    step.winMissing = BoardWinMissingCatch(game, bet, shape);
    for (int c = 0; c <= std::min(game.marked, kMaxMarks); ++c)
        step.tracked[c] = game.pays[c] > 0;
    return step;
}

SessionPlanResult PlanSession(const PlanStep& step, const SessionPlan& plan, const PlanOptions& options,
                              const PlanProgress& progress, const std::atomic<bool>* stop)
{
    SessionPlanResult result;
    result.error = CheckPlanAndStep(step, plan);
    if (!result.error.empty())
        return result;
    const ExactPlanCost cost = ExactPlanCostOf(step, plan, options);
    const bool fits = cost.work <= options.exactWorkLimit && cost.bytes <= options.exactMemoryLimit;
    result = fits ? PlanSessionExactly(step, plan, options, progress, stop)
                  : PlanSessionBySimulation(step, plan, options, progress, stop);
    result.exactCost = cost;
    return result;
}

std::vector<PlanCandidate> MarkedCountCandidates(const std::function<ExactGame(int marked)>& ticketOf,
                                                 int bet, KenoShape shape)
{
    std::vector<PlanCandidate> candidates;
    for (int marked = 1; marked <= kMaxMarks; ++marked) {
        const ExactGame game = ticketOf(marked);
        const auto paid = game.pays.begin() + std::min(marked, kMaxMarks) + 1;
        if (std::none_of(game.pays.begin(), paid, [](double pay) { return pay > 0; }))
            continue;
        candidates.push_back({std::to_string(marked), BoardPlanStep(game, bet, shape)});
    }
    return candidates;
}

std::vector<PlanComparisonRow> ComparePlans(const std::vector<PlanCandidate>& candidates,
                                            const SessionPlan& plan, const PlanOptions& options,
                                            const PlanProgress& progress, const std::atomic<bool>* stop)
{
    std::vector<PlanComparisonRow> rows;
    const auto count = static_cast<double>(candidates.size());
    for (const PlanCandidate& candidate : candidates) {
        const double before = static_cast<double>(rows.size());
        PlanProgress share;
        if (progress)
            share = [&](double done) {
                progress((before + done) / count);
            };
        rows.push_back({candidate.label, PlanSession(candidate.step, plan, options, share, stop)});
        if (rows.back().result.stopped)
            break;
    }
    auto chance = [&](const SessionPlanResult& r) {
        return plan.target ? r.targetReached.value : r.ahead.value;
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const PlanComparisonRow& a, const PlanComparisonRow& b) {
        if (a.result.ok() != b.result.ok())
            return a.result.ok();
        return a.result.ok() && chance(a.result) > chance(b.result);
    });
    return rows;
}

} // namespace tallyhawk
