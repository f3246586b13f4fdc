// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "clisession.h"

#include "clioptions.h"
#include "engine/planner/cardsetplan.h"
#include "progressline.h"

#include <chrono>
#include <cstdio>
#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <random>

namespace tallyhawk::cli {

const char kSessionHelp[] =
    R"(Usage: tallyhawk-cli session --game "LOCATION|CASINO|GAME"
                            (--spots N | --ticket LIST | --cards CARDS | --ways GROUPS --way-spots SIZES)
                            --bet B --credits C --games N [--target T] [--floor F]
                            [--seed S] [--quiet] [--db FILE] [--json]

Plans a session under the board's rules: with C credits at the start and B credits bet on
each paid game, play at most N games, stop once the credits reach T, and stop when they fall
below F (always when they cannot cover the bet). Reports the chance of each way the session
ends (ruined, target reached, every game played) and of ending ahead, even or behind; the
credits at the end (their mean and their 5%, 25%, 50%, 75% and 95% points); the expected
number of games and the chance of still playing after each game; and the chance of making
each paid catch at least once. The figures are exact when the work fits a few seconds;
otherwise whole sessions are simulated and each figure comes with its 95% interval. The
output says which. A progress line goes to standard error.

  --game "LOCATION|CASINO|GAME"  the game, named as "tallyhawk-cli games" lists it (any case)
  --spots N                      the marked count, 1 to 10
  --ticket LIST                  a ticket such as 3,17,42 (only its count matters here)
  --cards CARDS                  several cards on one draw, separated by /, such as
                                 "1,2,3,4/3,4,5,6": each play bets B on every card
  --ways GROUPS --way-spots SIZES
                                 a way ticket: groups such as "1,2/3,4/5,6" and way sizes
                                 such as 2,4,6; each play bets B on every way
  --bet B                        the credits bet on each paid game, 1 to 45 (a card
                                 set's bet on each card)
  --credits C                    the credits at the start, at least the bet
  --games N                      the most paid games, 1 to 100000
  --target T                     stop once the credits reach T, above C (default: no target)
  --floor F                      stop when the credits fall below F, 0 to C (default: when
                                 they cannot cover the bet)
  --seed S                       the seed of a simulated plan, 0 to 18446744073709551615
                                 (default: a random seed, which is reported)
  --quiet                        no progress line
)";

namespace {

// The JSON keys of the end credits' points, one per kEndCreditLevels.
constexpr const char* kPointKeys[] = {"p5", "p25", "p50", "p75", "p95"};

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

QJsonArray pair(const PlanValue& value)
{
    return {value.low, value.high};
}

// A chance, in percent, with the figures of its interval when it has one.
QString chanceText(const PlanValue& value, bool simulated)
{
    QString text = QString::number(100 * value.value, 'f', 4) + " %";
    if (simulated)
        text += QStringLiteral("  (%1 to %2)")
                    .arg(QString::number(100 * value.low, 'f', 4), QString::number(100 * value.high, 'f', 4));
    return text;
}

QString amountText(const PlanValue& value, bool simulated, int decimals)
{
    QString text = QString::number(value.value, 'f', decimals);
    if (simulated)
        text +=
            QStringLiteral("  (%1 to %2)")
                .arg(QString::number(value.low, 'f', decimals), QString::number(value.high, 'f', decimals));
    return text;
}

QString line(const QString& label, const QString& value)
{
    return "  " + label.leftJustified(34) + value + "\n";
}

QString planText(const SessionPlan& plan)
{
    QString text = QStringLiteral("Plan: %1 a game, %2 credits at the start, at most %3 games")
                       .arg(plan.bet == 1 ? QString("1 credit") : QStringLiteral("%1 credits").arg(plan.bet))
                       .arg(plan.credits)
                       .arg(plan.games);
    text += plan.target ? QStringLiteral("; stop at %1 credits").arg(*plan.target) : QString("; no target");
    text += plan.floor ? QStringLiteral("; stop below %1 credits").arg(*plan.floor)
                       : QString("; stop when the credits cannot cover the bet");
    return text + "\n";
}

QJsonObject jsonOf(const CommandInput& input, const SessionPlan& plan, const SessionPlanResult& r)
{
    const bool simulated = r.method == PlanMethod::Simulation;
    auto optional = [](const std::optional<std::int64_t>& value) {
        return value ? QJsonValue(static_cast<qint64>(*value)) : QJsonValue();
    };
    QJsonObject points, pointIntervals;
    for (std::size_t k = 0; k < kEndCreditLevels.size(); ++k) {
        points[kPointKeys[k]] = r.endCreditPoints[k].value;
        pointIntervals[kPointKeys[k]] = pair(r.endCreditPoints[k]);
    }
    QJsonArray stillPlaying, stillPlayingIntervals;
    for (const PlanValue& value : r.stillPlaying) {
        stillPlaying.append(100 * value.value);
        stillPlayingIntervals.append(QJsonArray{100 * value.low, 100 * value.high});
    }
    QJsonArray catches, catchIntervals;
    for (const std::optional<PlanValue>& value : r.catchAtLeastOnce) {
        catches.append(value ? QJsonValue(100 * value->value) : QJsonValue());
        catchIntervals.append(value ? QJsonValue(QJsonArray{100 * value->low, 100 * value->high})
                                    : QJsonValue());
    }
    QJsonArray credits, shares;
    for (const CreditAtom& atom : r.endCredits) {
        credits.append(static_cast<qint64>(atom.credits));
        shares.append(100 * atom.probability);
    }
    auto percent = [](const PlanValue& value) {
        return 100 * value.value;
    };
    auto percentPair = [](const PlanValue& value) {
        return QJsonArray{100 * value.low, 100 * value.high};
    };

    QJsonObject object{
        {"game", QJsonObject{{"location", qs(input.game.key.Location)},
                             {"casino", qs(input.game.key.Casino)},
                             {"game", qs(input.game.key.Game)}}},
        {"spots", input.spots},
        {"cards", input.cards ? QJsonValue(static_cast<qint64>(input.cards->cards.size())) : QJsonValue()},
        {"bet", plan.bet},
        {"credits", static_cast<qint64>(plan.credits)},
        {"games", static_cast<qint64>(plan.games)},
        {"target", optional(plan.target)},
        {"floor", optional(plan.floor)},
        {"method", simulated ? "simulation" : "exact"},
        {"sessions", static_cast<qint64>(r.sessions)},
        {"seed", simulated ? QJsonValue(QString::number(r.seed)) : QJsonValue()},
        {"ruined_pct", percent(r.ruined)},
        {"target_reached_pct", percent(r.targetReached)},
        {"all_games_played_pct", percent(r.allGamesPlayed)},
        {"ahead_pct", percent(r.ahead)},
        {"even_pct", percent(r.even)},
        {"behind_pct", percent(r.behind)},
        {"mean_end_credits", r.meanEndCredits.value},
        {"end_credits_points", points},
        {"expected_games", r.expectedGames.value},
        {"still_playing_pct", stillPlaying},
        {"catch_at_least_once_pct", catches},
        {"end_credits",
         QJsonObject{{"credits", credits},
                     {"pct", shares},
                     {"tail_from",
                      r.tailProbability > 0 ? QJsonValue(static_cast<qint64>(r.tailFrom)) : QJsonValue()},
                     {"tail_pct", 100 * r.tailProbability}}},
    };
    if (simulated)
        object["interval_95"] = QJsonObject{
            {"ruined_pct", percentPair(r.ruined)},
            {"target_reached_pct", percentPair(r.targetReached)},
            {"all_games_played_pct", percentPair(r.allGamesPlayed)},
            {"ahead_pct", percentPair(r.ahead)},
            {"even_pct", percentPair(r.even)},
            {"behind_pct", percentPair(r.behind)},
            {"mean_end_credits", pair(r.meanEndCredits)},
            {"end_credits_points", pointIntervals},
            {"expected_games", pair(r.expectedGames)},
            {"still_playing_pct", stillPlayingIntervals},
            {"catch_at_least_once_pct", catchIntervals},
        };
    else
        object["interval_95"] = QJsonValue();
    return object;
}

QString textOf(const CommandInput& input, const SessionPlan& plan, const SessionPlanResult& r)
{
    const bool simulated = r.method == PlanMethod::Simulation;
    QString text =
        GameTitle(input.game.key) + (input.cards ? QStringLiteral(", %1 cards at %2 a card\n")
                                                       .arg(input.cards->cards.size())
                                                       .arg(input.cards->bet)
                                                 : QStringLiteral(", %1 spots\n").arg(input.spots));
    text += planText(plan);
    text += simulated
                ? QStringLiteral("Method: simulated, %1 whole sessions, seed %2 (the exact method would "
                                 "take too long); 95% intervals in brackets\n")
                      .arg(r.sessions)
                      .arg(r.seed)
                : QString("Method: exact (the credits stepped game by game)\n");

    text += "\nHow the session ends\n";
    text += line("Ruined (below the floor):", chanceText(r.ruined, simulated));
    if (plan.target)
        text += line("Target reached:", chanceText(r.targetReached, simulated));
    text += line("Every game played:", chanceText(r.allGamesPlayed, simulated));
    text += "Against the starting credits\n";
    text += line("Ahead:", chanceText(r.ahead, simulated));
    text += line("Even:", chanceText(r.even, simulated));
    text += line("Behind:", chanceText(r.behind, simulated));
    text += "Credits at the end\n";
    text += line("Mean:", amountText(r.meanEndCredits, simulated, 2));
    for (std::size_t k = 0; k < kEndCreditLevels.size(); ++k)
        text += line(QStringLiteral("%1% point:").arg(100 * kEndCreditLevels[k]),
                     amountText(r.endCreditPoints[k], simulated, 0));
    text += "Games\n";
    text += line("Expected games played:", amountText(r.expectedGames, simulated, 2));
    // The survival curve at every tenth of the plan's games.
    const auto games = static_cast<std::int64_t>(r.stillPlaying.size()) - 1;
    for (int tenth = 1; tenth <= 10 && games >= 10; ++tenth) {
        const std::int64_t n = games * tenth / 10;
        text += line(QStringLiteral("Still playing after %1 games:").arg(n),
                     chanceText(r.stillPlaying[static_cast<std::size_t>(n)], simulated));
    }
    text += "Catches made at least once\n";
    for (int c = 0; c <= kMaxMarks; ++c)
        if (r.catchAtLeastOnce[c])
            text += line(QStringLiteral("Catch %1:").arg(c), chanceText(*r.catchAtLeastOnce[c], simulated));
    return text;
}

} // namespace

void SessionOptions::addTo(QCommandLineParser& parser) const
{
    parser.addOptions({m_bet, m_credits, m_games, m_target, m_floor, m_seed, m_quiet});
}

bool SessionOptions::read(const QCommandLineParser& parser, SessionInput* input, QString* error) const
{
    if (!parser.isSet(m_bet) || !parser.isSet(m_credits) || !parser.isSet(m_games)) {
        *error = "session needs the plan: --bet B, --credits C and --games N.";
        return false;
    }
    auto whole = [&](const QCommandLineOption& option, std::int64_t least, std::int64_t most) {
        const QString name = "--" + option.names().first();
        return ParseWholeNumber(parser.value(option), least, most, name, error);
    };
    const auto bet = whole(m_bet, kMinBet, kMaxBet);
    const auto credits = bet ? whole(m_credits, 1, kPlanMaxCredits) : std::nullopt;
    const auto games = credits ? whole(m_games, 1, kPlanMaxGames) : std::nullopt;
    if (!games)
        return false;
    SessionPlan& plan = input->plan;
    plan.bet = static_cast<int>(*bet);
    plan.credits = *credits;
    plan.games = *games;
    if (parser.isSet(m_target) && !(plan.target = whole(m_target, 1, kPlanMaxCredits)))
        return false;
    if (parser.isSet(m_floor) && !(plan.floor = whole(m_floor, 0, kPlanMaxCredits)))
        return false;
    if (const std::string refusal = CheckSessionPlan(plan); !refusal.empty()) {
        *error = "session: " + qs(refusal);
        return false;
    }
    if (parser.isSet(m_seed)) {
        const std::optional<std::uint64_t> seed = ParseSeed(parser.value(m_seed), error);
        if (!seed)
            return false;
        input->seed = *seed;
    } else {
        std::random_device device;
        input->seed = (static_cast<std::uint64_t>(device()) << 32) | device();
    }
    input->progress = !parser.isSet(m_quiet);
    return true;
}

CommandResult RunSessionCommand(const CommandInput& input, const SessionInput& session)
{
    CommandResult result;
    // A card set's play costs every card's bet: the plan walks that cost.
    const PlanStep step = input.cards
                              ? CardSetPlanStep(CardSetGameOf(input.rules), *input.cards)
                              : BoardPlanStep(ExactGameOf(input.rules, input.spots), session.plan.bet);
    SessionPlan plan = session.plan;
    plan.bet = step.bet;
    PlanOptions options;
    options.seed = session.seed;
    ProgressLine progress(session.progress, "session");
    // A game the engine refuses comes back as the result's error, before any work.
    const SessionPlanResult planned =
        PlanSession(step, plan, options, [&progress](double done) { progress.updateShare(done); });
    progress.finish();
    if (!planned.ok()) {
        result.status = kExitFailure;
        result.error = GameTitle(input.game.key) + " cannot be planned: " + qs(planned.error);
        return result;
    }
    result.out =
        input.json
            ? QString::fromUtf8(QJsonDocument(jsonOf(input, plan, planned)).toJson(QJsonDocument::Indented))
            : textOf(input, plan, planned);
    return result;
}

} // namespace tallyhawk::cli
