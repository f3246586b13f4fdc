// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "sqlerror.h"

namespace tallyhawk {

int SqliteResultCode(const QSqlError& error)
{
    // Extended codes carry the primary code in their low byte.
    return error.nativeErrorCode().toInt() & 0xff;
}

QString DescribeSqlError(const QSqlError& error)
{
    switch (SqliteResultCode(error)) {
    case kSqliteBusy:
    case kSqliteLocked:
        return "Another program is using the database file.";
    case kSqliteReadOnly:
        return "The database file is read-only.";
    case kSqliteFull:
        return "The disk is full.";
    case kSqliteCorrupt:
    case kSqliteNotADatabase:
        return QStringLiteral("The database file is damaged (%1).").arg(error.databaseText());
    default:
        // The engine's own words; Qt's part ("Unable to fetch row") says nothing to a user.
        return error.databaseText().isEmpty() ? error.text() : error.databaseText();
    }
}

} // namespace tallyhawk
