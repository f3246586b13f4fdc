// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The session planner's exact method on the plan a window asks for most: 1,000 credits at one
// credit a game for up to 1,000 games, stopping at 2,000. It must stay under a second.

#include "engine/planner/sessionplanner.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tallyhawk;

// DraftKings' Mad Yeti Keno, 8 spots: the 20th ball on a marked number pays 8 times.
ExactGame madYeti8()
{
    ExactGame game;
    game.marked = 8;
    game.pays = {0, 0, 0, 0, 2, 6, 18, 150, 700};
    game.boardBonus.BonusBall = 20;
    game.boardBonus.BonusFactor = 8;
    return game;
}

// Cleopatra Keno, 8 spots: 12 free games at 2x make a play's win take thousands of values.
ExactGame cleopatra8()
{
    ExactGame game;
    game.marked = 8;
    game.pays = {0, 0, 0, 0, 3, 10, 56, 180, 1000};
    game.boardBonus.BonusBall = 20;
    game.boardBonus.FreeGames = 12;
    game.boardBonus.BonusFactor = 2;
    return game;
}

void plan(benchmark::State& state, const ExactGame& game, SessionPlan plan)
{
    const PlanStep step = BoardPlanStep(game, plan.bet);
    SessionPlanResult result;
    for (auto _ : state) {
        result = PlanSessionExactly(step, plan);
        benchmark::DoNotOptimize(result);
    }
    state.counters["work"] = result.exactCost.work;
    state.counters["bytes"] = result.exactCost.bytes;
    state.counters["target_pct"] = result.targetReached.value * 100;
    state.counters["ruined_pct"] = result.ruined.value * 100;
}

void SessionPlanner_Exact(benchmark::State& state)
{
    plan(state, madYeti8(), {.bet = 1, .credits = 1000, .games = 1000, .target = 2000, .floor = {}});
}
BENCHMARK(SessionPlanner_Exact)->Unit(benchmark::kMillisecond);

void SessionPlanner_ExactNoTarget(benchmark::State& state)
{
    plan(state, madYeti8(), {.bet = 1, .credits = 1000, .games = 1000, .target = {}, .floor = {}});
}
BENCHMARK(SessionPlanner_ExactNoTarget)->Unit(benchmark::kMillisecond);

void SessionPlanner_ExactFreeGames(benchmark::State& state)
{
    plan(state, cleopatra8(), {.bet = 1, .credits = 1000, .games = 1000, .target = 2000, .floor = {}});
}
BENCHMARK(SessionPlanner_ExactFreeGames)->Unit(benchmark::kMillisecond);

} // namespace
