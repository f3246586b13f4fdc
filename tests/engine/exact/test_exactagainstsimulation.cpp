// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The exact figures against a seeded simulation: each session figure, and the return, within four
// standard errors.

#include "engine/exact/exactodds.h"
#include "engine/sim/sessionstats.h"
#include "engine/sim/simulation.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace tallyhawk;

TEST(ExactAgainstSimulation, SessionFiguresAndReturnsAgree)
{
    const ExactGame plain{5, {0, 0, 1, 3, 15, 300}, {}, {}, {}, {}, ""};
    const ExactGame cleopatra{8, {0, 0, 0, 0, 3, 10, 56, 180, 1000}, {}, {}, {20, 12, 2, 1, 1, 1}, {}, ""};
    const ExactGame plus{8, {0, 0, 0, 0, 1, 5, 50, 500, 5000}, {}, {}, {0, 0, 1, 1, 4, 10}, {true, true}, ""};
    // The plain game past ten million games: the log keeps the first ten million, 100,000 sessions.
    for (const auto& [game, games] :
         {std::pair{plain, std::int64_t{10'020'000}}, {cleopatra, 2'000'000}, {plus, 1'000'000}}) {
        SimulationInput input{{},       false, {}, game.simulationBonus, game.simulationKind, games,
                              20261206, 0,     ""};
        for (int n = 1; n <= game.marked; ++n) {
            input.markedNumbers.push_back(11 * n - 8);
            input.payPerCatch[n] = static_cast<std::int32_t>(game.pays[n]);
        }
        const SimulationResult result = RunSimulation(input);
        ASSERT_EQ(result.sessionLog.size(),
                  static_cast<std::size_t>(std::min(games / 100, kMaxSessions) + 1));
        const SessionFigures simulated = ComputeSessionFigures(
            FoldSessionHistogram(BuildSessionHistogram(result.sessionLog, result.gamesPlayed)));
        const ExactAnalysis exact = AnalyseExact(game);
        SCOPED_TRACE(game.marked);
        auto expectNear = [&](double simulatedPercent, double exactPercent) {
            const double p = exactPercent / 100.0;
            EXPECT_NEAR(simulatedPercent, exactPercent,
                        4 * 100.0 * std::sqrt(p * (1 - p) / simulated.sessions));
        };
        expectNear(simulated.losingPercent(), exact.session.losingPct);
        expectNear(simulated.breakevenOrWinningPercent(), exact.session.breakevenOrWinningPct);
        expectNear(simulated.doubledPercent(), exact.session.doublePct);
        expectNear(simulated.fiveFoldPercent(), exact.session.fiveFoldPct);
        expectNear(simulated.losingHalfPercent(), exact.session.loseHalfPct);
        EXPECT_NEAR(result.percentReturn(), exact.simulation.returnPct,
                    4 * 100.0 * exact.simulation.standardDeviation / std::sqrt(static_cast<double>(games)));
    }
}
