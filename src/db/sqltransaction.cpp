// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "sqltransaction.h"

#include "sqlerror.h"

#include <QSqlQuery>

namespace tallyhawk {

SqlTransaction::SqlTransaction(QSqlDatabase db) : m_db(db)
{
    // IMMEDIATE takes the write lock now, waiting out other writers with the busy timeout;
    // a deferred transaction that reads first could fail later without waiting.
    QSqlQuery begin(m_db);
    m_active = begin.exec("BEGIN IMMEDIATE");
    if (!m_active)
        m_error = DescribeSqlError(begin.lastError());
}

SqlTransaction::~SqlTransaction()
{
    if (m_active)
        rollback();
}

bool SqlTransaction::commit()
{
    if (!m_active)
        return false;
    QSqlQuery commit(m_db);
    if (commit.exec("COMMIT")) {
        m_active = false;
        return true;
    }
    // SQLite keeps a transaction open when its COMMIT fails; left open, every later change
    // would run inside it and be lost when the connection closes.
    m_error = DescribeSqlError(commit.lastError());
    commit.finish();
    rollback();
    return false;
}

void SqlTransaction::rollback()
{
    // A ROLLBACK that finds no transaction (SQLite ends one by itself after some I/O errors)
    // fails harmlessly.
    QSqlQuery rollback(m_db);
    rollback.exec("ROLLBACK");
    m_active = false;
}

} // namespace tallyhawk
