// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// Card sets: the exact analysis of four overlapping 10-spot cards (well under 50 ms) and of a way
// ticket of 28 ways of 8 (under 0.5 s), and the simulation of twenty scattered cards on every
// core (at most 100 ns per draw of the twenty cards on two cores).

#include "engine/cards/cardanalysis.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>

namespace {

using namespace tallyhawk;

// A four-card machine's 8- and 10-spot pays, one credit.
CardSetGame multiCardGame()
{
    CardSetGame game;
    game.pays[8] = {0, 0, 0, 0, 0, 9, 90, 1500, 10000};
    game.pays[10] = {5, 0, 0, 0, 0, 2, 20, 130, 1000, 5000, 10000};
    game.pays[5] = {0, 0, 0, 1, 4, 800};
    return game;
}

void analyseExactly(benchmark::State& state, const CardSet& set)
{
    const CardSetGame game = multiCardGame();
    for (auto _ : state) {
        CardSetAnalysis analysis = AnalyseCardSetExactly(game, set);
        benchmark::DoNotOptimize(analysis);
    }
    const CardSetAnalysis analysis = AnalyseCardSetExactly(game, set);
    state.counters["return_pct"] = analysis.returnPct.value;
    state.counters["atoms"] = analysis.atoms;
}

// Two rows of ten and two cards across them, each sharing five numbers with each row.
void MultiCard_Exact4Cards(benchmark::State& state)
{
    analyseExactly(state, {{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
                            {11, 12, 13, 14, 15, 16, 17, 18, 19, 20},
                            {1, 2, 3, 4, 5, 11, 12, 13, 14, 15},
                            {6, 7, 8, 9, 10, 16, 17, 18, 19, 20}},
                           1});
}
BENCHMARK(MultiCard_Exact4Cards)->Unit(benchmark::kMillisecond);

// Eight groups of four, played as the 28 ways of 8.
void MultiCard_Ways28(benchmark::State& state)
{
    WayTicket ticket;
    for (int g = 0; g < 8; ++g)
        ticket.groups.push_back({4 * g + 1, 4 * g + 2, 4 * g + 3, 4 * g + 4});
    ticket.spots = {8};
    analyseExactly(state, {BuildWayCards(ticket).cards, 1, true});
}
BENCHMARK(MultiCard_Ways28)->Unit(benchmark::kMillisecond);

// Twenty 5-spot cards scattered over the board: too many atoms to enumerate, so simulated.
void MultiCard_Sim20Cards_AllThreads(benchmark::State& state)
{
    CardSet set;
    for (int c = 0; c < kMaxCards; ++c)
        set.cards.push_back(
            {c + 1, (c + 7) % 80 + 1, (c + 23) % 80 + 1, (c + 41) % 80 + 1, (c + 59) % 80 + 1});
    const CardSetGame game = multiCardGame();
    CardSetOptions options;
    options.plays = 2'000'000;
    options.threads = 0;
    std::int64_t plays = 0;
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock(); // every thread's processor time
    for (auto _ : state) {
        ++options.seed;
        const CardSetAnalysis analysis = SimulateCardSet(game, set, options);
        benchmark::DoNotOptimize(analysis.returnPct);
        plays += analysis.plays;
    }
    const double ns =
        std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    state.counters["ns_per_draw"] = plays > 0 ? ns / static_cast<double>(plays) : 0;
    // On a machine shared with other work the wall clock overstates the time: the processor time
    // over every thread, divided by the cores, is what the cores alone would take.
    const double cpuNs = 1e9 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    state.counters["cpu_ns_per_draw"] = plays > 0 ? cpuNs / static_cast<double>(plays) : 0;
}
BENCHMARK(MultiCard_Sim20Cards_AllThreads)->Unit(benchmark::kMillisecond);

} // namespace
