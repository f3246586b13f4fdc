// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The arithmetic of win distributions: sums of independent wins, moments, and the session
// figures, which only need the wins up to kExactSessionTopWin.

#include "engine/common/numberforms.h"
#include "exactodds.h"

#include <algorithm>
#include <bit>
#include <numeric>

namespace tallyhawk {

namespace {

// Sums are gathered in a dense array when their range is small next to the number of pairs;
// otherwise (a few huge wins) pairs are sorted, so memory never follows the size of a jackpot.
constexpr std::int64_t kDenseRange = std::int64_t{1} << 22;

WinDistribution sortAndMerge(std::vector<WinAtom> atoms)
{
    std::sort(atoms.begin(), atoms.end(), [](const WinAtom& x, const WinAtom& y) { return x.win < y.win; });
    WinDistribution merged;
    for (const WinAtom& atom : atoms) {
        if (!(atom.probability > 0))
            continue;
        if (!merged.atoms.empty() && merged.atoms.back().win == atom.win)
            merged.atoms.back().probability += atom.probability;
        else
            merged.atoms.push_back(atom);
    }
    return merged;
}

// Bins 0 to top: the last one holds top or more.
using SessionBins = std::vector<double>;

// The distribution of min(x + y, top) for independent x and y already folded the same way.
// Folding first changes nothing because wins are never negative.
SessionBins foldedSum(const SessionBins& a, const SessionBins& b)
{
    const std::size_t top = a.size() - 1;
    std::vector<double> tail(top + 2); // tail[k]: b at k or more
    for (std::size_t k = top + 1; k-- > 0;)
        tail[k] = tail[k + 1] + b[k];
    SessionBins sum(top + 1);
    for (std::size_t i = 0; i <= top; ++i) {
        const double pa = a[i];
        if (pa == 0)
            continue;
        for (std::size_t j = 0; i + j < top; ++j)
            sum[i + j] += pa * b[j];
        sum[top] += pa * tail[top - i];
    }
    return sum;
}

std::string decimal(ExactInt value)
{
    if (value == 0)
        return "0";
    const bool negative = value < 0;
    std::string digits;
    while (value != 0) {
        const int digit = static_cast<int>(value % 10);
        digits += static_cast<char>('0' + (negative ? -digit : digit));
        value /= 10;
    }
    if (negative)
        digits += '-';
    std::reverse(digits.begin(), digits.end());
    return digits;
}

} // namespace

long double WinDistribution::mean() const
{
    long double sum = 0;
    for (const WinAtom& atom : atoms)
        sum += static_cast<long double>(atom.win) * atom.probability;
    return sum / static_cast<long double>(unitsPerCredit);
}

long double WinDistribution::variance() const
{
    // Around the mean, not E[x^2] - mean^2, which cancels badly for rare jackpots.
    const long double units = static_cast<long double>(unitsPerCredit);
    const long double m = mean();
    long double sum = 0;
    for (const WinAtom& atom : atoms) {
        const long double d = static_cast<long double>(atom.win) / units - m;
        sum += d * d * atom.probability;
    }
    return sum;
}

long double WinDistribution::probabilityAbove(double credits) const
{
    long double sum = 0;
    for (const WinAtom& atom : atoms)
        if (static_cast<long double>(atom.win) > static_cast<long double>(credits) * unitsPerCredit)
            sum += atom.probability;
    return sum;
}

WinDistribution Convolve(const WinDistribution& a, const WinDistribution& b)
{
    if (a.atoms.empty() || b.atoms.empty() || a.unitsPerCredit != b.unitsPerCredit)
        return {};
    const std::int64_t low = a.atoms.front().win + b.atoms.front().win;
    const std::int64_t range = a.atoms.back().win + b.atoms.back().win - low + 1;
    const std::int64_t pairs = static_cast<std::int64_t>(a.atoms.size() * b.atoms.size());
    if (range <= kDenseRange && range <= 16 * pairs + 4096) {
        std::vector<long double> bins(static_cast<std::size_t>(range));
        for (const WinAtom& x : a.atoms)
            for (const WinAtom& y : b.atoms)
                bins[static_cast<std::size_t>(x.win + y.win - low)] += x.probability * y.probability;
        WinDistribution sum;
        sum.unitsPerCredit = a.unitsPerCredit;
        for (std::size_t i = 0; i < bins.size(); ++i)
            if (bins[i] > 0)
                sum.atoms.push_back({low + static_cast<std::int64_t>(i), bins[i]});
        return sum;
    }
    std::vector<WinAtom> all;
    all.reserve(static_cast<std::size_t>(pairs));
    for (const WinAtom& x : a.atoms)
        for (const WinAtom& y : b.atoms)
            all.push_back({x.win + y.win, x.probability * y.probability});
    WinDistribution sum = sortAndMerge(std::move(all));
    sum.unitsPerCredit = a.unitsPerCredit;
    return sum;
}

WinDistribution ConvolvePower(const WinDistribution& one, int times)
{
    WinDistribution sum{{{0, 1.0L}}, one.unitsPerCredit};
    if (times <= 0 || one.atoms.empty())
        return times <= 0 ? sum : WinDistribution{};
    // One copy at a time: `one` has few atoms, so each step costs about the sum's support,
    // while squaring would pair two large supports. The sums stay in two reused dense arrays,
    // offset by the lowest possible sum, when their range allows.
    // Bins count in steps of the wins' common divisor (a bet of 5 makes every win a multiple
    // of 5), offset by the lowest possible sum.
    const std::int64_t low = one.atoms.front().win;
    std::int64_t step = 0;
    for (const WinAtom& atom : one.atoms)
        step = std::gcd(step, atom.win - low);
    step = std::max<std::int64_t>(step, 1);
    const std::int64_t spread = (one.atoms.back().win - low) / step;
    if (spread > kDenseRange / times) {
        for (int i = 0; i < times; ++i)
            sum = Convolve(sum, one);
        return sum;
    }
    const auto size = static_cast<std::size_t>(spread * times + 1);
    std::vector<long double> current(size), next(size);
    current[0] = 1;
    std::size_t top = 0; // the highest bin that may be non-zero
    for (int i = 0; i < times; ++i) {
        std::fill(next.begin(), next.begin() + static_cast<std::ptrdiff_t>(top + spread + 1), 0.0L);
        for (std::size_t j = 0; j <= top; ++j) {
            const long double p = current[j];
            if (p == 0)
                continue;
            for (const WinAtom& atom : one.atoms)
                next[j + static_cast<std::size_t>((atom.win - low) / step)] += p * atom.probability;
        }
        top += static_cast<std::size_t>(spread);
        current.swap(next);
    }
    sum.atoms.clear();
    for (std::size_t j = 0; j <= top; ++j)
        if (current[j] > 0)
            sum.atoms.push_back({low * times + static_cast<std::int64_t>(j) * step, current[j]});
    return sum;
}

ExactSessionFigures ExactSessionFiguresOf(const WinDistribution& game, int games)
{
    // Sums are kept in the game's units and rounded to whole credits at the end.
    const std::int64_t units = std::max<std::int64_t>(game.unitsPerCredit, 1);
    const std::int64_t top = kExactSessionTopWin * units;
    SessionBins one(static_cast<std::size_t>(top + 1));
    int nonzero = 0;
    for (const WinAtom& atom : game.atoms) {
        const auto bin = static_cast<std::size_t>(std::clamp<std::int64_t>(atom.win, 0, top));
        nonzero += one[bin] == 0 ? 1 : 0;
        one[bin] += static_cast<double>(atom.probability);
    }

    SessionBins session(static_cast<std::size_t>(top + 1));
    session[0] = 1;
    const auto steps = static_cast<unsigned>(std::max(games, 0));
    // Game by game costs `games` sums of `nonzero` rows; squaring costs up to 2 log2(games)
    // sums of full triangles (half of every row). Take the cheaper.
    const long long oneByOne = static_cast<long long>(steps) * nonzero;
    const long long bySquaring =
        static_cast<long long>(std::bit_width(steps) + std::popcount(steps)) * (top + 1) / 2;
    if (oneByOne <= bySquaring) {
        for (unsigned g = 0; g < steps; ++g)
            session = foldedSum(one, session);
    } else {
        SessionBins power = one;
        for (unsigned rest = steps; rest != 0; rest >>= 1) {
            if (rest & 1u)
                session = foldedSum(session, power);
            if (rest > 1)
                power = foldedSum(power, power);
        }
    }

    ExactSessionFigures figures;
    for (std::int64_t w = 0; w <= top; ++w) {
        const auto credits =
            static_cast<std::int64_t>(RoundHalfEven(static_cast<double>(w) / static_cast<double>(units)));
        figures.probability[static_cast<std::size_t>(std::min<std::int64_t>(credits, kExactSessionTopWin))] +=
            session[static_cast<std::size_t>(w)];
    }
    session.assign(figures.probability.begin(), figures.probability.end());
    double sessions = 0, breakevenOrWinning = 0, doubled = 0, losingHalf = 0;
    for (int w = 0; w <= kExactSessionTopWin; ++w) {
        const double p = session[w];
        sessions += p;
        if (w < 51)
            losingHalf += p;
        if (w >= 100)
            breakevenOrWinning += p;
        if (w >= 200)
            doubled += p;
        // Only a clearly greater chance moves the mode: two wins of equal exact chance must
        // not be told apart by rounding, and the lower one wins a tie.
        if (w != kExactSessionTopWin && p > session[figures.mode] * (1 + 1e-12))
            figures.mode = w;
    }
    if (sessions > 0) {
        figures.breakevenOrWinningPct = breakevenOrWinning / sessions * 100;
        figures.losingPct = (1 - breakevenOrWinning / sessions) * 100;
        figures.doublePct = doubled / sessions * 100;
        figures.fiveFoldPct = session[kExactSessionTopWin] / sessions * 100;
        figures.loseHalfPct = losingHalf / sessions * 100;
    }
    return figures;
}

std::string ExactFraction::text() const
{
    return decimal(numerator) + "/" + decimal(denominator);
}

} // namespace tallyhawk
