// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The database engine's errors as sentences for the user.

#include <QSqlError>
#include <QString>

namespace tallyhawk {

// The cause of a failure as a sentence: the faults a user can meet and act on (a read-only
// file, a file another program is using, a full disk, a damaged file) in plain words, any
// other in the engine's own words. Callers put what could not be done before it.
QString DescribeSqlError(const QSqlError& error);

// SQLite's primary result code of an error (its low byte), 0 when there is none.
int SqliteResultCode(const QSqlError& error);

// SQLite's result codes that the program tells apart.
inline constexpr int kSqliteBusy = 5;
inline constexpr int kSqliteLocked = 6;
inline constexpr int kSqliteReadOnly = 8;
inline constexpr int kSqliteCorrupt = 11;
inline constexpr int kSqliteFull = 13;
inline constexpr int kSqliteNotADatabase = 26;

} // namespace tallyhawk
