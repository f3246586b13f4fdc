#pragma once
// Opening the database file, and installing it from the seed that comes with the program.

#include <QSqlDatabase>
#include <QString>

namespace tallyhawk {

inline constexpr char kDatabaseFileName[] = "Tallyhawk.orf";

struct DatabaseOpening
{
    QSqlDatabase db;
    QString error; // a sentence for the user naming the file and the fault; empty when open
    bool ok() const { return error.isEmpty(); }
};

// Opens an existing database file for reading and writing under the given connection name
// and checks that it holds every table and field. A missing file, a file that is not a
// database, or one that lacks a table is reported and never written to.
enum class OpenMode
{
    ReadWrite,
    ReadOnly
};
[[nodiscard]] DatabaseOpening openDatabase(const QString& path, const QString& connectionName,
                                           OpenMode mode = OpenMode::ReadWrite);

// Closes the connection and forgets its name, so the file is released.
void closeDatabase(QSqlDatabase& db);

// Installs the database for this user: when `target` does not exist, creates its folder and
// copies `seed` there (through a temporary file, so a failed copy leaves no partial file).
// An existing target is never touched. Returns false with a sentence for the user.
[[nodiscard]] bool installDatabaseIfMissing(const QString& seed, const QString& target, QString* error);

} // namespace tallyhawk
