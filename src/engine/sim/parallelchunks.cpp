// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "parallelchunks.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace tallyhawk {

void PlayChunksInOrder(std::int64_t chunks, int threads, const std::function<void(std::int64_t)>& play,
                       const std::function<bool(std::int64_t)>& merge)
{
    if (chunks <= 0)
        return;
    if (threads <= 0)
        threads = static_cast<int>(std::thread::hardware_concurrency());
    threads = static_cast<int>(std::clamp<std::int64_t>(threads, 1, chunks));

    // Chunks are claimed in order by whichever thread is free, the calling thread included;
    // the calling thread merges them in their order, playing one itself while it waits.
    std::mutex mutex;
    std::condition_variable chunkDone;
    std::vector<char> done(static_cast<std::size_t>(chunks), 0); // guarded by mutex
    std::atomic<std::int64_t> nextChunk{0};
    std::atomic<bool> finished{false};
    auto playNextChunk = [&] {
        const std::int64_t chunk = nextChunk.fetch_add(1);
        if (chunk >= chunks)
            return false;
        play(chunk);
        {
            std::lock_guard lock(mutex);
            done[static_cast<std::size_t>(chunk)] = 1;
        }
        chunkDone.notify_one();
        return true;
    };

    std::vector<std::thread> workers;
    // Ends the workers however the merging ends, a throwing merge included.
    struct Joiner
    {
        std::atomic<bool>& finished;
        std::vector<std::thread>& workers;
        ~Joiner()
        {
            finished = true;
            for (std::thread& worker : workers)
                worker.join();
        }
    } joiner{finished, workers};
    try {
        for (int t = 1; t < threads; ++t)
            workers.emplace_back([&] {
                while (!finished.load(std::memory_order_relaxed) && playNextChunk()) {
                }
            });
    } catch (const std::system_error&) {
        // Fewer threads than asked: those that started share the chunks.
    }

    for (std::int64_t chunk = 0; chunk < chunks; ++chunk) {
        for (;;) {
            {
                std::unique_lock lock(mutex);
                if (done[static_cast<std::size_t>(chunk)])
                    break;
            }
            if (!playNextChunk()) {
                std::unique_lock lock(mutex);
                chunkDone.wait(lock, [&] { return done[static_cast<std::size_t>(chunk)] != 0; });
                break;
            }
        }
        if (!merge(chunk))
            break;
    }
}

} // namespace tallyhawk
