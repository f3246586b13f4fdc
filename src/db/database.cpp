#include "database.h"

#include "schema.h"
#include "schemaversion.h"
#include "sqlerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace tallyhawk {

namespace {

// A rollback journal beside the file that a program stopped in the middle of a change left
// behind: the next connection that may write rolls the change back.
bool hasHotJournal(const QString& path)
{
    return QFileInfo(path + "-journal").size() > 0;
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
    if (opening.fileVersion == current)
        opening.outcome = OpenOutcome::Current;
    else if (opening.readOnly)
        opening.outcome = OpenOutcome::Older;
    else if (UpgradeSchema(db, opening.fileVersion, &fault))
        opening.outcome = OpenOutcome::Upgraded;
    else if (QString missing; !checkSchema(db, &missing))
        return missing; // not a Tallyhawk database at all: that says more than the failed step
    else
        return "It could not be brought up to date. " + fault;

    if (!checkSchema(db, &fault))
        return fault;
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

bool installDatabaseIfMissing(const QString& seed, const QString& target, QString* error)
{
    if (QFileInfo::exists(target))
        return true;
    const QFileInfo targetInfo(target);
    if (!QDir().mkpath(targetInfo.absolutePath())) {
        *error = QStringLiteral("The data folder %1 cannot be created.")
                     .arg(QDir::toNativeSeparators(targetInfo.absolutePath()));
        return false;
    }
    if (!QFileInfo::exists(seed)) {
        *error = QStringLiteral("The database to install, %1, is missing from the program folder.")
                     .arg(QDir::toNativeSeparators(seed));
        return false;
    }
    const QString partial = target + ".partial";
    QFile::remove(partial);
    if (!QFile::copy(seed, partial) || !QFile::rename(partial, target)) {
        QFile::remove(partial);
        *error = QStringLiteral("The database could not be installed as %1.")
                     .arg(QDir::toNativeSeparators(target));
        return false;
    }
    // A copy keeps the seed's read-only permissions when it was installed read-only.
    QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner | QFile::ReadOwner);
    return true;
}

} // namespace tallyhawk
