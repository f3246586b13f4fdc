// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "creditwalk.h"

#include <algorithm>
#include <cstring>

namespace tallyhawk {

namespace {

// Probabilities below this are dropped as the walk goes: they would only decay into subnormal
// numbers, which are slow, and all of them together weigh nothing that a figure can show.
constexpr double kNegligible = 1e-250;

// to[i] += factor x from[i], two at a time: the compiler's cautious default does not vectorize it.
void addScaled(double* __restrict to, const double* __restrict from, std::int64_t count, double factor)
{
    using Pair = double __attribute__((vector_size(2 * sizeof(double))));
    const Pair f = {factor, factor};
    std::int64_t i = 0;
    for (; i + 4 <= count; i += 4) {
        Pair a, b, x, y;
        std::memcpy(&a, from + i, sizeof a);
        std::memcpy(&b, from + i + 2, sizeof b);
        std::memcpy(&x, to + i, sizeof x);
        std::memcpy(&y, to + i + 2, sizeof y);
        x += f * a;
        y += f * b;
        std::memcpy(to + i, &x, sizeof x);
        std::memcpy(to + i + 2, &y, sizeof y);
    }
    for (; i < count; ++i)
        to[i] += factor * from[i];
}

} // namespace

CreditWalk::CreditWalk(std::int64_t width, std::int64_t start, std::vector<std::int64_t> shifts,
                       std::vector<double> probability, bool keepOccupancy)
    : m_shifts(std::move(shifts)), m_probability(std::move(probability)),
      m_mass(static_cast<std::size_t>(width)), m_next(m_mass.size()), m_sums(m_mass.size() + 1),
      m_first(start), m_last(start)
{
    m_mass[static_cast<std::size_t>(start)] = 1;
    if (keepOccupancy)
        m_occupancy.assign(m_mass.size(), 0);
}

CreditWalk::Moves CreditWalk::step()
{
    Moves moves;
    if (m_first > m_last)
        return moves;
    const auto width = static_cast<std::int64_t>(m_mass.size());
    double* const mass = m_mass.data();
    double running = 0;
    for (std::int64_t j = m_first; j <= m_last; ++j) {
        running += mass[j];
        m_sums[static_cast<std::size_t>(j - m_first + 1)] = running;
    }
    if (!m_occupancy.empty())
        for (std::int64_t j = m_first; j <= m_last; ++j)
            m_occupancy[static_cast<std::size_t>(j)] += mass[j];
    moves.before = running;

    // m_next is all zeros here, and is again after the swap.
    std::int64_t first = width, last = -1;
    for (std::size_t k = 0; k < m_shifts.size(); ++k) {
        const double p = m_probability[k];
        const std::int64_t d = m_shifts[k];
        if (p == 0)
            continue;
        const std::int64_t from = std::max(m_first, -d), to = std::min(m_last, width - 1 - d);
        if (from <= to) {
            addScaled(m_next.data() + from + d, mass + from, to - from + 1, p);
            first = std::min(first, from + d);
            last = std::max(last, to + d);
        }
        if (d < 0 && from > m_first)
            moves.below += p * m_sums[static_cast<std::size_t>(std::min(from, m_last + 1) - m_first)];
        if (d > 0 && to < m_last)
            moves.above +=
                p * (running - m_sums[static_cast<std::size_t>(std::max(to + 1, m_first) - m_first)]);
    }
    std::fill(mass + m_first, mass + m_last + 1, 0.0);
    m_mass.swap(m_next);

    double* const next = m_mass.data();
    m_first = width;
    m_last = -1;
    for (std::int64_t j = first; j <= last; ++j) {
        if (next[j] < kNegligible) {
            next[j] = 0;
            continue;
        }
        moves.after += next[j];
        m_first = std::min(m_first, j);
        m_last = j;
    }
    return moves;
}

} // namespace tallyhawk
