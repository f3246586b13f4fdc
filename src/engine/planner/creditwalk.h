// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The distribution of the credits of the sessions still playing, over a window of points, carried
// from game to game: each game moves the mass on a point by every shift of the play, with the
// shift's probability, and what a shift takes out of the window leaves the walk.

#include <cstdint>
#include <vector>

namespace tallyhawk {

class CreditWalk
{
public:
    // All the mass on `start` (0 to width - 1). Probabilities may add up to less than 1: the rest
    // of a play leaves the walk.
    CreditWalk(std::int64_t width, std::int64_t start, std::vector<std::int64_t> shifts,
               std::vector<double> probability, bool keepOccupancy);

    struct Moves
    {
        double before = 0; // the mass before the game
        double below = 0;  // what the game took below the window
        double above = 0;  // and above it
        double after = 0;  // what stays
    };

    Moves step();

    const std::vector<double>& mass() const { return m_mass; }
    // Per point, the sum of its mass before each game so far (when kept).
    const std::vector<double>& occupancy() const { return m_occupancy; }

private:
    std::vector<std::int64_t> m_shifts;
    std::vector<double> m_probability;
    std::vector<double> m_mass, m_next, m_sums, m_occupancy;
    std::int64_t m_first, m_last; // the points that may hold mass; none when m_first > m_last
};

} // namespace tallyhawk
