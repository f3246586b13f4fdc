// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "randomness.h"

#include "engine/common/numberforms.h"
#include "engine/sim/parallelchunks.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace tallyhawk {

RandomnessAnswer ParseRandomnessAnswer(std::string_view answer)
{
    RandomnessAnswer result;
    const std::size_t first = answer.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return result; // Cancelled
    const std::optional<double> number = ParseNumber(answer);
    const std::optional<std::int32_t> games = number ? ToInt32(*number) : std::nullopt;
    if (!games || *games % 4 != 0) {
        result.kind = RandomnessAnswerKind::NotDivisible;
        result.message = kRandomnessNotDivisibleMessage;
        return result;
    }
    if (*games <= 0) {
        result.kind = RandomnessAnswerKind::NotPositive;
        result.message = kRandomnessNotPositiveMessage;
        return result;
    }
    result.kind = RandomnessAnswerKind::Accepted;
    result.games = *games;
    return result;
}

RandomnessTest::RandomnessTest(std::int32_t games) : m_games(games)
{
    // (-G) \ 4, truncating toward zero: exactly minus the expected count for a multiple of 4.
    m_deviations.fill(-static_cast<std::int64_t>(games) / 4);
}

void RandomnessTest::playGame(DrawDeck& deck, KenoRandom& random)
{
    ShuffleDeck(deck, random, kDrawnBalls);
    countDraw(deck);
}

void RandomnessTest::countDraw(const DrawDeck& deck)
{
    for (int k = 1; k <= kDrawnBalls; ++k) {
        const int n = deck[static_cast<std::size_t>(k)];
        if (n >= 1 && n <= kBoardNumbers)
            ++m_deviations[static_cast<std::size_t>(n - 1)];
    }
    ++m_gamesPlayed;
}

void RandomnessTest::addCounts(const std::array<std::uint32_t, kBoardNumbers>& counts, std::int32_t games)
{
    for (std::size_t i = 0; i < counts.size(); ++i)
        m_deviations[i] += counts[i];
    m_gamesPlayed += games;
}

double RandomnessTest::statistic() const
{
    return RandomnessStatistic(m_deviations, m_games);
}

double RandomnessStatistic(const std::array<double, kBoardNumbers>& deviations, std::int32_t games)
{
    if (games == 0)
        return 0;
    double sum = 0;
    for (double v : deviations)
        sum += 4 * v * v / games;
    return (79.0 / 60.0) * sum;
}

double RandomnessStatistic(const RandomnessDeviations& deviations, std::int32_t games)
{
    std::array<double, kBoardNumbers> values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<double>(deviations[i]);
    return RandomnessStatistic(values, games);
}

bool RandomnessPasses(double statistic)
{
    return kRandomnessLowerBound < statistic && statistic < kRandomnessUpperBound;
}

std::string RandomnessVerdict(double statistic)
{
    return RandomnessPasses(statistic) ? "PASSES" : "FAILS";
}

std::string RandomnessMessage(double statistic)
{
    return "Chi-Square statistics indicate that the distribution of drawn numbers\r\n" +
           RandomnessVerdict(statistic) + " the test for randomness at a 95% confidence level.\r\n\r\n" +
           "Chi-Square = " + FormatTwoDecimals(statistic);
}

namespace {

constexpr int kGammaIterations = 1000;
constexpr double kGammaEpsilon = 1e-16;

// e^-x x^a / Gamma(a), in logarithms so that large arguments do not overflow.
double gammaPrefactor(double a, double x)
{
    return std::exp(a * std::log(x) - x - std::lgamma(a));
}

// P(a, x) by its power series: e^-x x^a / Gamma(a + 1) x sum of x^n / ((a + 1) ... (a + n)).
// Converges quickly for x < a + 1.
double lowerGammaSeries(double a, double x)
{
    double term = 1.0 / a;
    double sum = term;
    for (int n = 1; n < kGammaIterations; ++n) {
        term *= x / (a + n);
        sum += term;
        if (std::fabs(term) < std::fabs(sum) * kGammaEpsilon)
            break;
    }
    return sum * gammaPrefactor(a, x);
}

// Q(a, x) by the continued fraction of Legendre, evaluated with the modified Lentz method.
// Converges quickly for x > a + 1.
double upperGammaFraction(double a, double x)
{
    constexpr double kTiny = std::numeric_limits<double>::min() / kGammaEpsilon;
    double b = x + 1 - a;
    double c = 1 / kTiny;
    double d = 1 / b;
    double h = d;
    for (int i = 1; i < kGammaIterations; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        if (std::fabs(d) < kTiny)
            d = kTiny;
        c = b + an / c;
        if (std::fabs(c) < kTiny)
            c = kTiny;
        d = 1 / d;
        const double delta = d * c;
        h *= delta;
        if (std::fabs(delta - 1) < kGammaEpsilon)
            break;
    }
    return h * gammaPrefactor(a, x);
}

} // namespace

double RegularizedLowerGamma(double a, double x)
{
    if (!(a > 0) || std::isnan(x))
        return std::numeric_limits<double>::quiet_NaN();
    if (x <= 0)
        return 0;
    if (std::isinf(x))
        return 1;
    if (x < a + 1)
        return lowerGammaSeries(a, x);
    return 1 - upperGammaFraction(a, x);
}

double RegularizedUpperGamma(double a, double x)
{
    if (!(a > 0) || std::isnan(x))
        return std::numeric_limits<double>::quiet_NaN();
    if (x <= 0)
        return 1;
    if (std::isinf(x))
        return 0;
    if (x < a + 1)
        return 1 - lowerGammaSeries(a, x);
    return upperGammaFraction(a, x);
}

double ChiSquareLowerTail(double x, double degreesOfFreedom)
{
    return RegularizedLowerGamma(degreesOfFreedom / 2, x / 2);
}

double ChiSquareUpperTail(double x, double degreesOfFreedom)
{
    return RegularizedUpperGamma(degreesOfFreedom / 2, x / 2);
}

double ChiSquarePValue(double x, double degreesOfFreedom)
{
    const double tail =
        std::min(ChiSquareLowerTail(x, degreesOfFreedom), ChiSquareUpperTail(x, degreesOfFreedom));
    if (std::isnan(tail))
        return tail;
    return std::min(1.0, 2 * tail);
}

namespace {

using NumberCounts = std::array<std::uint32_t, kBoardNumbers>;

// One chunk of a test: `games` games drawn from the chunk's own stream, starting from an
// ordered deck (a draw does not depend on the order it starts from).
NumberCounts countChunk(std::uint64_t seed, std::int64_t chunk, std::int32_t games)
{
    KenoRandom random(ChunkGenerator(seed, static_cast<std::uint64_t>(chunk)));
    DrawDeck deck = OrderedDeck();
    std::array<std::uint32_t, kBoardNumbers + 1> counts{}; // by number; entry 0 unused
    for (std::int32_t g = 0; g < games; ++g)
        DealDeck(deck, random, kDrawnBalls,
                 [&counts](int number) { ++counts[static_cast<std::size_t>(number)]; });
    NumberCounts result{};
    std::copy(counts.begin() + 1, counts.end(), result.begin());
    return result;
}

} // namespace

RandomnessOutcome RunRandomnessTest(std::int32_t games, std::uint64_t seed,
                                    const RandomnessProgress& progress, const std::atomic<bool>* stop,
                                    int threads)
{
    RandomnessTest test(games);
    RandomnessOutcome outcome;
    outcome.games = games;
    const std::int64_t chunks =
        games > 0 ? (std::int64_t{games} + kRandomnessChunkGames - 1) / kRandomnessChunkGames : 0;
    auto chunkGames = [games](std::int64_t chunk) {
        return static_cast<std::int32_t>(
            std::min<std::int64_t>(kRandomnessChunkGames, games - chunk * kRandomnessChunkGames));
    };
    std::vector<NumberCounts> counts(static_cast<std::size_t>(chunks));
    PlayChunksInOrder(
        chunks, threads,
        [&](std::int64_t chunk) {
            counts[static_cast<std::size_t>(chunk)] = countChunk(seed, chunk, chunkGames(chunk));
        },
        [&](std::int64_t chunk) {
            test.addCounts(counts[static_cast<std::size_t>(chunk)], chunkGames(chunk));
            if (progress)
                progress(test);
            if (stop && stop->load()) {
                outcome.stopped = true;
                return false;
            }
            return true;
        });
    outcome.deviations = test.deviations();
    outcome.gamesPlayed = test.gamesPlayed();
    if (!outcome.stopped && games > 0) {
        outcome.statistic = test.statistic();
        outcome.pValue = ChiSquarePValue(outcome.statistic);
    }
    return outcome;
}

} // namespace tallyhawk
