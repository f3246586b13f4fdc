// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// Opening the database file, and installing it from the seed that comes with the program.

#include <QSqlDatabase>
#include <QString>

namespace tallyhawk {

inline constexpr char kDatabaseFileName[] = "Tallyhawk.orf";

enum class OpenMode
{
    ReadWrite, // read and write when the file and its folder allow it, else read only
    ReadOnly
};

enum class OpenOutcome
{
    Current,  // the file was at this program's version
    Upgraded, // an older file, brought up to date
    Older,    // an older file, read as it is because it may not be changed
    Newer,    // refused: a newer Tallyhawk made it
    Unusable  // refused: missing, unreadable, not a database, damaged or lacking a table
};

struct DatabaseOpening
{
    QSqlDatabase db;
    OpenOutcome outcome = OpenOutcome::Unusable;
    int fileVersion = 0; // the file's version before it was opened
    // Opened read-only: asked for, or the file or its folder may not be changed.
    bool readOnly = false;
    QString error; // when refused: a sentence for the user naming the file and the fault
    bool ok() const { return outcome != OpenOutcome::Newer && outcome != OpenOutcome::Unusable; }
};

// Opens an existing database file under the given connection name. Before anything is
// written, the file must be a database that passes SQLite's quick check, was not made by a
// newer Tallyhawk, and holds every table and field and a row of options in "Defaults"; only
// then is an older one brought up to date (unless opened read-only), in one transaction. A
// refused file is closed again and left byte for byte as it was.
[[nodiscard]] DatabaseOpening openDatabase(const QString& path, const QString& connectionName,
                                           OpenMode mode = OpenMode::ReadWrite);

// Whether the connection was opened read-only.
bool IsReadOnly(const QSqlDatabase& db);

// False when a file or folder may not be changed: we may not write it, or its permissions
// forbid writing for everybody (a user who marks a file read-only means it, even when the
// program runs with rights that would override the marks).
bool MayChange(const QString& path);
// The same for a folder whose files are to be written.
bool MayChangeFolder(const QString& path);

// Closes the connection and forgets its name, so the file is released.
void closeDatabase(QSqlDatabase& db);

// Installs the database for this user: when `target` does not exist, creates its folder and
// copies `seed` there (through a temporary file, so a failed copy leaves no partial file).
// An existing target is never touched. Returns false with a sentence for the user that names
// the cause: a folder that is not writable, a full disk, the system's reason for a failed write.
[[nodiscard]] bool installDatabaseIfMissing(const QString& seed, const QString& target, QString* error);

// The sentence for a disk without room for `needed` bytes in `folder`, `available` being free
// (negative: unknown); empty when they fit.
QString NoRoomFault(const QString& folder, qint64 needed, qint64 available);

} // namespace tallyhawk
