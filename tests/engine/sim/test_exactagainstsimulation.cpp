// The exact session figures against a seeded simulation: each figure of the simulated sessions
// must lie within four standard errors of its exact probability.

#include "engine/sim/exactodds.h"
#include "engine/sim/sessionstats.h"
#include "engine/sim/simulation.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace tallyhawk;

TEST(ExactAgainstSimulation, SessionFiguresAgree)
{
    const ExactGame plain{5, {0, 0, 1, 3, 15, 300}, {}, {}, {}, {}, ""};
    const ExactGame cleopatra{8, {0, 0, 0, 0, 3, 10, 56, 180, 1000}, {}, {}, {20, 12, 2, 1, 1, 1}, {}, ""};
    const ExactGame plus{8, {0, 0, 0, 0, 1, 5, 50, 500, 5000}, {}, {}, {0, 0, 1, 1, 4, 10}, {true, true}, ""};
    // The plain game past ten million games: the log keeps the first ten million, 100,000 sessions.
    for (const auto& [game, games] :
         {std::pair{plain, std::int64_t{10'020'000}}, {cleopatra, 2'000'000}, {plus, 1'000'000}}) {
        SimulationInput input{{},       false, {}, game.simulationBonus, game.simulationKind, games,
                              20261206, 0,     ""};
        for (int n = 1; n <= game.marked; ++n)
            input.markedNumbers.push_back(11 * n - 8);
        for (int c = 0; c <= 10; ++c)
            input.payPerCatch[c] = static_cast<std::int32_t>(game.pays[c]);
        const SimulationResult result = RunSimulation(input);
        ASSERT_TRUE(result.error.empty()) << result.error;
        ASSERT_EQ(result.sessionLog.size(),
                  static_cast<std::size_t>(std::min(games / 100, kMaxSessions) + 1));
        const SessionFigures simulated = ComputeSessionFigures(
            FoldSessionHistogram(BuildSessionHistogram(result.sessionLog, result.gamesPlayed)));
        const ExactAnalysis exact = AnalyseExact(game);
        ASSERT_TRUE(exact.ok()) << exact.error;

        SCOPED_TRACE(game.marked);
        auto expectNear = [&](double simulatedPercent, double exactPercent, const char* figure) {
            const double p = exactPercent / 100.0;
            const double standardError = 100.0 * std::sqrt(std::max(p * (1 - p), 1e-12) / simulated.sessions);
            EXPECT_NEAR(simulatedPercent, exactPercent, 4 * standardError) << figure;
        };
        expectNear(simulated.losingPercent(), exact.session.losingPct, "losing");
        expectNear(simulated.breakevenOrWinningPercent(), exact.session.breakevenOrWinningPct, "breakeven");
        expectNear(simulated.doubledPercent(), exact.session.doublePct, "double");
        expectNear(simulated.fiveFoldPercent(), exact.session.fiveFoldPct, "five-fold");
        expectNear(simulated.losingHalfPercent(), exact.session.loseHalfPct, "lose half");
        // The return over all the games, within four standard errors of the exact one.
        EXPECT_NEAR(result.percentReturn(), exact.simulation.returnPct,
                    4 * 100.0 * exact.simulation.standardDeviation / std::sqrt(static_cast<double>(games)));
    }
}
