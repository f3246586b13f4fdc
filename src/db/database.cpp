// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "database.h"

#include "defaults.h"
#include "schema.h"
#include "schemaversion.h"
#include "sqlerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStorageInfo>

namespace tallyhawk {

namespace {

// A rollback journal beside the file that a program stopped in the middle of a change left
// behind: the next connection that may write rolls the change back.
bool hasHotJournal(const QString& path)
{
    return QFileInfo(path + "-journal").size() > 0;
}

// The program's options are read from the first row of "Defaults": a file whose row cannot be
// read cannot start, so it is refused here, before anything is written.
bool checkDefaultsRow(QSqlDatabase& db, QString* error)
{
    ProgramDefaults defaults;
    QStringList setAside; // a value that does not fit is replaced when read, not refused
    return ReadDefaults(db, &defaults, error, &setAside);
}

// Checks and brings up to date an open file. An empty result means usable.
QString checkOpenedFile(DatabaseOpening& opening, const QString& path, OpenMode mode)
{
    QSqlDatabase& db = opening.db;
    // Opening is lazy: the first read is what finds out whether the file is a database.
    QSqlQuery probe(db);
    if (!probe.exec("SELECT count(*) FROM sqlite_master")) {
        if (SqliteResultCode(probe.lastError()) == kSqliteReadOnly && hasHotJournal(path)) {
            return "It was left in the middle of a change when a program using it stopped. " +
                   QString(mode == OpenMode::ReadOnly
                               ? "Start Tallyhawk once to repair it."
                               : "It cannot be repaired while the file or its folder is read-only.");
        }
        return probe.lastError().databaseText();
    }
    probe.finish();

    QSqlQuery check(db);
    if (!check.exec("PRAGMA quick_check") || !check.next())
        return DescribeSqlError(check.lastError());
    if (const QString verdict = check.value(0).toString(); verdict != "ok")
        return QStringLiteral("It is damaged (%1).").arg(verdict);
    check.finish();

    QString fault;
    if (!ReadSchemaVersion(db, &opening.fileVersion, &fault))
        return fault;
    const int current = CurrentSchemaVersion();
    if (opening.fileVersion > current || opening.fileVersion < 0) {
        opening.outcome = OpenOutcome::Newer;
        return QStringLiteral("It was made by a newer version of Tallyhawk (its layout is version %1; this "
                              "program knows versions up to %2). Use the newer Tallyhawk with it.")
            .arg(opening.fileVersion)
            .arg(current);
    }
    // Everything that can refuse the file is checked before the upgrade writes anything, so
    // that a refused file stays byte for byte as it was. (The steps so far add no table or
    // field, so an older file must already hold every one.)
    if (!checkSchema(db, &fault) || !checkDefaultsRow(db, &fault))
        return fault;
    if (opening.fileVersion == current)
        opening.outcome = OpenOutcome::Current;
    else if (opening.readOnly)
        opening.outcome = OpenOutcome::Older;
    else if (UpgradeSchema(db, opening.fileVersion, &fault))
        opening.outcome = OpenOutcome::Upgraded;
    else
        return "It could not be brought up to date. " + fault;
    return {};
}

} // namespace

DatabaseOpening openDatabase(const QString& path, const QString& connectionName, OpenMode mode)
{
    DatabaseOpening opening;
    const QString shownPath = QDir::toNativeSeparators(path);
    const QFileInfo file(path);
    if (!file.exists()) {
        opening.error = QStringLiteral("The database file %1 does not exist.").arg(shownPath);
        return opening;
    }
    if (!file.isFile() || !file.isReadable()) {
        opening.error = QStringLiteral("The database file %1 cannot be read.").arg(shownPath);
        return opening;
    }

    // A file that may not be changed is opened read-only, so that nothing tries to write it.
    opening.readOnly =
        mode == OpenMode::ReadOnly || !MayChange(path) || !MayChangeFolder(file.absolutePath());
    opening.db = QSqlDatabase::addDatabase("QSQLITE", connectionName);
    opening.db.setDatabaseName(path);
    if (opening.readOnly)
        opening.db.setConnectOptions("QSQLITE_OPEN_READONLY");
    const QString fault =
        opening.db.open() ? checkOpenedFile(opening, path, mode) : opening.db.lastError().databaseText();
    if (!fault.isEmpty()) {
        if (opening.outcome != OpenOutcome::Newer)
            opening.outcome = OpenOutcome::Unusable;
        opening.error = QStringLiteral("The database file %1 cannot be used. %2").arg(shownPath, fault);
        closeDatabase(opening.db);
    }
    return opening;
}

bool IsReadOnly(const QSqlDatabase& db)
{
    return db.connectOptions().contains("QSQLITE_OPEN_READONLY");
}

bool MayChange(const QString& path)
{
    const QFileInfo info(path);
    const auto anyoneWrites = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return info.isWritable() && (info.permissions() & anyoneWrites);
}

bool MayChangeFolder(const QString& path)
{
#ifdef Q_OS_WIN
    // Windows ignores a folder's read-only attribute (which many folders carry) when its files
    // are written.
    return QFileInfo(path).isDir();
#else
    return MayChange(path);
#endif
}

void closeDatabase(QSqlDatabase& db)
{
    const QString name = db.connectionName();
    if (name.isEmpty())
        return;
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

QString NoRoomFault(const QString& folder, qint64 needed, qint64 available)
{
    if (available < 0 || available >= needed)
        return {};
    return QStringLiteral(
               "The disk is full: the database needs %1 bytes and the disk holding %2 has %3 free.")
        .arg(needed)
        .arg(QDir::toNativeSeparators(folder))
        .arg(available);
}

bool installDatabaseIfMissing(const QString& seed, const QString& target, QString* error)
{
    if (QFileInfo::exists(target))
        return true;
    const QString folder = QFileInfo(target).absolutePath();
    const QString shownFolder = QDir::toNativeSeparators(folder);
    auto fail = [&](const QString& reason) {
        *error = QStringLiteral("The database could not be installed as %1. %2")
                     .arg(QDir::toNativeSeparators(target), reason);
        return false;
    };
    // The nearest folder that exists: the data folder, or the one it is to be created in. Its
    // marks are heeded even where the program's rights would override them (see MayChange).
    QString existing = folder;
    while (!QFileInfo(existing).isDir() && QFileInfo(existing).path() != existing)
        existing = QFileInfo(existing).path();
    const QString notWritable =
        QStringLiteral("The folder %1 is not writable.").arg(QDir::toNativeSeparators(existing));
    if (existing != folder && !MayChangeFolder(existing)) {
        *error = QStringLiteral("The data folder %1 cannot be created. %2").arg(shownFolder, notWritable);
        return false;
    }
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("The data folder %1 cannot be created.").arg(shownFolder);
        return false;
    }
    QFile source(seed);
    if (!source.exists()) {
        *error = QStringLiteral("The database to install, %1, is missing from the program folder.")
                     .arg(QDir::toNativeSeparators(seed));
        return false;
    }
    if (!MayChangeFolder(folder))
        return fail(notWritable);
    // Checked before writing, so that a full disk is named as such rather than as a write error.
    if (const QString noRoom = NoRoomFault(folder, source.size(), QStorageInfo(folder).bytesAvailable());
        !noRoom.isEmpty())
        return fail(noRoom);
    if (!source.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("The database to install, %1, cannot be read: %2.")
                        .arg(QDir::toNativeSeparators(seed), source.errorString()));
    // QSaveFile writes beside the target and renames only a complete copy: nothing partial is left.
    QSaveFile copy(target);
    if (!copy.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("It cannot be written: %1.").arg(copy.errorString()));
    const QByteArray bytes = source.readAll();
    if (copy.write(bytes) != bytes.size() || !copy.commit())
        return fail(QStringLiteral("It cannot be written: %1.").arg(copy.errorString()));
    // A copy keeps the seed's read-only permissions when it was installed read-only.
    QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner | QFile::ReadOwner);
    return true;
}

} // namespace tallyhawk
