// The exact analysis of a whole game (both rule sets and the 100-game session figures), which
// the windows recompute whenever the game or the ticket changes: it must stay well under 10 ms.

#include "engine/sim/exactodds.h"

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

// Red Rock's Caveman Plus Keno, 8 spots: eggs pay 1, 4 and 8 times.
void Exact_CavemanPlus8(benchmark::State& state)
{
    ExactGame game;
    game.marked = 8;
    game.pays = {0, 0, 0, 1, 2, 4, 20, 200, 2000};
    game.Egg1Bonus = 1;
    game.Egg2Bonus = 4;
    game.Egg3Bonus = 8;
    SetGameKind(game, "Caveman Plus Keno", ExactRules::Board);
    analyse(state, game);
}
BENCHMARK(Exact_CavemanPlus8)->Unit(benchmark::kMillisecond);

// Cleopatra Keno, 8 spots: 12 free games at 2x when the 20th ball hits.
void Exact_Cleopatra8(benchmark::State& state)
{
    ExactGame game;
    game.marked = 8;
    game.pays = {0, 0, 0, 0, 3, 10, 56, 180, 1000};
    game.BonusBall = 20;
    game.FreeGames = 12;
    game.BonusFactor = 2;
    analyse(state, game);
}
BENCHMARK(Exact_Cleopatra8)->Unit(benchmark::kMillisecond);

} // namespace
