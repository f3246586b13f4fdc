// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers
#pragma once
// The tests of a history of keno draws: are they what a fair draw of 20 of 80 numbers gives?
//
// Each test answers with its statistic, its p-value (the chance that a fair draw gives a result at
// least as far from what is expected) and a plain verdict at 95% confidence:
// - the counts of the 80 numbers: the chi-square of the program's own randomness test;
// - the pairs: how often each of the 3,160 pairs of numbers comes together, once the numbers'
//   own counts are taken out, so that this test sees only what the counts test cannot;
// - "filling in": after a number has been missing for k draws (k = 1 to 20), how often it comes
//   in the next draw, against the 1 in 4 of a fair draw; and "repeats", the same right after it
//   was drawn;
// - hot numbers: whether the numbers drawn most in the last draws come more (or less) often in the
//   next draw than the others;
// - the power of the counts test: the smallest bias in one number's frequency that this many draws
//   would find 80% of the time.
//
// A fair draw is independent of every draw before it, so a number that has been missing is no more
// "due" than any other: the filling-in and hot-number tests measure that directly, with variances
// that allow for the 20 numbers of a draw being drawn without replacement.

#include "drawhistory.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace tallyhawk {

constexpr double kDrawTestSignificance = 0.05; // a test fails below this p-value (95% confidence)
constexpr double kDrawTestPower = 0.80;        // the chance of finding a bias the power figure names
constexpr int kPairCount = 3160;               // the pairs of 80 numbers
constexpr int kLongestAbsence = 20;            // filling in is measured after 1 to 20 draws missing
// A rate or count enters a test only when it expects this many hits and misses: below it the
// normal and chi-square approximations the p-values rest on are not yet good.
constexpr double kLeastExpected = 5;

// How the hot-number test picks its numbers.
struct HotNumberChoice
{
    int window = 20;  // the hot numbers are those drawn most in the last `window` draws (1 to 1000)
    int numbers = 10; // how many numbers are hot (1 to 79); a tie goes to the lower number
};

enum class DrawVerdict
{
    NoPatternFound, // p at least 0.05: the draws agree with a fair draw
    PatternFound,   // p below 0.05
    TooFewDraws,    // too few draws to judge: no statistic
};

// One test's answer. A statistic is a chi-square with `degreesOfFreedom`, or a normal z (with
// `degreesOfFreedom` 0).
struct DrawTestFigure
{
    double statistic = 0;
    int degreesOfFreedom = 0;
    double pValue = 1;
    DrawVerdict verdict = DrawVerdict::TooFewDraws;
};

struct NumberCountsTest
{
    std::array<std::int64_t, 80> counts{}; // how often the number n came, entry n - 1
    double expected = 0;                   // each number's expected count: draws / 4
    std::array<double, 80> deviations{};   // counts less the expected count, in the grid's order
    DrawTestFigure figure;                 // chi-square with 79 degrees of freedom, two-sided
};

struct PairFigure
{
    int first = 0, second = 0; // first < second
    std::int64_t count = 0;    // draws holding both
    double z = 0;              // the count's distance from the pairs' mean, in standard deviations
};

struct PairsTest
{
    std::vector<std::int64_t> counts; // by PairIndex
    double expected = 0;              // each pair's expected count: draws x 19 / 316
    PairFigure mostOften, leastOften; // beyond what the two numbers' own counts explain
    DrawTestFigure figure;            // chi-square with 3,080 degrees of freedom, upper tail
};

// How often numbers came after `absence` draws missing (0: right after being drawn, a repeat).
struct AbsenceRate
{
    int absence = 0;
    std::int64_t chances = 0; // number-and-draw pairs in which a number had been missing this long
    std::int64_t hits = 0;    // those in which it came
    double rate = 0;          // hits / chances; a fair draw's is 0.25
    double low = 0, high = 0; // the 95% interval of the rate
    double z = 0;             // (hits - chances / 4) over its standard deviation
};

struct AbsenceTests
{
    AbsenceRate repeats;                                // absence 0
    std::array<AbsenceRate, kLongestAbsence> fillingIn; // absences 1 to 20
    DrawTestFigure repeatsFigure;                       // z, two-sided
    DrawTestFigure fillingInFigure;                     // chi-square over the absences with enough chances
};

struct HotNumbersTest
{
    HotNumberChoice choice;
    std::int64_t draws = 0;   // draws after the first window
    std::int64_t hotHits = 0; // hot numbers among them
    double hotRate = 0;       // the chance that a hot number came; a fair draw's is 0.25
    double otherRate = 0;     // the same for the other numbers
    DrawTestFigure figure;    // z of the hot hits, two-sided
};

struct DrawTestResults
{
    std::int64_t draws = 0;
    NumberCountsTest counts;
    PairsTest pairs;
    AbsenceTests absences;
    HotNumbersTest hot;
    double smallestBias = 0; // found 80% of the time by the counts test of this many draws
};

// The position of the pair {first, second} (1 <= first < second <= 80) in PairsTest::counts.
int PairIndex(int first, int second);

// The counts test of `draws` draws whose numbers came counts[n - 1] times each (their sum is
// 20 x draws). Too few draws below 20 (an expected count under 5).
NumberCountsTest TestNumberCounts(const std::array<std::int64_t, 80>& counts, std::int64_t draws);

// The power of the counts test: one number drawn with the chance (1 + bias) / 4 instead of 1 / 4,
// the other 79 equally less often, so that a draw still holds 20.
// The chance that `draws` such draws fail the counts test.
double CountsTestPower(double bias, std::int64_t draws);
// The smallest bias that `draws` draws find with the chance kDrawTestPower, as a fraction (0.1 is
// a number drawn 10% more often than fair); infinity for no draws. Above 3 no bias is that large.
double SmallestDetectableBias(std::int64_t draws);
// The draws needed to find `bias` (> 0) with the chance kDrawTestPower.
std::int64_t DrawsNeededForBias(double bias);

// The test of a chi-square variable with `degreesOfFreedom` that is not central: its chance to
// be at most x when its non-centrality is `noncentrality`.
double NoncentralChiSquareLowerTail(double x, double degreesOfFreedom, double noncentrality);

// The tests counted draw by draw, so that a window can show progress and a generator need not keep
// its draws.
class DrawTestBattery
{
public:
    explicit DrawTestBattery(HotNumberChoice hot = {});

    // One draw, as the reader gives them; false, counting nothing, when it is not 20 different
    // numbers from 1 to 80.
    [[nodiscard]] bool addDraw(const KenoDraw& draw);
    std::int64_t draws() const { return m_draws; }

    DrawTestResults results() const;

private:
    void countAbsences(const std::array<bool, 81>& drawn);
    void countHotNumbers(const std::array<bool, 81>& drawn);

    HotNumberChoice m_hot;
    std::int64_t m_draws = 0;
    std::array<std::int64_t, 80> m_counts{};
    std::vector<std::uint32_t> m_pairs; // by PairIndex
    // Filling in: the draw each number last came in (-1 before its first), and per absence 0 to 20
    // the chances, the hits, and the sums that give the hits' covariances.
    std::array<std::int64_t, 81> m_lastDrawn{};
    std::array<std::int64_t, kLongestAbsence + 1> m_chances{}, m_hits{};
    std::array<std::array<double, kLongestAbsence + 1>, kLongestAbsence + 1> m_chanceProducts{};
    // Hot numbers: the last `window` draws and how often each number came in them.
    std::vector<KenoDraw> m_recent;
    std::array<int, 81> m_recentCounts{};
    std::vector<int> m_countHistogram; // by count in the window; all 0 between draws
    std::int64_t m_hotDraws = 0, m_hotHits = 0;
};

// Called every 10,000 draws with the draws tested so far; the run stops there when the flag is set.
using DrawTestProgress = std::function<void(std::int64_t drawsTested)>;

// The tests of a whole history. Returns false (and no results) when the stop flag ended it, or
// when a draw is not 20 different numbers from 1 to 80 (ReadDrawHistory gives none such).
[[nodiscard]] bool RunDrawTests(std::span<const KenoDraw> history, const HotNumberChoice& hot,
                                DrawTestResults* results, const DrawTestProgress& progress = {},
                                const std::atomic<bool>* stop = nullptr);

// The same tests of `draws` draws of the program's own draw: the board's shuffle as far as the
// twenty numbers, from a deck kept from draw to draw, on one stream seeded with `seed`; the same
// seed gives the same draws and figures.
[[nodiscard]] bool RunGeneratorDrawTests(std::uint64_t seed, std::int64_t draws, const HotNumberChoice& hot,
                                         DrawTestResults* results, const DrawTestProgress& progress = {},
                                         const std::atomic<bool>* stop = nullptr);

// The plain sentence of a verdict, e.g. "No pattern found: a fair draw does this or worse 43% of
// the time." or "Pattern found: a fair draw does this or worse only 0.3% of the time."
std::string DrawVerdictSentence(const DrawTestFigure& figure);
// "No pattern was found, and 10,000 draws could have found a bias of 10.3% in one number's
// frequency 80% of the time." when every test passes; otherwise which tests found one.
std::string DrawTestsSummary(const DrawTestResults& results);

} // namespace tallyhawk
