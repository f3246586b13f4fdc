#include "database.h"

#include "schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace tallyhawk {

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

    opening.db = QSqlDatabase::addDatabase("QSQLITE", connectionName);
    opening.db.setDatabaseName(path);
    if (mode == OpenMode::ReadOnly)
        opening.db.setConnectOptions("QSQLITE_OPEN_READONLY");
    QString fault;
    if (!opening.db.open()) {
        fault = opening.db.lastError().text();
    } else {
        // Opening is lazy: the first read is what finds out whether the file is a database.
        QSqlQuery probe(opening.db);
        if (!probe.exec("SELECT count(*) FROM sqlite_master"))
            fault = probe.lastError().databaseText();
        else if (!checkSchema(opening.db, &fault) && fault.isEmpty())
            fault = QStringLiteral("It is not a Tallyhawk database.");
    }
    if (!fault.isEmpty()) {
        opening.error = QStringLiteral("The database file %1 cannot be used. %2").arg(shownPath, fault);
        closeDatabase(opening.db);
    }
    return opening;
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
