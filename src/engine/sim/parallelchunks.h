// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// Long runs count on every core: their games are cut into fixed chunks, each played from its
// own random stream on whichever thread is free, and merged in chunk order on the calling
// thread. A run's figures then depend on its seed alone, never on the number of threads.

#include <cstdint>
#include <functional>

namespace tallyhawk {

// Plays chunks 0 to chunks - 1 with `play` on up to `threads` threads (0: one per core), the
// calling thread among them, and hands each chunk to `merge` on the calling thread, in order,
// once it is played. When `merge` returns false, no later chunk is merged and the threads stop
// after the chunks they are playing. `play` runs concurrently for different chunks.
void PlayChunksInOrder(std::int64_t chunks, int threads, const std::function<void(std::int64_t)>& play,
                       const std::function<bool(std::int64_t)>& merge);

} // namespace tallyhawk
