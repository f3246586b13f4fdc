// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "kenorandom.h"

namespace tallyhawk {

namespace {

std::uint64_t splitMix64(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

} // namespace

pcg32 ChunkGenerator(std::uint64_t seed, std::uint64_t chunk)
{
    return pcg32(splitMix64(seed ^ splitMix64(chunk)), chunk);
}

} // namespace tallyhawk
