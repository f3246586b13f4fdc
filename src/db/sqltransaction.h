// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// A transaction that rolls back unless committed, so that an early return or a failed
// statement never leaves several rows half-changed.

#include <QSqlDatabase>
#include <QString>

namespace tallyhawk {

class SqlTransaction
{
public:
    // Begins at once. A writer that finds it inactive must not go on: its statements would
    // each commit on their own. error() says why it could not begin.
    explicit SqlTransaction(QSqlDatabase db);
    // Rolls back when neither committed nor rolled back.
    ~SqlTransaction();
    SqlTransaction(const SqlTransaction&) = delete;
    SqlTransaction& operator=(const SqlTransaction&) = delete;

    [[nodiscard]] bool isActive() const { return m_active; }

    // Commits. A commit that fails (the file busy with another program's read, a full disk)
    // is rolled back at once, so the connection is left outside any transaction and the next
    // change can land; false then, with the reason in error().
    [[nodiscard]] bool commit();

    // Why the transaction could not begin or commit, as a sentence for the user.
    const QString& error() const { return m_error; }

private:
    void rollback();

    QSqlDatabase m_db;
    bool m_active = false;
    QString m_error;
};

} // namespace tallyhawk
