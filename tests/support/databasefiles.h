// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// Database files in the states that real use leaves them in: damaged, read-only, or with the
// journal of a change that a killed program did not finish.

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

namespace tallyhawk {

inline QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Writes a file, and the folders it lies in.
inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}

// Runs statements on a file through a connection of its own, closed again before returning.
// False when one fails.
inline bool runStatements(const QString& path, const QStringList& statements)
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "support-statements");
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery query(db);
        for (const QString& statement : statements)
            ok = ok && query.exec(statement);
    }
    QSqlDatabase::removeDatabase("support-statements");
    return ok;
}

// Overwrites the header of the [Pay Table]'s first b-tree page with bytes that no page has,
// as a failing disk would: the file still opens, its schema reads, but its rows do not.
inline bool damagePayTablePage(const QString& path)
{
    int rootPage = 0, pageSize = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "support-damage");
        db.setDatabaseName(path);
        db.setConnectOptions("QSQLITE_OPEN_READONLY");
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec("SELECT rootpage FROM sqlite_master WHERE name = 'Pay Table'") && query.next())
                rootPage = query.value(0).toInt();
            if (query.exec("PRAGMA page_size") && query.next())
                pageSize = query.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase("support-damage");
    QFile file(path);
    if (rootPage < 2 || pageSize == 0 || !file.open(QIODevice::ReadWrite))
        return false;
    file.seek(static_cast<qint64>(rootPage - 1) * pageSize);
    return file.write(QByteArray(16, '\xff')) == 16;
}

// Copies a database together with the rollback journal of a change in progress, as a program
// killed in the middle of a change leaves them: the copy has a "hot" journal that the next
// connection that may write rolls back. (Without synchronous writes SQLite completes the
// journal's header at once; otherwise it does so only on the way to a commit.)
inline bool copyWithHotJournal(const QString& source, const QString& target)
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "support-journal");
        db.setDatabaseName(source);
        QSqlQuery query(db);
        ok = db.open() && query.exec("PRAGMA synchronous = OFF") && query.exec("BEGIN") &&
             query.exec("UPDATE [Defaults] SET [SaveCredits] = 999") && QFile::copy(source, target) &&
             QFile::copy(source + "-journal", target + "-journal");
        query.exec("ROLLBACK");
    }
    QSqlDatabase::removeDatabase("support-journal");
    return ok;
}

// Marks a file or folder read-only for everybody while it lives.
class ReadOnlyMark
{
public:
    explicit ReadOnlyMark(const QString& path) : m_path(path), m_permissions(QFile::permissions(path))
    {
        QFile::setPermissions(path, m_permissions & ~(QFile::WriteOwner | QFile::WriteUser |
                                                      QFile::WriteGroup | QFile::WriteOther));
    }
    ~ReadOnlyMark() { QFile::setPermissions(m_path, m_permissions); }
    ReadOnlyMark(const ReadOnlyMark&) = delete;
    ReadOnlyMark& operator=(const ReadOnlyMark&) = delete;

private:
    QString m_path;
    QFile::Permissions m_permissions;
};

} // namespace tallyhawk
