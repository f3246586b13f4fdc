// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The session planner: what a player's plan of play leads to under the board's rules. The plan
// is a bet, starting credits, a number of games and two stop rules: stop once the credits reach
// a target, stop when they fall below a floor (at the least: when they cannot cover the bet).
//
// A play (one paid game and the free games it starts) is independent of the plays before it, so
// the credits form a random walk whose step is the play's exact win distribution less the bet.
// The exact method carries the distribution of the credits from game to game; when that work is
// too large, whole sessions are simulated instead, each play drawn from the same exact win
// distribution, and every figure comes with its 95 % interval. A result says which it is.

#include "engine/exact/exactodds.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tallyhawk {

// The session planner window's older name for kMaxBet, until it takes that one.
constexpr int kPlanMaxBet = kMaxBet;
constexpr std::int64_t kPlanMaxGames = 100'000;
constexpr std::int64_t kPlanMaxCredits = 1'000'000'000;
// The points of the end credits that a result gives: 5 %, 25 %, 50 %, 75 % and 95 %.
constexpr std::array<double, 5> kEndCreditLevels{0.05, 0.25, 0.50, 0.75, 0.95};
// The exact method's estimated work (see ExactPlanCost) that takes a few seconds here, and the
// memory it may take; a plan estimated above either is simulated.
constexpr double kExactPlanWorkLimit = 1e10;
constexpr double kExactPlanMemoryLimit = 512.0 * 1024 * 1024;
// About a tenth of a second: see PlanOptions::fullDistributionWork.
constexpr double kFullDistributionWork = 3e8;

struct SessionPlan
{
    int bet = 1;                        // credits per paid game, kMinBet to kMaxBet
    std::int64_t credits = 0;           // at the start, at least the bet
    std::int64_t games = 0;             // the most paid games, 1 to kPlanMaxGames
    std::optional<std::int64_t> target; // stop once the credits reach it; above the start
    std::optional<std::int64_t> floor;  // stop when the credits fall below it; the bet is the least
};

// Why the plan cannot be followed, or an empty text. A play of several cards costs more than one
// bet: `mostBet` is then the most it may cost.
[[nodiscard]] std::string CheckSessionPlan(const SessionPlan& plan, int mostBet = kMaxBet);

// What one play at the plan's bet can win: the whole distribution, and per catch the part of it in
// which the play never catches c (see BoardWinMissingCatch).
struct PlanStep
{
    std::string error; // why the game cannot be planned; empty when it can
    int bet = 1;
    WinDistribution win;
    std::array<WinDistribution, kMaxMarks + 1> winMissing;
    // The catches whose chance of coming at least once a plan gives: those the pay table pays.
    std::array<bool, kMaxMarks + 1> tracked{};
    bool ok() const { return error.empty(); }
};

// The play of a ticket under the board's rules at `bet` credits.
[[nodiscard]] PlanStep BoardPlanStep(const ExactGame& game, int bet, KenoShape shape = {});

// Why the step cannot serve the plan, or the plan cannot be followed; an empty text when both can.
[[nodiscard]] std::string CheckPlanAndStep(const PlanStep& step, const SessionPlan& plan);

enum class PlanMethod
{
    Exact,
    Simulation
};

// A figure and its 95 % interval; the interval is the value itself when the figure is exact.
struct PlanValue
{
    double value = 0;
    double low = 0;
    double high = 0;
};

struct CreditAtom
{
    std::int64_t credits = 0;
    double probability = 0;
};

struct ExactPlanCost
{
    double work = 0;
    double bytes = 0;
};

struct SessionPlanResult
{
    std::string error;    // why nothing was computed; empty otherwise
    bool stopped = false; // the stop flag ended the work: no figures
    PlanMethod method = PlanMethod::Exact;
    ExactPlanCost exactCost;   // what the exact method takes for this plan
    std::int64_t sessions = 0; // sessions simulated; 0 when exact
    std::uint64_t seed = 0;    // of the simulation

    // How the session ends (chances add up to 1): ruined (below the floor), the target reached,
    // or every game played.
    PlanValue ruined, targetReached, allGamesPlayed;
    // The end credits against the starting credits.
    PlanValue ahead, even, behind;
    PlanValue meanEndCredits;
    std::array<PlanValue, kEndCreditLevels.size()> endCreditPoints{}; // at kEndCreditLevels
    PlanValue expectedGames;
    // Entry n: the chance of still playing after n games (neither stopped rule met), n = 0 to
    // the plan's games; the last entry is the chance of playing every game.
    std::vector<PlanValue> stillPlaying;
    // The end credits, ascending: the exact distribution (or the simulated sessions' frequencies)
    // below tailFrom; the sessions ending with tailFrom or more are only counted, in
    // tailProbability. Only the exact method without a target may have such a tail, when the whole
    // distribution would cost too much; it then starts where Cantelli's inequality leaves at most
    // 5 % above, so every point of kEndCreditLevels is still exact.
    std::vector<CreditAtom> endCredits;
    std::int64_t tailFrom = 0;
    double tailProbability = 0;
    // The chance that the session catches c at least once, for the catches the step tracks.
    std::array<std::optional<PlanValue>, kMaxMarks + 1> catchAtLeastOnce{};

    bool ok() const { return error.empty() && !stopped; }
};

struct PlanOptions
{
    // Above either the plan is simulated (by PlanSession) or refused (by PlanSessionExactly).
    double exactWorkLimit = kExactPlanWorkLimit;
    double exactMemoryLimit = kExactPlanMemoryLimit;
    // Without a target the exact method keeps the whole end distribution when that costs no
    // more than this, else it keeps it up to the tail (see SessionPlanResult::endCredits).
    double fullDistributionWork = kFullDistributionWork;
    std::int64_t sessions = 0; // sessions to simulate; 0: from the games
    std::uint64_t seed = 0;    // of the simulation
    int threads = 0;           // 0: one per core
};

// What the exact method would take for the plan: its work, one unit per probability moved in a
// game (the window of credits times the play's wins that stay in it, for the whole distribution
// and for each tracked catch), and the bytes of its arrays.
[[nodiscard]] ExactPlanCost ExactPlanCostOf(const PlanStep& step, const SessionPlan& plan,
                                            const PlanOptions& options = {});

// Called on the calling thread with the share of the work done, 0 to 1, at each percent (each
// chunk of sessions when simulating). The stop flag is read after every game (every chunk); once
// it is set the work ends soon after with a stopped result.
using PlanProgress = std::function<void(double done)>;

// The plan by the exact method when its cost fits the options' limits, otherwise simulated.
[[nodiscard]] SessionPlanResult PlanSession(const PlanStep& step, const SessionPlan& plan,
                                            const PlanOptions& options = {},
                                            const PlanProgress& progress = {},
                                            const std::atomic<bool>* stop = nullptr);
[[nodiscard]] SessionPlanResult PlanSessionExactly(const PlanStep& step, const SessionPlan& plan,
                                                   const PlanOptions& options = {},
                                                   const PlanProgress& progress = {},
                                                   const std::atomic<bool>* stop = nullptr);
// Whole sessions drawn play by play from the step on chunked random streams derived from the
// seed: the figures follow from the seed alone, whatever the number of threads.
[[nodiscard]] SessionPlanResult PlanSessionBySimulation(const PlanStep& step, const SessionPlan& plan,
                                                        const PlanOptions& options = {},
                                                        const PlanProgress& progress = {},
                                                        const std::atomic<bool>* stop = nullptr);

// The same plan for several tickets or games, to choose among them.
struct PlanCandidate
{
    std::string label;
    PlanStep step;
};
struct PlanComparisonRow
{
    std::string label;
    SessionPlanResult result;
};

// The tickets of 1 to 10 marked numbers that pay anything, `ticketOf(n)` giving the game for n,
// each labelled with its count.
[[nodiscard]] std::vector<PlanCandidate>
MarkedCountCandidates(const std::function<ExactGame(int marked)>& ticketOf, int bet, KenoShape shape = {});

// Every candidate under the plan, the likeliest to reach the target first (without a target: the
// likeliest to end ahead); candidates that could not be planned come last, in their order.
[[nodiscard]] std::vector<PlanComparisonRow> ComparePlans(const std::vector<PlanCandidate>& candidates,
                                                          const SessionPlan& plan,
                                                          const PlanOptions& options = {},
                                                          const PlanProgress& progress = {},
                                                          const std::atomic<bool>* stop = nullptr);

} // namespace tallyhawk
