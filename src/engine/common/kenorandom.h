// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The program's one random generator: a pcg32 giving single-precision values in [0, 1).
// Every random choice of the program draws from it, except the runs that count on every core
// (the simulation, the randomness test): they cut their games into chunks, each with its own
// stream derived from one seed drawn here, so one seed reproduces a whole run.

#include <cstdint>
#include <pcg_random.hpp>

namespace tallyhawk {

class KenoRandom
{
public:
    explicit KenoRandom(std::uint64_t seed = 0) : m_generator(seed) {}
    explicit KenoRandom(const pcg32& generator) : m_generator(generator) {}

    void seed(std::uint64_t seed) { m_generator.seed(seed); }

    // The top 24 bits of the next output over 2^24: every float in [0, 1) that this can
    // give is exactly representable, and 1.0 is never returned.
    float uniform() { return static_cast<float>(m_generator() >> 8) * (1.0f / 16777216.0f); }

    // A whole number drawn uniformly from [0, bound), without the bias of a multiply.
    std::uint32_t below(std::uint32_t bound) { return m_generator(bound); }

    std::uint32_t next() { return m_generator(); }

private:
    pcg32 m_generator;
};

// The stream of chunk `chunk` of a run seeded with `seed`. Both the state and the stream
// differ from chunk to chunk: neighbouring pcg streams that share a state are correlated.
pcg32 ChunkGenerator(std::uint64_t seed, std::uint64_t chunk);

} // namespace tallyhawk
