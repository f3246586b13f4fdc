// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The exact analysis of a whole game (both rule sets and the 100-game session figures), which
// the windows recompute whenever the game or the ticket changes: it must stay well under 10 ms.

#include "engine/exact/exactodds.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tallyhawk;

void analyse(benchmark::State& state, const ExactGame& game)
{
    for (auto _ : state) {
        ExactAnalysis analysis = AnalyseExact(game);
        benchmark::DoNotOptimize(analysis);
    }
    state.counters["return_pct"] = AnalyseExact(game).board.returnPct;
}

// An 8-spot game with these pays and its bonus row as stored.
ExactGame eightSpot(const std::array<double, 9>& pays, const PayScheduleRow& bonus, const std::string& name)
{
    std::vector<PayScheduleRow> rows(9);
    for (int c = 0; c <= 8; ++c) {
        rows[c] = c == 0 ? bonus : PayScheduleRow{};
        rows[c].Catch = c;
        rows[c].Pick[7] = pays[c];
    }
    return ExactGameOf(KenoGame::fromRows(rows, {"", "", name}), 8);
}

// Red Rock's Caveman Plus Keno, 8 spots: eggs pay 1, 4 and 8 times.
void Exact_CavemanPlus8(benchmark::State& state)
{
    PayScheduleRow bonus;
    bonus.Egg1Bonus = 1;
    bonus.Egg2Bonus = 4;
    bonus.Egg3Bonus = 8;
    analyse(state, eightSpot({0, 0, 0, 1, 2, 4, 20, 200, 2000}, bonus, "Caveman Plus Keno"));
}
BENCHMARK(Exact_CavemanPlus8)->Unit(benchmark::kMillisecond);

// Cleopatra Keno, 8 spots: 12 free games at 2x when the 20th ball hits.
void Exact_Cleopatra8(benchmark::State& state)
{
    PayScheduleRow bonus;
    bonus.BonusBall = 20;
    bonus.FreeGames = 12;
    bonus.BonusFactor = 2;
    analyse(state, eightSpot({0, 0, 0, 0, 3, 10, 56, 180, 1000}, bonus, "Cleopatra Keno"));
}
BENCHMARK(Exact_Cleopatra8)->Unit(benchmark::kMillisecond);

} // namespace
