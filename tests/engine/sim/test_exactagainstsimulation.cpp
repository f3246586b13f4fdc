// The exact session figures against a seeded simulation of ten million games: each figure of
// the 100,000 sessions must lie within four standard errors of its exact probability.

#include "engine/sim/exactodds.h"
#include "engine/sim/sessionstats.h"
#include "engine/sim/simulation.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace tallyhawk;

namespace {

struct Table
{
    const char* name;
    std::vector<int> ticket;
    std::array<std::int32_t, 11> pays;
    SimulationBonus bonus;
};

void expectNear(double simulatedPercent, double exactPercent, double sessions, const char* figure)
{
    const double p = exactPercent / 100.0;
    const double standardError = 100.0 * std::sqrt(std::max(p * (1 - p), 1e-12) / sessions);
    EXPECT_NEAR(simulatedPercent, exactPercent, 4 * standardError) << figure;
}

} // namespace

TEST(ExactAgainstSimulation, SessionFiguresAgreeOverTenMillionGames)
{
    SimulationBonus cleopatra;
    cleopatra.BonusBall = 20;
    cleopatra.FreeGames = 12;
    cleopatra.BonusFactor = 2;
    const std::vector<Table> tables = {
        {"Plain Keno", {3, 14, 25, 36, 47}, {0, 0, 1, 3, 15, 300, 0, 0, 0, 0, 0}, {}},
        {"Cleopatra Keno",
         {1, 12, 23, 34, 45, 56, 67, 78},
         {0, 0, 0, 0, 3, 10, 56, 180, 1000, 0, 0},
         cleopatra},
    };
    for (const Table& table : tables) {
        SimulationInput input;
        input.markedNumbers = table.ticket;
        input.payPerCatch = table.pays;
        input.bonus = table.bonus;
        input.kind = SimulationGameKind(table.name);
        input.games = 10'000'000;
        input.seed = 20261206;
        const SimulationResult result = RunSimulation(input);
        ASSERT_TRUE(result.error.empty()) << result.error;
        const SessionFigures simulated = ComputeSessionFigures(
            FoldSessionHistogram(BuildSessionHistogram(result.sessionLog, result.gamesPlayed)));
        ASSERT_EQ(simulated.sessions, 100000);

        ExactGame game;
        game.marked = static_cast<int>(table.ticket.size());
        for (int c = 0; c <= 10; ++c)
            game.pays[c] = table.pays[c];
        game.simulationBonus = table.bonus;
        game.simulationKind = SimulationGameKind(table.name);
        const ExactAnalysis exact = AnalyseExact(game);
        ASSERT_TRUE(exact.ok()) << exact.error;

        SCOPED_TRACE(table.name);
        const double sessions = simulated.sessions;
        expectNear(simulated.losingPercent(), exact.session.losingPct, sessions, "losing");
        expectNear(simulated.breakevenOrWinningPercent(), exact.session.breakevenOrWinningPct, sessions,
                   "breakeven");
        expectNear(simulated.doubledPercent(), exact.session.doublePct, sessions, "double");
        expectNear(simulated.fiveFoldPercent(), exact.session.fiveFoldPct, sessions, "five-fold");
        expectNear(simulated.losingHalfPercent(), exact.session.loseHalfPct, sessions, "lose half");
        // The return over all ten million games, within four standard errors of the exact one.
        const double returnError = 4 * 100.0 * exact.simulation.standardDeviation / std::sqrt(1e7);
        EXPECT_NEAR(result.percentReturn(), exact.simulation.returnPct, returnError);
    }
}
