// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers
#include "drawtests.h"

#include "engine/play/deck.h"
#include "engine/randomness/randomness.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace tallyhawk {

namespace {

constexpr int kNumbers = 80;
constexpr int kDrawn = 20;
constexpr std::int64_t kProgressDraws = 10'000;

// The chances that 2, 3 and 4 given numbers all come in one fair draw of 20 of 80.
constexpr double kBoth = 20.0 * 19 / (80.0 * 79);
constexpr double kThree = kBoth * 18 / 78;
constexpr double kFour = kThree * 17 / 77;
// The pair counts of one draw decompose as the pairs of a set of 80 do: a constant, a part that
// the numbers' own counts fix (79 dimensions), and the rest (80 x 77 / 2 = 3,080 dimensions), on
// which the covariance of one draw's pair indicators is this one value.
constexpr int kPairDegreesOfFreedom = 3080;
constexpr double kPairVariance = kBoth - 2 * kThree + kFour;

// A fair draw of 20 of 80 holds a hypergeometric count of m given numbers, with the variance
// kHitVariance x m x (80 - m); the counts of two sets apart have the covariance -kHitVariance x m1 x m2.
constexpr double kHitVariance = 20.0 * 60 / (80.0 * 80 * 79);
constexpr double kZ95 = 1.959963984540054;

double normalTwoSidedP(double z)
{
    return std::erfc(std::fabs(z) / std::sqrt(2.0));
}

DrawTestFigure judged(double statistic, int degreesOfFreedom, double pValue)
{
    DrawTestFigure figure;
    figure.statistic = statistic;
    figure.degreesOfFreedom = degreesOfFreedom;
    figure.pValue = pValue;
    figure.verdict = pValue < kDrawTestSignificance ? DrawVerdict::PatternFound : DrawVerdict::NoPatternFound;
    return figure;
}

// d' V^-1 d by the Cholesky factors of V; false when V is not positive definite.
bool quadraticForm(std::vector<std::vector<double>> v, std::vector<double> d, double* result)
{
    const std::size_t n = d.size();
    for (std::size_t j = 0; j < n; ++j) {
        double diagonal = v[j][j];
        for (std::size_t k = 0; k < j; ++k)
            diagonal -= v[j][k] * v[j][k];
        if (!(diagonal > 0))
            return false;
        v[j][j] = std::sqrt(diagonal);
        for (std::size_t i = j + 1; i < n; ++i) {
            double sum = v[i][j];
            for (std::size_t k = 0; k < j; ++k)
                sum -= v[i][k] * v[j][k];
            v[i][j] = sum / v[j][j];
        }
    }
    // Solve L y = d; then d' V^-1 d = |y|^2.
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t k = 0; k < i; ++k)
            d[i] -= v[i][k] * d[k];
        d[i] /= v[i][i];
        sum += d[i] * d[i];
    }
    *result = sum;
    return true;
}

std::string fixed(double value, int decimals)
{
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, end.ptr);
}

// 12345678 as "12,345,678".
std::string grouped(std::int64_t value)
{
    std::string digits = std::to_string(value);
    for (int i = static_cast<int>(digits.size()) - 3; i > (value < 0 ? 1 : 0); i -= 3)
        digits.insert(static_cast<std::size_t>(i), ",");
    return digits;
}

std::string percent(double fraction)
{
    const double p = 100 * fraction;
    return fixed(p, p >= 10 ? 0 : p >= 0.1 ? 1 : 2) + "%";
}

// The non-centrality at which the counts test is failed with the chance kDrawTestPower.
double noncentralityForPower()
{
    static const double value = [] {
        auto power = [](double noncentrality) {
            return 1 -
                   NoncentralChiSquareLowerTail(kRandomnessUpperBound, kRandomnessDegreesOfFreedom,
                                                noncentrality) +
                   NoncentralChiSquareLowerTail(kRandomnessLowerBound, kRandomnessDegreesOfFreedom,
                                                noncentrality);
        };
        double low = 0, high = 1000;
        for (int i = 0; i < 100; ++i) {
            const double middle = (low + high) / 2;
            (power(middle) < kDrawTestPower ? low : high) = middle;
        }
        return (low + high) / 2;
    }();
    return value;
}

} // namespace

int PairIndex(int first, int second)
{
    // Pairs (1, 2) to (1, 80) first, then (2, 3) to (2, 80), and so on.
    return (first - 1) * (2 * kNumbers - first) / 2 + (second - first - 1);
}

NumberCountsTest TestNumberCounts(const std::array<std::int64_t, 80>& counts, std::int64_t draws)
{
    NumberCountsTest test;
    test.counts = counts;
    test.expected = static_cast<double>(draws) / 4;
    for (std::size_t i = 0; i < counts.size(); ++i)
        test.deviations[i] = static_cast<double>(counts[i]) - test.expected;
    if (test.expected < kLeastExpected || draws > std::numeric_limits<std::int32_t>::max())
        return test;
    const double statistic = RandomnessStatistic(test.deviations, static_cast<std::int32_t>(draws));
    test.figure = judged(statistic, kRandomnessDegreesOfFreedom, ChiSquarePValue(statistic));
    return test;
}

double NoncentralChiSquareLowerTail(double x, double degreesOfFreedom, double noncentrality)
{
    // A Poisson mixture of central chi-squares: weight e^-h h^j / j! on 2j more degrees, h = ncp / 2.
    const double h = noncentrality / 2;
    if (h <= 0)
        return ChiSquareLowerTail(x, degreesOfFreedom);
    const int last = static_cast<int>(h + 12 * std::sqrt(h) + 50);
    double sum = 0;
    for (int j = 0; j <= last; ++j) {
        const double weight = std::exp(-h + j * std::log(h) - std::lgamma(j + 1.0));
        sum += weight * ChiSquareLowerTail(x, degreesOfFreedom + 2.0 * j);
    }
    return std::min(1.0, sum);
}

double CountsTestPower(double bias, std::int64_t draws)
{
    const double noncentrality = static_cast<double>(draws) * bias * bias / 3;
    return 1 -
           NoncentralChiSquareLowerTail(kRandomnessUpperBound, kRandomnessDegreesOfFreedom, noncentrality) +
           NoncentralChiSquareLowerTail(kRandomnessLowerBound, kRandomnessDegreesOfFreedom, noncentrality);
}

// The statistic's non-centrality is draws x sum over the numbers of (p - 1/4)^2 / (1/4) x 79 / 60
// = draws x bias^2 / 3 for one number at (1 + bias) / 4 and 79 at (1 - bias / 79) / 4.
double SmallestDetectableBias(std::int64_t draws)
{
    if (draws < 1)
        return std::numeric_limits<double>::infinity();
    return std::sqrt(3 * noncentralityForPower() / static_cast<double>(draws));
}

std::int64_t DrawsNeededForBias(double bias)
{
    return static_cast<std::int64_t>(std::ceil(3 * noncentralityForPower() / (bias * bias)));
}

DrawTestBattery::DrawTestBattery(HotNumberChoice hot)
    : m_hot{std::clamp(hot.window, 1, 1000), std::clamp(hot.numbers, 1, kNumbers - 1)},
      m_pairs(kPairCount, 0), m_countHistogram(static_cast<std::size_t>(m_hot.window) + 1, 0)
{
    m_lastDrawn.fill(-1);
    m_recent.reserve(static_cast<std::size_t>(m_hot.window));
}

bool DrawTestBattery::addDraw(const KenoDraw& draw)
{
    std::array<bool, 81> drawn{};
    for (std::uint8_t n : draw) {
        if (n < 1 || n > kNumbers || drawn[n])
            return false;
        drawn[n] = true;
    }
    int sorted[kDrawn];
    int k = 0;
    for (int n = 1; n <= kNumbers; ++n)
        if (drawn[static_cast<std::size_t>(n)]) {
            sorted[k++] = n;
            ++m_counts[static_cast<std::size_t>(n - 1)];
        }
    for (int i = 0; i < kDrawn; ++i) {
        // The pairs of sorted[i] with the higher numbers lie in a row, in order.
        const int row = PairIndex(sorted[i], sorted[i] + 1) - (sorted[i] + 1);
        for (int j = i + 1; j < kDrawn; ++j)
            ++m_pairs[static_cast<std::size_t>(row + sorted[j])];
    }
    countAbsences(drawn);
    countHotNumbers(drawn);
    for (int n : sorted)
        m_lastDrawn[static_cast<std::size_t>(n)] = m_draws;
    if (static_cast<int>(m_recent.size()) == m_hot.window) {
        for (std::uint8_t n : m_recent[static_cast<std::size_t>(m_draws % m_hot.window)])
            --m_recentCounts[n];
        m_recent[static_cast<std::size_t>(m_draws % m_hot.window)] = draw;
    } else {
        m_recent.push_back(draw);
    }
    for (std::uint8_t n : draw)
        ++m_recentCounts[n];
    ++m_draws;
    return true;
}

void DrawTestBattery::countAbsences(const std::array<bool, 81>& drawn)
{
    std::array<int, kLongestAbsence + 1> chances{};
    for (int n = 1; n <= kNumbers; ++n) {
        const std::int64_t last = m_lastDrawn[static_cast<std::size_t>(n)];
        if (last < 0 || m_draws - 1 - last > kLongestAbsence)
            continue;
        const auto absence = static_cast<std::size_t>(m_draws - 1 - last);
        ++chances[absence];
        m_hits[absence] += drawn[static_cast<std::size_t>(n)] ? 1 : 0;
    }
    for (std::size_t a = 0; a < chances.size(); ++a) {
        if (chances[a] == 0)
            continue;
        m_chances[a] += chances[a];
        for (std::size_t b = 0; b < chances.size(); ++b)
            m_chanceProducts[a][b] += chances[a] * chances[b];
    }
}

void DrawTestBattery::countHotNumbers(const std::array<bool, 81>& drawn)
{
    if (static_cast<int>(m_recent.size()) < m_hot.window)
        return;
    // The hot numbers: most often in the window, the lower number first among equals. Counts run
    // from 0 to the window, so the count the last hot number has is found by counting the counts.
    for (int n = 1; n <= kNumbers; ++n)
        ++m_countHistogram[static_cast<std::size_t>(m_recentCounts[static_cast<std::size_t>(n)])];
    int threshold = m_hot.window;
    int above = 0;
    while (above + m_countHistogram[static_cast<std::size_t>(threshold)] < m_hot.numbers)
        above += m_countHistogram[static_cast<std::size_t>(threshold--)];
    int atThreshold = m_hot.numbers - above; // hot numbers with the threshold's count
    for (int n = 1; n <= kNumbers; ++n) {
        const int count = m_recentCounts[static_cast<std::size_t>(n)];
        m_countHistogram[static_cast<std::size_t>(count)] = 0;
        const bool hot = count > threshold || (count == threshold && atThreshold-- > 0);
        m_hotHits += hot && drawn[static_cast<std::size_t>(n)] ? 1 : 0;
    }
    ++m_hotDraws;
}

DrawTestResults DrawTestBattery::results() const
{
    DrawTestResults results;
    const auto draws = static_cast<double>(m_draws);
    results.draws = m_draws;
    results.counts = TestNumberCounts(m_counts, m_draws);
    results.smallestBias = SmallestDetectableBias(m_draws);

    // Pairs: each count less the part the two numbers' own counts explain (the row sums r are
    // 19 x the numbers' counts, S is 190 x draws): c - (r_i + r_j) / 78 + 2 S / (79 x 78).
    PairsTest& pairs = results.pairs;
    pairs.counts.assign(m_pairs.begin(), m_pairs.end());
    pairs.expected = draws * kBoth;
    std::array<double, kNumbers + 1> rows{};
    double total = 0;
    for (int a = 1; a <= kNumbers; ++a)
        for (int b = a + 1; b <= kNumbers; ++b) {
            const auto c = static_cast<double>(m_pairs[static_cast<std::size_t>(PairIndex(a, b))]);
            rows[static_cast<std::size_t>(a)] += c;
            rows[static_cast<std::size_t>(b)] += c;
            total += c;
        }
    const double pairSd = std::sqrt(draws * kPairVariance * kPairDegreesOfFreedom / kPairCount);
    double squares = 0;
    for (int a = 1; a <= kNumbers; ++a)
        for (int b = a + 1; b <= kNumbers; ++b) {
            const std::int64_t count = m_pairs[static_cast<std::size_t>(PairIndex(a, b))];
            const double rest = static_cast<double>(count) -
                                (rows[static_cast<std::size_t>(a)] + rows[static_cast<std::size_t>(b)]) / 78 +
                                2 * total / (79.0 * 78);
            squares += rest * rest;
            const double z = pairSd > 0 ? rest / pairSd : 0;
            if (pairs.mostOften.first == 0 || z > pairs.mostOften.z)
                pairs.mostOften = {a, b, count, z};
            if (pairs.leastOften.first == 0 || z < pairs.leastOften.z)
                pairs.leastOften = {a, b, count, z};
        }
    if (pairs.expected >= kLeastExpected) {
        const double statistic = squares / (draws * kPairVariance);
        pairs.figure =
            judged(statistic, kPairDegreesOfFreedom, ChiSquareUpperTail(statistic, kPairDegreesOfFreedom));
    }

    // Absences: the hits after each absence, with the covariances of a draw of 20 without
    // replacement, summed over the draws: Var = k (80 sum m_a - sum m_a^2), Cov = -k sum m_a m_b.
    AbsenceTests& absences = results.absences;
    auto rateOf = [this](std::size_t a) {
        AbsenceRate rate;
        rate.absence = static_cast<int>(a);
        rate.chances = m_chances[a];
        rate.hits = m_hits[a];
        if (rate.chances == 0)
            return rate;
        const auto chances = static_cast<double>(rate.chances);
        const double sd = std::sqrt(kHitVariance * (kNumbers * chances - m_chanceProducts[a][a]));
        rate.rate = static_cast<double>(rate.hits) / chances;
        rate.low = std::max(0.0, rate.rate - kZ95 * sd / chances);
        rate.high = std::min(1.0, rate.rate + kZ95 * sd / chances);
        rate.z = sd > 0 ? (static_cast<double>(rate.hits) - chances / 4) / sd : 0;
        return rate;
    };
    auto enough = [this](std::size_t a) {
        return static_cast<double>(m_chances[a]) / 4 >= kLeastExpected;
    };
    absences.repeats = rateOf(0);
    if (enough(0))
        absences.repeatsFigure = judged(absences.repeats.z, 0, normalTwoSidedP(absences.repeats.z));
    std::vector<std::size_t> used;
    for (std::size_t a = 1; a <= kLongestAbsence; ++a) {
        absences.fillingIn[a - 1] = rateOf(a);
        if (enough(a))
            used.push_back(a);
    }
    std::vector<std::vector<double>> covariance(used.size(), std::vector<double>(used.size()));
    std::vector<double> excess(used.size());
    for (std::size_t i = 0; i < used.size(); ++i) {
        const std::size_t a = used[i];
        excess[i] = static_cast<double>(m_hits[a]) - static_cast<double>(m_chances[a]) / 4;
        for (std::size_t j = 0; j < used.size(); ++j)
            covariance[i][j] = kHitVariance * ((i == j ? kNumbers * static_cast<double>(m_chances[a]) : 0) -
                                               m_chanceProducts[a][used[j]]);
    }
    double statistic = 0;
    if (!used.empty() && quadraticForm(covariance, excess, &statistic)) {
        const int freedom = static_cast<int>(used.size());
        absences.fillingInFigure = judged(statistic, freedom, ChiSquareUpperTail(statistic, freedom));
    }

    // Hot numbers: a fair draw holds Hypergeometric(80, 20, hot) of them, independently of the window.
    HotNumbersTest& hot = results.hot;
    hot.choice = m_hot;
    hot.draws = m_hotDraws;
    hot.hotHits = m_hotHits;
    const auto hotDraws = static_cast<double>(m_hotDraws);
    const double hotNumbers = m_hot.numbers;
    if (m_hotDraws > 0) {
        hot.hotRate = static_cast<double>(m_hotHits) / (hotDraws * hotNumbers);
        hot.otherRate =
            (kDrawn * hotDraws - static_cast<double>(m_hotHits)) / (hotDraws * (kNumbers - hotNumbers));
    }
    if (hotDraws * hotNumbers / 4 >= kLeastExpected) {
        const double sd = std::sqrt(hotDraws * kHitVariance * hotNumbers * (kNumbers - hotNumbers));
        const double z = (static_cast<double>(m_hotHits) - hotDraws * hotNumbers / 4) / sd;
        hot.figure = judged(z, 0, normalTwoSidedP(z));
    }
    return results;
}

namespace {

bool runBattery(std::int64_t draws, const HotNumberChoice& hot, DrawTestResults* results,
                const DrawTestProgress& progress, const std::atomic<bool>* stop,
                const std::function<KenoDraw(std::int64_t)>& drawAt)
{
    DrawTestBattery battery(hot);
    for (std::int64_t i = 0; i < draws; ++i) {
        if (!battery.addDraw(drawAt(i)))
            return false;
        if ((i + 1) % kProgressDraws == 0 || i + 1 == draws) {
            if (progress)
                progress(i + 1);
            if (stop && stop->load())
                return false;
        }
    }
    *results = battery.results();
    return true;
}

} // namespace

bool RunDrawTests(std::span<const KenoDraw> history, const HotNumberChoice& hot, DrawTestResults* results,
                  const DrawTestProgress& progress, const std::atomic<bool>* stop)
{
    return runBattery(static_cast<std::int64_t>(history.size()), hot, results, progress, stop,
                      [history](std::int64_t i) { return history[static_cast<std::size_t>(i)]; });
}

bool RunGeneratorDrawTests(std::uint64_t seed, std::int64_t draws, const HotNumberChoice& hot,
                           DrawTestResults* results, const DrawTestProgress& progress,
                           const std::atomic<bool>* stop)
{
    KenoRandom random(seed);
    DrawDeck deck = OrderedDeck();
    return runBattery(draws, hot, results, progress, stop, [&](std::int64_t) {
        ShuffleDeck(deck, random, kDrawn);
        KenoDraw draw;
        for (std::size_t i = 0; i < draw.size(); ++i)
            draw[i] = static_cast<std::uint8_t>(deck[i + 1]);
        return draw;
    });
}

std::string DrawVerdictSentence(const DrawTestFigure& figure)
{
    switch (figure.verdict) {
    case DrawVerdict::TooFewDraws:
        return "Too few draws to judge.";
    case DrawVerdict::NoPatternFound:
        return "No pattern found: a fair draw does this or worse " + percent(figure.pValue) + " of the time.";
    case DrawVerdict::PatternFound:
        break;
    }
    return "Pattern found: a fair draw does this or worse only " + percent(figure.pValue) + " of the time.";
}

std::string DrawTestsSummary(const DrawTestResults& results)
{
    const std::pair<const char*, const DrawTestFigure*> tests[] = {
        {"the numbers' counts", &results.counts.figure},
        {"the pairs", &results.pairs.figure},
        {"repeats", &results.absences.repeatsFigure},
        {"filling in", &results.absences.fillingInFigure},
        {"hot numbers", &results.hot.figure}};
    std::string found;
    int judged = 0;
    for (const auto& [name, figure] : tests) {
        judged += figure->verdict != DrawVerdict::TooFewDraws ? 1 : 0;
        if (figure->verdict == DrawVerdict::PatternFound)
            found += std::string(found.empty() ? "" : ", ") + name;
    }
    if (judged == 0)
        return "Too few draws to judge: " + grouped(results.draws) + " draws.";
    if (!found.empty())
        return "A pattern was found in " + found +
               ". A fair draw fails each test 5% of the time, so a single failure is a reason to test more "
               "draws, not proof.";
    // A number drawn (1 + bias) / 4 of the time is drawn every time at a bias of 3.
    const double bias = results.smallestBias;
    if (!(bias <= 3))
        return "No pattern was found, but " + grouped(results.draws) +
               " draws are too few to find even a number drawn every time.";
    return "No pattern was found, and " + grouped(results.draws) + " draws could have found a bias of " +
           percent(bias) + " in one number's frequency 80% of the time.";
}

} // namespace tallyhawk
