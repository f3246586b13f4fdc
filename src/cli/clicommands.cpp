// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "clicommands.h"

#include "db/paytable.h"
#include "engine/common/numberforms.h"
#include "engine/exact/exactodds.h"
#include "engine/randomness/randomness.h"
#include "engine/sim/sessionstats.h"
#include "engine/sim/simulation.h"
#include "progressline.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace tallyhawk::cli {

namespace {

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

QString fixed(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString jsonText(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
}

QJsonObject gameObject(const GameKey& key)
{
    return {{"location", qs(key.Location)}, {"casino", qs(key.Casino)}, {"game", qs(key.Game)}};
}

template <typename Range> QJsonArray jsonArray(const Range& values)
{
    QJsonArray array;
    for (const auto& value : values)
        array.append(static_cast<double>(value));
    return array;
}

CommandResult failure(const QString& error, int status = kExitFailure)
{
    CommandResult result;
    result.status = status;
    result.error = error;
    return result;
}

// The six session figures, under the names the JSON output gives them.
struct SessionNumbers
{
    double losingPct = 0;
    double breakevenOrWinningPct = 0;
    int mode = 0;
    double doublePct = 0;
    double fiveFoldPct = 0;
    double loseHalfPct = 0;
};

QJsonObject sessionJson(const SessionNumbers& s)
{
    return {{"losing_pct", s.losingPct},
            {"breakeven_or_winning_pct", s.breakevenOrWinningPct},
            {"most_likely_win", s.mode},
            {"most_likely_outcome", qs(MostLikelyOutcome(s.mode, s.fiveFoldPct))},
            {"double_pct", s.doublePct},
            {"five_fold_pct", s.fiveFoldPct},
            {"lose_half_pct", s.loseHalfPct}};
}

// The summary's wording, one decimal as the summary shows it.
QString sessionText(const SessionNumbers& s)
{
    QString text;
    text += "  Percentage of Losing Sessions: " + qs(FormatOneDecimal(s.losingPct)) + " %\n";
    text +=
        "  Percentage of Breakeven or Winning Sessions: " + qs(FormatOneDecimal(s.breakevenOrWinningPct)) +
        " %\n";
    text += "  Most Likely End of Session Outcome: " + qs(MostLikelyOutcome(s.mode, s.fiveFoldPct)) + "\n";
    text +=
        "  You Will Double Your Money (or Better) " + qs(FormatOneDecimal(s.doublePct)) + " % of the Time\n";
    text += "  You Will Multiply Your Money by 5X or more " + qs(FormatOneDecimal(s.fiveFoldPct)) +
            " % of the Time\n";
    text += "  You Will Lose Half of Your Money (or Worse) " + qs(FormatOneDecimal(s.loseHalfPct)) +
            " % of the Time\n";
    return text;
}

int textWidth(const std::string& text)
{
    return static_cast<int>(qs(text).size());
}

QString countText(std::int64_t n)
{
    return QString::number(static_cast<long long>(n));
}

} // namespace

CommandResult RunGamesCommand(const CommandInput& input)
{
    std::vector<CatalogueGame> games;
    QString error;
    if (!ReadCatalogue(input.db, &games, &error))
        return failure("The game list cannot be read: " + error);

    struct Line
    {
        const CatalogueGame* game;
        std::array<TicketReturns, kMaxMarks> returns;
        // Why odds would refuse the count; its returns are then left out, as odds gives none.
        std::array<std::string, kMaxMarks> refusals;
    };
    std::vector<Line> lines;
    for (const CatalogueGame& game : games) {
        KenoGame rules;
        if (!ReadGame(input.db, GameSql(game.key), &rules, &error))
            return failure("The pays of " + GameTitle(game.key) + " cannot be read: " + error);
        Line line{&game, {}, {}};
        for (int m = 1; m <= kMaxMarks; ++m) {
            const auto i = static_cast<std::size_t>(m - 1);
            line.refusals[i] = ExactGameError(ExactGameOf(rules, m), 1);
            if (line.refusals[i].empty())
                line.returns[i] = TicketReturnsOf(rules, m);
        }
        lines.push_back(line);
    }

    CommandResult result;
    if (input.json) {
        QJsonArray list;
        for (const Line& line : lines) {
            QJsonObject object = gameObject(line.game->key);
            QJsonArray payTable, board, exactBet, refused;
            for (const TicketReturns& r : line.returns) {
                payTable.append(r.payTable ? QJsonValue(*r.payTable) : QJsonValue());
                board.append(r.wholeCredits ? QJsonValue(*r.wholeCredits) : QJsonValue());
                exactBet.append(r.payTable && r.exactBet ? QJsonValue(*r.exactBet) : QJsonValue());
            }
            for (const std::string& refusal : line.refusals)
                refused.append(refusal.empty() ? QJsonValue() : QJsonValue(qs(refusal)));
            object["return_pct_paytable"] = payTable;
            object["return_pct_board"] = board;
            object["exact_bet"] = exactBet;
            object["refused"] = refused;
            list.append(object);
        }
        result.out = jsonText({{"bet", 1}, {"games", list}});
        return result;
    }

    int locationWidth = 8, casinoWidth = 6, gameWidth = 4;
    for (const CatalogueGame& game : games) {
        locationWidth = std::max(locationWidth, textWidth(game.key.Location));
        casinoWidth = std::max(casinoWidth, textWidth(game.key.Casino));
        gameWidth = std::max(gameWidth, textWidth(game.key.Game));
    }
    constexpr int kColumn = 7;
    QString text = "Return % of each marked count: the pay table's own return, each pay times the bet, "
                   "bonus features included\n(blank: the game pays nothing for that count; -: the count "
                   "cannot be figured, for the reason given below)\n\n";
    // Names are padded, not put through arg(), so that a name holding "%1" stays as it is.
    auto columns = [&](const QString& location, const QString& casino, const QString& game) {
        return location.leftJustified(locationWidth) + "  " + casino.leftJustified(casinoWidth) + "  " +
               game.leftJustified(gameWidth);
    };
    QString header = columns("Location", "Casino", "Game");
    for (int m = 1; m <= kMaxMarks; ++m)
        header += QStringLiteral("%1 ").arg(m, kColumn);
    text += header.trimmed() + "\n";
    QStringList notes, refused;
    for (const Line& line : lines) {
        QString row =
            columns(qs(line.game->key.Location), qs(line.game->key.Casino), qs(line.game->key.Game));
        for (int m = 1; m <= kMaxMarks; ++m) {
            const TicketReturns& r = line.returns[static_cast<std::size_t>(m - 1)];
            const std::string& refusal = line.refusals[static_cast<std::size_t>(m - 1)];
            row += QStringLiteral("%1%2")
                       .arg(!refusal.empty() ? QString("-")
                            : r.payTable     ? fixed(*r.payTable, 2)
                                             : QString(),
                            kColumn)
                       .arg(r.differs() ? "*" : " ");
            if (!refusal.empty())
                refused << QStringLiteral("  %1, %2 spots: %3")
                               .arg(GameTitle(line.game->key))
                               .arg(m)
                               .arg(qs(refusal));
            if (r.differs())
                notes << QStringLiteral("  %1, %2 spots: %3 %. %4")
                             .arg(GameTitle(line.game->key))
                             .arg(m)
                             .arg(fixed(*r.wholeCredits, 2), qs(ExactBetNote(r.exactBet)));
        }
        while (row.endsWith(' '))
            row.chop(1);
        text += row + "\n";
    }
    text += QStringLiteral("\n%1 games\n").arg(lines.size());
    if (!refused.isEmpty())
        text += "\n- Cannot be figured (odds refuses them too):\n" + refused.join("\n") + "\n";
    if (!notes.isEmpty())
        text += "\n* At a bet of 1 the board rounds each pay to whole credits (a pay of 0.5 pays nothing), "
                "and returns:\n" +
                notes.join("\n") + "\n";
    result.out = text;
    return result;
}

CommandResult RunOddsCommand(const CommandInput& input)
{
    const ExactGame game = ExactGameOf(input.rules, input.spots);
    const ExactAnalysis exact = AnalyseExact(game, input.bet);
    if (!exact.ok())
        return failure(GameTitle(input.game.key) + " cannot be analysed: " + qs(exact.error));

    const ExactAnalysis& board = exact;
    const ExactOdds& sim = exact.simulation;
    const ExactSessionFigures& session = exact.session;
    const SessionNumbers figures{session.losingPct, session.breakevenOrWinningPct, session.mode,
                                 session.doublePct, session.fiveFoldPct,           session.loseHalfPct};
    const std::optional<ExactFraction> fraction = SimulationReturnFraction(game);
    const TicketReturns returns = TicketReturnsOf(input.rules, input.spots);

    CommandResult result;
    if (input.json) {
        QJsonObject object{
            {"game", gameObject(input.game.key)},
            {"spots", input.spots},
            {"bet", input.bet},
            {"pays", jsonArray(game.pays)},
            {"catch_probabilities", jsonArray(sim.catchProbability)},
            {"return_pct_paytable", returns.payTable ? QJsonValue(*returns.payTable) : QJsonValue()},
            {"exact_bet", returns.exactBet ? QJsonValue(*returns.exactBet) : QJsonValue()},
            {"return_pct_board", board.board.returnPct},
            {"return_pct_simulation", sim.returnPct},
            {"sd_per_game", sim.standardDeviation},
            {"sd_per_game_board", board.board.standardDeviation},
            {"hit_rate", sim.hitRate},
            {"hit_rate_board", board.board.hitRate},
            {"session", sessionJson(figures)}};
        if (fraction)
            object["return_simulation_fraction"] = qs(fraction->text());
        result.out = jsonText(object);
        return result;
    }

    QString text = GameTitle(input.game.key) + QStringLiteral(", %1 spots\n\n").arg(input.spots);
    text +=
        QStringLiteral("%1  %2  %3  %4\n").arg("Catch").arg("Pay", 8).arg("Probability", 14).arg("1 in", 16);
    for (int c = 0; c <= std::min(input.spots, kMaxMarks); ++c) {
        const double p = sim.catchProbability[static_cast<std::size_t>(c)];
        text += QStringLiteral("%1  %2  %3  %4\n")
                    .arg(c, 5)
                    .arg(qs(PlainForm(game.pays[static_cast<std::size_t>(c)])), 8)
                    .arg(fixed(p, 10), 14)
                    .arg(p > 0 ? fixed(1 / p, 2) : QString("-"), 16);
    }
    const BonusValues& bonus = game.boardBonus;
    if (bonus.BonusBall != 0 || bonus.FreeGames != 0 || bonus.BonusFactor != 1 || game.boardKind.caveman)
        text +=
            QStringLiteral("Bonus: Bonus Ball %1, Free Games %2, Bonus Factor %3, Egg bonuses %4, %5, %6\n")
                .arg(bonus.BonusBall)
                .arg(bonus.FreeGames)
                .arg(bonus.BonusFactor)
                .arg(bonus.Egg1Bonus)
                .arg(bonus.Egg2Bonus)
                .arg(bonus.Egg3Bonus);
    text += "\n";
    auto line = [](const QString& label, const QString& value) {
        return label.leftJustified(36) + value + "\n";
    };
    if (returns.payTable)
        text += line("Return of the pay table:",
                     fixed(*returns.payTable, 4) + " % (each pay times the bet, as casinos publish it)");
    text +=
        line(QStringLiteral("Return, board rules at a bet of %1:").arg(input.bet),
             fixed(board.board.returnPct, 4) + " %" +
                 (input.bet == 1 && returns.differs() ? " (each pay rounded to whole credits)" : QString()));
    if (returns.payTable && returns.exactBet != 1)
        text += line("", qs(ExactBetNote(returns.exactBet)));
    text += line("Return, simulation rules:",
                 fixed(sim.returnPct, 4) + " %" +
                     (fraction ? " (" + qs(fraction->text()) + " per credit)" : QString()));
    text += line("Standard deviation per game:",
                 fixed(sim.standardDeviation, 4) + " credits (simulation rules, one credit bet)");
    text += line("Hit rate:", fixed(100 * sim.hitRate, 4) + " % (1 in " +
                                  (sim.hitRate > 0 ? fixed(1 / sim.hitRate, 2) : QString("-")) + ")");
    text += "\nSessions of 100 one-credit games (exact, independent games, simulation rules):\n";
    text += sessionText(figures);
    result.out = text;
    return result;
}

CommandResult RunSimulateCommand(const CommandInput& input)
{
    // Without a ticket only the count matters: every game picks its numbers anew.
    const std::vector<int> ticket =
        input.ticket ? *input.ticket : std::vector<int>(static_cast<std::size_t>(input.spots));
    SimulationInput simulation = BuildSimulationInput(input.rules, ticket, !input.ticket, input.games);
    const std::array<double, kMaxMarks + 1> pays = input.rules.pays(input.spots);
    simulation.seed = input.seed;
    simulation.threads = input.threads;
    if (const std::string refusal = CheckSimulationInput(simulation); !refusal.empty())
        return failure(GameTitle(input.game.key) + " cannot be simulated: " + qs(refusal));

    ProgressLine progress(input.progress, "simulate", input.games);
    const SimulationResult run = RunSimulation(
        simulation, [&progress](const SimulationTotals& totals) { progress.update(totals.gamesPlayed); });
    progress.finish();
    if (!run.error.empty())
        return failure(GameTitle(input.game.key) + " cannot be simulated: " + qs(run.error));

    const SessionFigures sessions =
        ComputeSessionFigures(FoldSessionHistogram(BuildSessionHistogram(run.sessionLog, run.gamesPlayed)));
    const SessionNumbers figures{
        sessions.losingPercent(),  sessions.breakevenOrWinningPercent(), sessions.mode,
        sessions.doubledPercent(), sessions.fiveFoldPercent(),           sessions.losingHalfPercent()};

    // The exact return under the same rules, and the interval in which this run's return falls 95
    // times in 100: run and mathematics agree when the exact return lies inside it.
    const ExactAnalysis exact = AnalyseExact(ExactGameOf(input.rules, input.spots), 1);
    const double percent = run.percentReturn();
    const std::optional<ReturnInterval> interval =
        exact.ok() ? SimulatedReturnInterval(percent, exact.simulation.standardDeviation, run.gamesPlayed)
                   : std::nullopt;

    CommandResult result;
    if (input.json) {
        QJsonObject object{{"game", gameObject(input.game.key)},
                           {"spots", input.spots},
                           {"random_picks", simulation.randomPicks},
                           {"games", static_cast<qint64>(input.games)},
                           {"games_played", static_cast<qint64>(run.gamesPlayed)},
                           {"seed", QString::number(input.seed)},
                           {"pay_per_catch", jsonArray(simulation.payPerCatch)},
                           {"catch_frequency", jsonArray(run.catchFrequency)},
                           {"base_winnings", static_cast<qint64>(run.baseWinnings)},
                           {"bonus_winnings", run.bonusWinnings},
                           {"total_winnings", run.totalWinnings()},
                           {"bonus_events", static_cast<qint64>(run.bonusEvents)},
                           {"return_pct", percent}};
        if (input.ticket)
            object["ticket"] = jsonArray(*input.ticket);
        if (exact.ok())
            object["exact_return_pct"] = exact.simulation.returnPct;
        if (interval)
            object["return_pct_interval_95"] = QJsonArray{interval->low, interval->high};
        QJsonObject session = sessions.sessions > 0 ? sessionJson(figures) : QJsonObject{};
        if (sessions.sessions == 0)
            for (const char* key : {"losing_pct", "breakeven_or_winning_pct", "most_likely_win",
                                    "most_likely_outcome", "double_pct", "five_fold_pct", "lose_half_pct"})
                session[key] = QJsonValue();
        session["sessions"] = sessions.sessions;
        object["session"] = session;
        result.out = jsonText(object);
        return result;
    }

    QString text = GameTitle(input.game.key) + "\n";
    if (input.ticket) {
        QStringList numbers;
        for (int n : *input.ticket)
            numbers << QString::number(n);
        text += "Ticket: " + numbers.join(", ") + "\n";
    } else {
        text += QStringLiteral("Ticket: %1 numbers picked at random every game\n").arg(input.spots);
    }
    text += QStringLiteral("Games: %1, seed %2\n\n").arg(countText(input.games)).arg(input.seed);
    text += QStringLiteral("%1  %2  %3  %4\n")
                .arg("Catch")
                .arg("Frequency", 12)
                .arg("Pay", 8)
                .arg("Winnings", 14);
    for (int c = 0; c <= input.spots; ++c) {
        const auto i = static_cast<std::size_t>(c);
        text += QStringLiteral("%1  %2  %3  %4\n")
                    .arg(c, 5)
                    .arg(countText(run.catchFrequency[i]), 12)
                    .arg(qs(PlainForm(pays[i])), 8)
                    .arg(qs(PlainForm(pays[i] * static_cast<double>(run.catchFrequency[i]))), 14);
    }
    text += QStringLiteral("%1  %2  %3  %4\n")
                .arg("Bonus")
                .arg(countText(run.bonusEvents), 12)
                .arg("", 8)
                .arg(qs(PlainForm(run.bonusWinnings)), 14);
    text += "\n";
    text += "Total Credits Bet = " + countText(run.gamesPlayed) + "\n";
    text += "Total Winnings = " + qs(PlainForm(run.totalWinnings())) + "\n";
    text += "Total Pct Return = " + qs(FormatTwoDecimals(percent)) + "\n";
    if (exact.ok())
        text += QStringLiteral("Exact return under the simulation's rules: %1 %\n")
                    .arg(fixed(exact.simulation.returnPct, 2));
    if (interval)
        text +=
            QStringLiteral("This run's 95% interval: %1 to %2 % (%3)\n")
                .arg(fixed(interval->low, 2), fixed(interval->high, 2),
                     interval->contains(exact.simulation.returnPct)
                         ? "the exact return lies inside"
                         : "the exact return lies outside, as it does for about one honest run in twenty");
    text += QStringLiteral("\nSessions of 100 games among the first ten million games: %1\n")
                .arg(sessions.sessions);
    if (sessions.sessions > 0)
        text += sessionText(figures);
    result.out = text;
    return result;
}

CommandResult RunRandomnessCommand(const CommandInput& input)
{
    const auto games = static_cast<std::int32_t>(input.games);
    ProgressLine progress(input.progress, "randomness", games);
    const RandomnessOutcome outcome = RunRandomnessTest(
        games, input.seed, [&progress](const RandomnessTest& test) { progress.update(test.gamesPlayed()); },
        nullptr, input.threads);
    progress.finish();
    const std::string verdict = RandomnessVerdict(outcome.statistic);

    CommandResult result;
    if (input.json) {
        result.out = jsonText({{"games", games},
                               {"seed", QString::number(input.seed)},
                               {"expected_count", games / 4},
                               {"deviations", jsonArray(outcome.deviations)},
                               {"chi_square", outcome.statistic},
                               {"degrees_of_freedom", kRandomnessDegreesOfFreedom},
                               {"verdict", qs(verdict)},
                               {"passes", RandomnessPasses(outcome.statistic)},
                               {"p_value", outcome.pValue},
                               {"message", qs(RandomnessMessage(outcome.statistic)).replace("\r\n", "\n")}});
        return result;
    }

    int width = 4;
    for (std::int64_t v : outcome.deviations)
        width = std::max(width, static_cast<int>(countText(v).size()) + 1);
    QString text = QStringLiteral("Randomness test of %1 games, seed %2\n").arg(games).arg(input.seed);
    text += QStringLiteral("Each number's count less the expected count of %1:\n\n").arg(games / 4);
    QString header = QStringLiteral("%1").arg("", 8);
    for (int k = 1; k <= 10; ++k)
        header += QStringLiteral("%1").arg("C" + QString::number(k), width + 1);
    text += header + "\n";
    for (int r = 0; r < 8; ++r) {
        QString row =
            QStringLiteral("%1").arg(QStringLiteral("%1 - %2").arg(10 * r + 1).arg(10 * r + 10), -8);
        for (int k = 1; k <= 10; ++k)
            row += QStringLiteral("%1").arg(
                countText(outcome.deviations[static_cast<std::size_t>(10 * r + k - 1)]), width + 1);
        text += row + "\n";
    }
    text += "\n" + qs(RandomnessMessage(outcome.statistic)).replace("\r\n", "\n") + "\n";
    text += QStringLiteral("p-value = %1 (two-sided, chi-square with %2 degrees of freedom)\n")
                .arg(fixed(outcome.pValue, 6))
                .arg(kRandomnessDegreesOfFreedom);
    result.out = text;
    return result;
}

} // namespace tallyhawk::cli
