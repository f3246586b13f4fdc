// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// Hands the latest value of a worker thread to the interface thread. At most one delivery is
// waiting at a time and it carries the newest value, so a fast worker never floods the event
// queue and the window always shows where the work stands.

#include <mutex>
#include <QMetaObject>
#include <QObject>

namespace tallyhawk {

template <typename T> class LatestValueRelay
{
public:
    // Called on the worker thread; `deliver(value)` runs on the context's thread.
    template <typename Deliver> void post(QObject* context, const T& value, Deliver deliver)
    {
        std::lock_guard lock(m_mutex);
        m_value = value;
        if (m_posted)
            return;
        m_posted = true;
        QMetaObject::invokeMethod(
            context,
            [this, deliver] {
                T latest;
                {
                    std::lock_guard lock(m_mutex);
                    latest = m_value;
                    m_posted = false;
                }
                deliver(latest);
            },
            Qt::QueuedConnection);
    }

private:
    std::mutex m_mutex;
    T m_value{};
    bool m_posted = false;
};

} // namespace tallyhawk
