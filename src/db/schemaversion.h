#pragma once
// The numbered versions of the database's layout. A file carries its version in SQLite's
// user_version; 0 is the layout from before the versions were numbered. An older file is
// brought up to date step by step, each step in one transaction that also sets its number,
// so a file is always at one version or the next, never between them.

#include <QSqlDatabase>
#include <QString>

namespace tallyhawk {

// The version this program writes and reads.
int CurrentSchemaVersion();

[[nodiscard]] bool ReadSchemaVersion(QSqlDatabase db, int* version, QString* error);

// Sets the version; for use inside the caller's transaction (a new file's schema).
[[nodiscard]] bool WriteSchemaVersion(QSqlDatabase db, int version, QString* error);

// Runs every step after fromVersion, each in its own transaction. On a failure the steps
// before it stay done, the failed one leaves nothing behind, and error names it.
[[nodiscard]] bool UpgradeSchema(QSqlDatabase db, int fromVersion, QString* error);

} // namespace tallyhawk
