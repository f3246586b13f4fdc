// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The numbered versions of the database's layout. A file carries its version in SQLite's
// user_version; 0 is the layout from before the versions were numbered. An older file is
// brought up to date step by step, every step and the new number in one transaction, so a file
// is at its old version or the current one, never between them.

#include <QSqlDatabase>
#include <QString>

namespace tallyhawk {

// The version this program writes and reads.
int CurrentSchemaVersion();

[[nodiscard]] bool ReadSchemaVersion(QSqlDatabase db, int* version, QString* error);

// Sets the version; for use inside the caller's transaction (a new file's schema).
[[nodiscard]] bool WriteSchemaVersion(QSqlDatabase db, int version, QString* error);

// Runs every step after fromVersion in one transaction. On a failure nothing is left behind
// and error names the failed step.
[[nodiscard]] bool UpgradeSchema(QSqlDatabase db, int fromVersion, QString* error);

} // namespace tallyhawk
