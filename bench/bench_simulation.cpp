// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// Games per second of the payout simulation. The baseline plays the games the literal way
// (80-entry flag arrays, two shuffle passes per game with positions from a single-precision
// value, an 80-term sum for the hits) on one thread; the engine draws the twenty numbers into
// a bit set on one thread and on every core. Each reports ns_per_game.

#include "engine/common/kenorandom.h"
#include "engine/sim/simulation.h"

#include <algorithm>
#include <array>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <vector>

using namespace tallyhawk;

namespace {

using Clock = std::chrono::steady_clock;

const std::vector<int> kFiveSpot{3, 17, 42, 64, 65};
const std::array<std::int32_t, 11> kFiveSpotPays{0, 0, 0, 1, 10, 800};
const std::vector<int> kEightSpot{1, 2, 9, 33, 40, 64, 65, 80};
const std::array<std::int32_t, 11> kEightSpotPays{0, 0, 0, 0, 1, 5, 50, 500, 5000};

// The games of a plain ticket as the rules describe them, step by step.
class LiteralSimulation
{
public:
    LiteralSimulation(const std::vector<int>& ticket, const std::array<std::int32_t, 11>& pays,
                      std::uint64_t seed)
        : m_random(seed), m_pay(pays)
    {
        for (int n = 1; n <= 80; ++n)
            m_deck[n] = n;
        for (int number : ticket)
            m_marked[number] = 1;
        shufflePass(m_deck);
        for (int j = 1; j <= 20; ++j)
            m_drawn[m_deck[j]] = 1;
    }

    void play(std::int64_t games)
    {
        for (std::int64_t i = 0; i < games; ++i) {
            ++m_game;
            shufflePass(m_drawn);
            shufflePass(m_drawn);
            for (int n = 1; n <= 80; ++n)
                m_hits[n] = static_cast<std::int16_t>(m_marked[n] * m_drawn[n]);
            const std::int16_t hits = arraySum(m_hits, 1, 80);
            ++m_frequency[hits];
            m_baseWinnings += m_pay[hits];
            if (m_game % 100 == 0 && m_game <= 10'000'000)
                m_sessionLog[m_game / 100] = static_cast<std::int32_t>(m_baseWinnings);
        }
    }

    std::int64_t baseWinnings() const { return m_baseWinnings; }

private:
    // Int(80 x u + 1) in single precision.
    int randomPosition()
    {
        const float u = m_random.uniform();
        return std::min(80, static_cast<int>(std::floor(80.0f * u + 1.0f)));
    }

    template <class T> void shufflePass(std::array<T, 81>& entries)
    {
        for (int i = 1; i <= 80; ++i)
            std::swap(entries[i], entries[randomPosition()]);
    }

    static std::int16_t arraySum(const std::array<std::int16_t, 81>& temp, int lo, int hi)
    {
        std::int16_t sum = 0;
        for (int i = lo; i <= hi; ++i)
            sum = static_cast<std::int16_t>(sum + temp[i]);
        return sum;
    }

    KenoRandom m_random;
    std::array<std::int32_t, 11> m_pay;
    std::array<std::int32_t, 81> m_deck{};
    std::array<std::int16_t, 81> m_marked{}, m_drawn{}, m_hits{};
    std::array<std::int32_t, 11> m_frequency{};
    std::int64_t m_baseWinnings = 0;
    std::int64_t m_game = 0;
    std::vector<std::int32_t> m_sessionLog = std::vector<std::int32_t>(100'001, 0);
};

void reportNsPerGame(benchmark::State& state, Clock::duration elapsed, std::int64_t games)
{
    const double ns = std::chrono::duration<double, std::nano>(elapsed).count();
    state.counters["ns_per_game"] = games > 0 ? ns / static_cast<double>(games) : 0;
}

void Baseline_Plain5(benchmark::State& state)
{
    constexpr std::int64_t kGamesPerIteration = 10'000;
    LiteralSimulation simulation(kFiveSpot, kFiveSpotPays, 12345);
    std::int64_t games = 0;
    const Clock::time_point start = Clock::now();
    for (auto _ : state) {
        simulation.play(kGamesPerIteration);
        games += kGamesPerIteration;
    }
    reportNsPerGame(state, Clock::now() - start, games);
    benchmark::DoNotOptimize(simulation.baseWinnings());
}

void runEngine(benchmark::State& state, SimulationInput input)
{
    std::int64_t games = 0;
    const Clock::time_point start = Clock::now();
    for (auto _ : state) {
        ++input.seed;
        const SimulationResult result = RunSimulation(input);
        benchmark::DoNotOptimize(result.baseWinnings);
        games += result.gamesPlayed;
    }
    reportNsPerGame(state, Clock::now() - start, games);
}

SimulationInput engineInput(const std::vector<int>& ticket, const std::array<std::int32_t, 11>& pays,
                            int threads)
{
    SimulationInput input;
    input.markedNumbers = ticket;
    input.payPerCatch = pays;
    input.kind =
        SimulationGameKind("NEVADA - Las Vegas       Some Casino                   Live Keno           ");
    input.games = 2'000'000;
    input.seed = 12345;
    input.threads = threads;
    return input;
}

void Engine_Plain5_1Thread(benchmark::State& state)
{
    runEngine(state, engineInput(kFiveSpot, kFiveSpotPays, 1));
}

void Engine_Plain5_AllThreads(benchmark::State& state)
{
    runEngine(state, engineInput(kFiveSpot, kFiveSpotPays, 0));
}

void Engine_CavemanPlus8_1Thread(benchmark::State& state)
{
    SimulationInput input = engineInput(kEightSpot, kEightSpotPays, 1);
    input.kind =
        SimulationGameKind("NEVADA - Las Vegas       Some Casino                   Caveman Plus        ");
    input.bonus.Egg1Bonus = 1;
    input.bonus.Egg2Bonus = 4;
    input.bonus.Egg3Bonus = 10;
    runEngine(state, input);
}

} // namespace

// ns_per_game is wall-clock time: the engine's runs use threads.
BENCHMARK(Baseline_Plain5);
BENCHMARK(Engine_Plain5_1Thread);
BENCHMARK(Engine_Plain5_AllThreads);
BENCHMARK(Engine_CavemanPlus8_1Thread);
