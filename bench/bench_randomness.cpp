// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// Games per second of the randomness test: the board's draw as far as the twenty numbers
// counted, on one thread and on every core. Each reports ns_per_game (wall-clock time).

#include "engine/randomness/randomness.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>

using namespace tallyhawk;

namespace {

using Clock = std::chrono::steady_clock;

void runTest(benchmark::State& state, int threads)
{
    constexpr std::int32_t kGames = 20'000'000;
    std::uint64_t seed = 12345;
    std::int64_t games = 0;
    const Clock::time_point start = Clock::now();
    for (auto _ : state) {
        const RandomnessOutcome outcome = RunRandomnessTest(kGames, ++seed, {}, nullptr, threads);
        benchmark::DoNotOptimize(outcome.statistic);
        games += outcome.gamesPlayed;
    }
    const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    state.counters["ns_per_game"] = games > 0 ? ns / static_cast<double>(games) : 0;
}

void Randomness_1Thread(benchmark::State& state)
{
    runTest(state, 1);
}

void Randomness_AllThreads(benchmark::State& state)
{
    runTest(state, 0);
}

} // namespace

BENCHMARK(Randomness_1Thread)->Unit(benchmark::kMillisecond);
BENCHMARK(Randomness_AllThreads)->Unit(benchmark::kMillisecond);
