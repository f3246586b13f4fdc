// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "clicards.h"

#include "engine/cards/cardanalysis.h"
#include "progressline.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

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

QJsonObject gameJson(const GameKey& key)
{
    return {{"location", qs(key.Location)}, {"casino", qs(key.Casino)}, {"game", qs(key.Game)}};
}

QJsonArray numbersJson(const std::vector<int>& numbers)
{
    QJsonArray array;
    for (int number : numbers)
        array.append(number);
    return array;
}

QJsonArray intervalJson(const CardSetValue& value, double scale = 1)
{
    return {value.low * scale, value.high * scale};
}

QString cardText(const Card& card)
{
    QStringList numbers;
    for (int number : card)
        numbers << QString::number(number);
    return numbers.join(',');
}

// A figure, with its 95 % interval when simulated.
QString valueText(const CardSetValue& value, bool simulated, double scale, int decimals, const QString& unit)
{
    QString text = fixed(value.value * scale, decimals) + unit;
    if (simulated)
        text += QStringLiteral("  (%1 to %2)")
                    .arg(fixed(value.low * scale, decimals), fixed(value.high * scale, decimals));
    return text;
}

// What odds and simulate print alike: the set's figures.
QJsonObject analysisJson(const CommandInput& input, const CardSetAnalysis& a)
{
    const bool simulated = a.method == CardSetMethod::Simulation;
    QJsonArray cards, perCard, perSpotCount;
    for (std::size_t i = 0; i < a.cards.size(); ++i) {
        const CardFigures& card = a.cards[i];
        cards.append(numbersJson(input.cards->cards[i]));
        QJsonObject figures{{"numbers", numbersJson(input.cards->cards[i])},
                            {"spots", card.marked},
                            {"return_pct", card.returnPct.value},
                            {"pay_rate", card.payRate.value},
                            {"solid_catch", card.solidCatch.value},
                            {"sd_per_game", card.sdPerPlay.value}};
        if (simulated)
            figures["interval_95"] = QJsonObject{{"return_pct", intervalJson(card.returnPct)},
                                                 {"pay_rate", intervalJson(card.payRate)},
                                                 {"solid_catch", intervalJson(card.solidCatch)}};
        perCard.append(figures);
    }
    for (const SpotCountFigures& spots : a.spotCounts)
        perSpotCount.append(QJsonObject{
            {"spots", spots.marked}, {"cards", spots.cards}, {"solid_catch", spots.solidCatch.value}});
    QJsonObject object{
        {"game", gameJson(input.game.key)},
        {"cards", cards},
        {"way_ticket", input.cards->wayTicket},
        {"bet", input.cards->bet},
        {"cost", static_cast<qint64>(a.cost)},
        {"method", simulated ? "simulation" : "exact"},
        {"atoms", a.atoms},
        {"return_pct_board", a.returnPct.value},
        {"sd_per_game", a.sdPerPlay.value},
        {"sd_if_cards_independent", a.sdIfIndependent.value},
        {"hit_rate", a.hitRate.value},
        {"any_solid_catch", a.anySolidCatch.value},
        {"solid_catch_pays_at_least", kSolidCatchPay},
        {"per_card", perCard},
        {"per_spot_count", perSpotCount},
    };
    if (simulated) {
        object["plays"] = static_cast<qint64>(a.plays);
        object["seed"] = QString::number(a.seed);
        if (!a.whySimulated.empty())
            object["why_simulated"] = qs(a.whySimulated);
        object["interval_95"] = QJsonObject{{"return_pct_board", intervalJson(a.returnPct)},
                                            {"sd_per_game", intervalJson(a.sdPerPlay)},
                                            {"sd_if_cards_independent", intervalJson(a.sdIfIndependent)},
                                            {"hit_rate", intervalJson(a.hitRate)},
                                            {"any_solid_catch", intervalJson(a.anySolidCatch)}};
    } else {
        object["interval_95"] = QJsonValue();
        // The whole distribution of one play's total win, in credits.
        QJsonArray wins, chances;
        for (const WinAtom& atom : a.win.atoms) {
            wins.append(static_cast<double>(atom.win) / static_cast<double>(a.win.unitsPerCredit));
            chances.append(static_cast<double>(atom.probability));
        }
        object["distribution"] = QJsonObject{{"win", wins}, {"probability", chances}};
    }
    return object;
}

QString analysisText(const CommandInput& input, const CardSetAnalysis& a)
{
    const bool simulated = a.method == CardSetMethod::Simulation;
    const CardSet& set = *input.cards;
    QString text = GameTitle(input.game.key) +
                   QStringLiteral(", %1 %2 at %3 a card (a play costs %4 credits)\n")
                       .arg(set.cards.size())
                       .arg(set.wayTicket           ? "ways"
                            : set.cards.size() == 1 ? "card"
                                                    : "cards")
                       .arg(set.bet == 1 ? QString("1 credit") : QStringLiteral("%1 credits").arg(set.bet))
                       .arg(a.cost);
    text += simulated ? QStringLiteral("Method: simulated, %1 plays, seed %2%3; 95% intervals in brackets\n")
                            .arg(a.plays)
                            .arg(a.seed)
                            .arg(a.whySimulated.empty() ? QString() : " (" + qs(a.whySimulated) + ")")
                      : QStringLiteral("Method: exact (every way the balls fall among the %1 groups of "
                                       "numbers the cards share)\n")
                            .arg(a.atoms);
    auto line = [](const QString& label, const QString& value) {
        return label.leftJustified(36) + value + "\n";
    };
    text += "\n";
    text += line("Return (won over bet):", valueText(a.returnPct, simulated, 1, 4, " %"));
    text += line("Standard deviation per play:", valueText(a.sdPerPlay, simulated, 1, 4, " credits"));
    text +=
        line("  if the cards were independent:", valueText(a.sdIfIndependent, simulated, 1, 4, " credits"));
    text += line("Any card pays:", valueText(a.hitRate, simulated, 100, 4, " %"));
    text += line(QStringLiteral("Any solid catch (pays %1+):").arg(kSolidCatchPay),
                 valueText(a.anySolidCatch, simulated, 100, 4, " %"));
    for (const SpotCountFigures& spots : a.spotCounts)
        text += line(QStringLiteral("Solid catch, %1-spot cards (%2):").arg(spots.marked).arg(spots.cards),
                     valueText(spots.solidCatch, simulated, 100, 4, " %"));
    text += QStringLiteral("\n%1  %2  %3  %4  %5\n")
                .arg("Card", 4)
                .arg("Spots", 5)
                .arg("Return %", 10)
                .arg("Pays %", 9)
                .arg("Solid %", 9);
    for (std::size_t i = 0; i < a.cards.size(); ++i)
        text += QStringLiteral("%1  %2  %3  %4  %5  %6\n")
                    .arg(i + 1, 4)
                    .arg(a.cards[i].marked, 5)
                    .arg(fixed(a.cards[i].returnPct.value, 4), 10)
                    .arg(fixed(100 * a.cards[i].payRate.value, 4), 9)
                    .arg(fixed(100 * a.cards[i].solidCatch.value, 4), 9)
                    .arg(cardText(set.cards[i]));
    return text;
}

CommandResult failure(const QString& error, int status = kExitFailure)
{
    return {status, {}, error};
}

} // namespace

std::optional<std::vector<std::vector<int>>> ParseNumberLists(const QString& text, const QString& option,
                                                              QString* error)
{
    std::vector<std::vector<int>> lists;
    static const QRegularExpression separators("[,\\s]+");
    for (const QString& part : text.split('/')) {
        std::vector<int> numbers;
        for (const QString& word : part.split(separators, Qt::SkipEmptyParts)) {
            bool ok = false;
            const int number = word.toInt(&ok, 10);
            if (!ok) {
                *error = QStringLiteral("%1: \"%2\" is not a whole number.").arg(option, word);
                return std::nullopt;
            }
            numbers.push_back(number);
        }
        std::sort(numbers.begin(), numbers.end());
        lists.push_back(std::move(numbers));
    }
    return lists;
}

std::optional<CardSet> ReadCardSet(const QString& cards, const QString& ways, const QString& waySpots,
                                   int bet, QString* error)
{
    CardSet set;
    set.bet = bet;
    if (ways.isEmpty()) {
        const auto lists = ParseNumberLists(cards, "--cards", error);
        if (!lists)
            return std::nullopt;
        set.cards = *lists;
    } else {
        const auto groups = ParseNumberLists(ways, "--ways", error);
        const auto spots = groups ? ParseNumberLists(waySpots, "--way-spots", error) : std::nullopt;
        if (!spots)
            return std::nullopt;
        WayTicket ticket{*groups, {}};
        for (const std::vector<int>& list : *spots)
            ticket.spots.insert(ticket.spots.end(), list.begin(), list.end());
        const WayCards built = BuildWayCards(ticket);
        if (!built.error.empty()) {
            *error = qs(built.error);
            return std::nullopt;
        }
        set.cards = built.cards;
        set.wayTicket = true;
    }
    if (const std::string refusal = CardSetError(set); !refusal.empty()) {
        *error = qs(refusal);
        return std::nullopt;
    }
    return set;
}

CommandResult RunCardSetOddsCommand(const CommandInput& input)
{
    const CardSetAnalysis analysis = AnalyseCardSet(CardSetGameOf(input.rules), *input.cards);
    if (!analysis.ok())
        return failure(GameTitle(input.game.key) + " cannot be analysed: " + qs(analysis.error));
    CommandResult result;
    result.out = input.json ? QString::fromUtf8(QJsonDocument(analysisJson(input, analysis)).toJson())
                            : analysisText(input, analysis);
    return result;
}

CommandResult RunCardSetSimulateCommand(const CommandInput& input)
{
    const CardSetGame game = CardSetGameOf(input.rules);
    CardSetOptions options;
    options.plays = input.games;
    options.seed = input.seed;
    options.threads = input.threads;
    ProgressLine progress(input.progress, "simulate", input.games);
    const CardSetAnalysis run = SimulateCardSet(game, *input.cards, options,
                                                [&progress](std::int64_t plays) { progress.update(plays); });
    progress.finish();
    if (!run.ok())
        return failure(GameTitle(input.game.key) + " cannot be simulated: " + qs(run.error));

    // The exact return under the same rules, when the set is small enough to work it out.
    std::optional<double> exactReturn;
    if (CardSetExactWork(game, *input.cards) <= kCardSetExactWorkLimit)
        if (const CardSetAnalysis exact = AnalyseCardSetExactly(game, *input.cards); exact.ok())
            exactReturn = exact.returnPct.value;

    CommandResult result;
    if (input.json) {
        QJsonObject object = analysisJson(input, run);
        object["exact_return_pct"] = exactReturn ? QJsonValue(*exactReturn) : QJsonValue();
        result.out = QString::fromUtf8(QJsonDocument(object).toJson());
        return result;
    }
    result.out = analysisText(input, run);
    if (exactReturn) {
        const bool inside = run.returnPct.low <= *exactReturn && *exactReturn <= run.returnPct.high;
        result.out += QStringLiteral("\nExact return: %1 %, %2 the run's 95% interval\n")
                          .arg(fixed(*exactReturn, 4), inside ? "inside" : "outside");
    }
    return result;
}

} // namespace tallyhawk::cli
