// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers
#include "clidraws.h"

#include "clioptions.h"
#include "engine/randomness/drawhistory.h"
#include "engine/randomness/drawtests.h"
#include "progressline.h"

#include <cmath>
#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <random>

namespace tallyhawk::cli {

const char kDrawsHelp[] =
    R"(Usage: tallyhawk-cli draws FILE [--window N] [--hot N] [--quiet] [--json]
       tallyhawk-cli draws --generator [--seed S] [--draws N] [--window N] [--hot N] [--quiet] [--json]

Tests a history of keno draws against a fair draw of 20 of 80 numbers, each test with its
statistic, its p-value and a plain verdict at 95% confidence:
  counts       the chi-square of the 80 numbers' counts, as the randomness command's
  pairs        how often each of the 3,160 pairs comes together, beyond the numbers' counts
  repeats      how often a number comes again right after it was drawn (fair: 1 in 4)
  filling in   how often it comes after 1 to 20 draws missing (fair: 1 in 4 after any)
  hot numbers  whether the numbers drawn most in the last draws come more often next
and the power of the counts test: the smallest bias in one number's frequency that this many
draws find 80% of the time, and the draws that a bias of 5%, 10% and 25% needs.

FILE holds one draw per line: its 20 different numbers from 1 to 80 among the fields, which
commas, semicolons, tabs or blanks separate; a date, a draw number, a multiplier or other
columns beside them are ignored, as are blank lines and a header line. A line without a draw
refuses the whole file, with its line number and why.

  --generator  tests the program's own draw instead of a file
  --seed S     the generator's seed, 0 to 18446744073709551615; the same seed repeats the
               draws (default: a random seed, which is reported)
  --draws N    the generator's draws, 1 to 100000000 (default 100000)
  --window N   the hot numbers are those drawn most in the last N draws, 1 to 1000 (default 20)
  --hot N      how many numbers are hot, 1 to 79 (default 10)
  --quiet      no progress line
)";

namespace {

constexpr std::int64_t kDefaultGeneratorDraws = 100'000;
constexpr double kPowerBiases[] = {0.05, 0.10, 0.25};

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

QString fixed(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString grouped(std::int64_t value)
{
    QString digits = QString::number(value);
    for (int i = static_cast<int>(digits.size()) - 3; i > (value < 0 ? 1 : 0); i -= 3)
        digits.insert(i, ',');
    return digits;
}

QString verdictName(DrawVerdict verdict)
{
    switch (verdict) {
    case DrawVerdict::NoPatternFound:
        return "no pattern found";
    case DrawVerdict::PatternFound:
        return "pattern found";
    case DrawVerdict::TooFewDraws:
        break;
    }
    return "too few draws";
}

bool judged(const DrawTestFigure& figure)
{
    return figure.verdict != DrawVerdict::TooFewDraws;
}

// A test's figures under the name of its statistic ("chi_square" or "z"); null when not judged.
QJsonObject figureJson(const DrawTestFigure& figure)
{
    const QString statistic = figure.degreesOfFreedom > 0 ? "chi_square" : "z";
    QJsonObject object{{"verdict", verdictName(figure.verdict)},
                       {"sentence", qs(DrawVerdictSentence(figure))},
                       {statistic, judged(figure) ? QJsonValue(figure.statistic) : QJsonValue()},
                       {"p_value", judged(figure) ? QJsonValue(figure.pValue) : QJsonValue()}};
    if (figure.degreesOfFreedom > 0)
        object["degrees_of_freedom"] = figure.degreesOfFreedom;
    return object;
}

QJsonObject rateJson(const AbsenceRate& rate)
{
    return {{"absence", rate.absence},
            {"chances", static_cast<double>(rate.chances)},
            {"hits", static_cast<double>(rate.hits)},
            {"rate", rate.rate},
            {"low", rate.low},
            {"high", rate.high},
            {"z", rate.z}};
}

QJsonObject pairJson(const PairFigure& pair)
{
    return {{"numbers", QJsonArray{pair.first, pair.second}},
            {"count", static_cast<double>(pair.count)},
            {"z", pair.z}};
}

template <typename Range> QJsonArray jsonArray(const Range& values)
{
    QJsonArray array;
    for (const auto& value : values)
        array.append(static_cast<double>(value));
    return array;
}

QString resultsJson(const DrawTestResults& results, const QJsonObject& source)
{
    QJsonObject object = source;
    object["draws"] = static_cast<double>(results.draws);
    object["summary"] = qs(DrawTestsSummary(results));

    QJsonObject counts = figureJson(results.counts.figure);
    counts["expected"] = results.counts.expected;
    counts["counts"] = jsonArray(results.counts.counts);
    counts["deviations"] = jsonArray(results.counts.deviations);
    object["counts"] = counts;

    QJsonObject pairs = figureJson(results.pairs.figure);
    pairs["expected"] = results.pairs.expected;
    pairs["most_often"] = pairJson(results.pairs.mostOften);
    pairs["least_often"] = pairJson(results.pairs.leastOften);
    pairs["counts"] = jsonArray(results.pairs.counts);
    object["pairs"] = pairs;

    QJsonObject repeats = figureJson(results.absences.repeatsFigure);
    repeats["rate"] = rateJson(results.absences.repeats);
    object["repeats"] = repeats;

    QJsonObject fillingIn = figureJson(results.absences.fillingInFigure);
    QJsonArray rates;
    for (const AbsenceRate& rate : results.absences.fillingIn)
        rates.append(rateJson(rate));
    fillingIn["rates"] = rates;
    object["filling_in"] = fillingIn;

    const HotNumbersTest& hot = results.hot;
    QJsonObject hotNumbers = figureJson(hot.figure);
    hotNumbers["window"] = hot.choice.window;
    hotNumbers["numbers"] = hot.choice.numbers;
    hotNumbers["draws"] = static_cast<double>(hot.draws);
    hotNumbers["hot_hits"] = static_cast<double>(hot.hotHits);
    hotNumbers["hot_rate"] = hot.hotRate;
    hotNumbers["other_rate"] = hot.otherRate;
    object["hot_numbers"] = hotNumbers;

    QJsonArray needed;
    for (double bias : kPowerBiases)
        needed.append(QJsonObject{{"bias", bias}, {"draws", static_cast<double>(DrawsNeededForBias(bias))}});
    const double smallest = results.smallestBias;
    object["power"] =
        QJsonObject{{"power", kDrawTestPower},
                    {"smallest_bias", std::isfinite(smallest) ? QJsonValue(smallest) : QJsonValue()},
                    {"draws_needed", needed}};
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
}

QString figureText(const DrawTestFigure& figure, const QString& tail)
{
    if (!judged(figure))
        return "  " + qs(DrawVerdictSentence(figure)) + "\n";
    const QString statistic = figure.degreesOfFreedom > 0
                                  ? QStringLiteral("Chi-square = %1 with %2 degrees of freedom")
                                        .arg(fixed(figure.statistic, 2))
                                        .arg(figure.degreesOfFreedom)
                                  : QStringLiteral("z = %1").arg(fixed(figure.statistic, 2));
    return QStringLiteral("  %1, p = %2 (%3)\n  %4\n")
        .arg(statistic, fixed(figure.pValue, 4), tail, qs(DrawVerdictSentence(figure)));
}

QString rateText(const QString& label, const AbsenceRate& rate)
{
    return QStringLiteral("  %1%2%3%4%5%6\n")
        .arg(label, -12)
        .arg(grouped(rate.chances), 14)
        .arg(grouped(rate.hits), 13)
        .arg(fixed(100 * rate.rate, 2) + " %", 10)
        .arg(QStringLiteral("%1 to %2 %").arg(fixed(100 * rate.low, 2), fixed(100 * rate.high, 2)), 20)
        .arg(fixed(rate.z, 2), 8);
}

QString resultsText(const DrawTestResults& results, const QString& source)
{
    QString text = source + "\n" + qs(DrawTestsSummary(results)) + "\n\n";

    const NumberCountsTest& counts = results.counts;
    const int decimals = results.draws % 4 == 0 ? 0 : 2;
    text += QStringLiteral("Counts of the 80 numbers, each less the expected count of %1:\n\n")
                .arg(fixed(counts.expected, decimals));
    int width = 4;
    for (double v : counts.deviations)
        width = std::max(width, static_cast<int>(fixed(v, decimals).size()) + 1);
    QString header = QStringLiteral("%1").arg("", 10);
    for (int k = 1; k <= 10; ++k)
        header += QStringLiteral("%1").arg("C" + QString::number(k), width + 1);
    text += header + "\n";
    for (int r = 0; r < 8; ++r) {
        QString row =
            "  " + QStringLiteral("%1").arg(QStringLiteral("%1 - %2").arg(10 * r + 1).arg(10 * r + 10), -8);
        for (int k = 1; k <= 10; ++k)
            row += QStringLiteral("%1").arg(
                fixed(counts.deviations[static_cast<std::size_t>(10 * r + k - 1)], decimals), width + 1);
        text += row + "\n";
    }
    text += "\n" + figureText(counts.figure, "two-sided, as the randomness test's");

    const PairsTest& pairs = results.pairs;
    text += QStringLiteral("\nPairs: each of the 3,160 pairs is expected together %1 times\n")
                .arg(fixed(pairs.expected, 2));
    if (pairs.mostOften.first != 0)
        text += QStringLiteral("  Beyond the numbers' own counts, most often %1 and %2 (%3 times, z = %4), "
                               "least often %5 and %6 (%7 times, z = %8)\n")
                    .arg(pairs.mostOften.first)
                    .arg(pairs.mostOften.second)
                    .arg(grouped(pairs.mostOften.count), fixed(pairs.mostOften.z, 2))
                    .arg(pairs.leastOften.first)
                    .arg(pairs.leastOften.second)
                    .arg(grouped(pairs.leastOften.count), fixed(pairs.leastOften.z, 2));
    text += figureText(pairs.figure, "upper tail");

    const AbsenceTests& absences = results.absences;
    text += "\nRepeats and filling in: how often a number came after being missing k draws (fair: 25 %)\n";
    text += QStringLiteral("  %1%2%3%4%5%6\n")
                .arg("missing", -12)
                .arg("chances", 14)
                .arg("came", 13)
                .arg("rate", 10)
                .arg("95% interval", 20)
                .arg("z", 8);
    text += rateText("0 (repeat)", absences.repeats);
    for (const AbsenceRate& rate : absences.fillingIn)
        text += rateText(QString::number(rate.absence), rate);
    text += "  Repeats:\n" + figureText(absences.repeatsFigure, "two-sided");
    text += "  Filling in, over the absences with enough chances:\n" +
            figureText(absences.fillingInFigure, "upper tail");

    const HotNumbersTest& hot = results.hot;
    text += QStringLiteral("\nHot numbers: the %1 drawn most in the last %2 draws\n")
                .arg(hot.choice.numbers)
                .arg(hot.choice.window);
    if (hot.draws > 0)
        text +=
            QStringLiteral("  In the %1 draws after them a hot number came %2 % of the time, another %3 %\n")
                .arg(grouped(hot.draws), fixed(100 * hot.hotRate, 2), fixed(100 * hot.otherRate, 2));
    text += figureText(hot.figure, "two-sided");

    text += "\nPower of the counts test (one number drawn more often, the others equally less)\n";
    if (std::isfinite(results.smallestBias) && results.smallestBias <= 3)
        text += QStringLiteral("  %1 draws find a bias of %2 % in one number's frequency 80 % of the time\n")
                    .arg(grouped(results.draws), fixed(100 * results.smallestBias, 2));
    for (double bias : kPowerBiases)
        text += QStringLiteral("  A bias of %1 % needs %2 draws\n")
                    .arg(fixed(100 * bias, 0), grouped(DrawsNeededForBias(bias)));
    return text;
}

} // namespace

CommandResult RunDrawsCommand(const QStringList& arguments)
{
    CommandResult result;
    auto usage = [&result](const QString& error) {
        result.status = kExitUsage;
        result.error = error;
        return result;
    };
    QCommandLineParser parser;
    const QCommandLineOption helpOption(QStringList{"h", "help"});
    const QCommandLineOption jsonOption("json");
    const QCommandLineOption generatorOption("generator");
    const QCommandLineOption seedOption("seed", "", "S");
    const QCommandLineOption drawsOption("draws", "", "N");
    const QCommandLineOption windowOption("window", "", "N");
    const QCommandLineOption hotOption("hot", "", "N");
    const QCommandLineOption quietOption("quiet");
    parser.addOptions({helpOption, jsonOption, generatorOption, seedOption, drawsOption, windowOption,
                       hotOption, quietOption});
    if (!parser.parse(QStringList{"tallyhawk-cli"} + arguments))
        return usage("draws: " + parser.errorText() + " (tallyhawk-cli draws --help)");
    if (parser.isSet(helpOption)) {
        result.out = kDrawsHelp;
        return result;
    }
    const bool generator = parser.isSet(generatorOption);
    const QStringList files = parser.positionalArguments();
    if (generator ? !files.isEmpty() : files.size() != 1)
        return usage(generator
                         ? "draws: --generator tests the program's draw and takes no FILE." +
                               QStringLiteral(" (tallyhawk-cli draws --help)")
                         : "draws needs one FILE of draws, or --generator (tallyhawk-cli draws --help).");
    if (!generator && (parser.isSet(seedOption) || parser.isSet(drawsOption)))
        return usage("draws: --seed and --draws go with --generator.");

    QString error;
    HotNumberChoice hot;
    if (parser.isSet(windowOption)) {
        const auto window = ParseWholeNumber(parser.value(windowOption), 1, 1000, "--window", &error);
        if (!window)
            return usage(error);
        hot.window = static_cast<int>(*window);
    }
    if (parser.isSet(hotOption)) {
        const auto numbers = ParseWholeNumber(parser.value(hotOption), 1, 79, "--hot", &error);
        if (!numbers)
            return usage(error);
        hot.numbers = static_cast<int>(*numbers);
    }
    std::uint64_t seed = 0;
    std::int64_t draws = kDefaultGeneratorDraws;
    if (generator) {
        std::random_device device;
        std::optional<std::uint64_t> chosen = (static_cast<std::uint64_t>(device()) << 32) | device();
        if (parser.isSet(seedOption))
            chosen = ParseSeed(parser.value(seedOption), &error);
        if (!chosen)
            return usage(error);
        seed = *chosen;
        if (parser.isSet(drawsOption)) {
            const auto count =
                ParseWholeNumber(parser.value(drawsOption), 1, kMaxHistoryDraws, "--draws", &error);
            if (!count)
                return usage(error);
            draws = *count;
        }
    }

    const bool json = parser.isSet(jsonOption);
    ProgressLine progress(!parser.isSet(quietOption), "draws");
    DrawTestResults results;
    if (generator) {
        const bool done = RunGeneratorDrawTests(seed, draws, hot, &results, [&](std::int64_t tested) {
            progress.updateShare(static_cast<double>(tested) / static_cast<double>(draws));
        });
        progress.finish();
        if (!done) {
            result.status = kExitFailure;
            result.error = "draws: the tests were stopped.";
            return result;
        }
        const QString source =
            QStringLiteral("The program's own draw: %1 draws, seed %2").arg(grouped(draws)).arg(seed);
        result.out = json ? resultsJson(results, {{"source", "generator"}, {"seed", QString::number(seed)}})
                          : resultsText(results, source);
        return result;
    }

    const QString file = files.first();
    std::vector<KenoDraw> history;
    std::string reason;
    if (!ReadDrawHistory(file.toStdString(), &history, &reason)) {
        result.status = kExitFailure;
        result.error = QStringLiteral("%1: %2").arg(file, qs(reason));
        return result;
    }
    const auto total = static_cast<double>(history.size());
    const bool done = RunDrawTests(history, hot, &results, [&](std::int64_t tested) {
        progress.updateShare(static_cast<double>(tested) / total);
    });
    progress.finish();
    if (!done) {
        result.status = kExitFailure;
        result.error = "draws: the tests were stopped.";
        return result;
    }
    result.out =
        json ? resultsJson(results, {{"source", "file"}, {"file", file}})
             : resultsText(results,
                           QStringLiteral("Draw history %1: %2 draws").arg(file, grouped(results.draws)));
    return result;
}

} // namespace tallyhawk::cli
