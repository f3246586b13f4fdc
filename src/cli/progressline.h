// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The progress of a long command: one line on standard error ("simulate:  40% (400000 of
// 1000000 games)"), rewritten in place at every tenth of the work and at least once a second,
// and ended with a line feed.

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace tallyhawk::cli {

class ProgressLine
{
public:
    // `total` games, or 0 for work measured as a share of its whole.
    ProgressLine(bool enabled, const char* what, std::int64_t total = 0)
        : m_enabled(enabled), m_what(what), m_total(total)
    {
    }
    ~ProgressLine() { finish(); }

    void update(std::int64_t done)
    {
        if (m_total > 0)
            show(static_cast<int>(100 * done / m_total), done);
    }
    void updateShare(double share) { show(static_cast<int>(100 * share), -1); }

    void finish()
    {
        if (m_shown)
            std::fputs("\n", stderr);
        m_shown = false;
    }

private:
    void show(int percent, std::int64_t done)
    {
        if (!m_enabled)
            return;
        const std::int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count();
        if (percent / 10 == m_lastTenth && now - m_lastShownMs < 1000)
            return;
        m_lastShownMs = now;
        m_lastTenth = percent / 10;
        if (done >= 0)
            std::fprintf(stderr, "\r%s: %3d%% (%lld of %lld games)", m_what, percent,
                         static_cast<long long>(done), static_cast<long long>(m_total));
        else
            std::fprintf(stderr, "\r%s: %3d%%", m_what, percent);
        std::fflush(stderr);
        m_shown = true;
    }

    bool m_enabled;
    const char* m_what;
    std::int64_t m_total;
    int m_lastTenth = -1;
    std::int64_t m_lastShownMs = 0;
    bool m_shown = false;
};

} // namespace tallyhawk::cli
