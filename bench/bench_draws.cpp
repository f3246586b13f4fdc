// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers
// A player's draw history of a million draws: reading the file's text and running every test of
// it. The text, a lottery's CSV layout (draw number, date, 20 numbers, multiplier), is written
// once before the timing. Reports ns_per_draw (wall-clock time of reading and testing).

#include "engine/common/kenorandom.h"
#include "engine/play/deck.h"
#include "engine/randomness/drawhistory.h"
#include "engine/randomness/drawtests.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <string>

using namespace tallyhawk;

namespace {

constexpr std::int64_t kMillion = 1'000'000;

std::string historyText(std::int64_t draws)
{
    KenoRandom random(77);
    DrawDeck deck = OrderedDeck();
    std::string text = "Draw,Date,Numbers,Multiplier\n";
    text.reserve(static_cast<std::size_t>(draws) * 80);
    for (std::int64_t d = 0; d < draws; ++d) {
        ShuffleDeck(deck, random, 20);
        text += std::to_string(3'000'000 + d) + ",2026-12-07";
        for (int i = 1; i <= 20; ++i)
            text += "," + std::to_string(deck[static_cast<std::size_t>(i)]);
        text += "," + std::to_string(1 + random.below(5)) + "\n";
    }
    return text;
}

void Draws_Million(benchmark::State& state)
{
    const std::string text = historyText(kMillion);
    std::int64_t draws = 0;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::vector<KenoDraw> history;
        std::string error;
        DrawTestResults results;
        if (!ParseDrawHistory(text, &history, &error) || !RunDrawTests(history, {}, &results)) {
            state.SkipWithError(error.c_str());
            return;
        }
        benchmark::DoNotOptimize(results.counts.figure.statistic);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        draws += results.draws;
    }
    state.counters["ns_per_draw"] = draws > 0 ? 1e9 * seconds / static_cast<double>(draws) : 0;
}

} // namespace

BENCHMARK(Draws_Million)->Unit(benchmark::kMillisecond)->Iterations(3);
