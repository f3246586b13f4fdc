// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "schema.h"

#include "engine/common/gameconstants.h"
#include "schemaversion.h"
#include "sqlerror.h"
#include "sqltransaction.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace tallyhawk {

namespace {

struct TableDefinition
{
    QString name;
    QStringList fields; // "name type" as in CREATE TABLE
};

QList<TableDefinition> tables()
{
    QStringList payTable = {"[Location] TEXT COLLATE NOCASE", "[Casino] TEXT COLLATE NOCASE",
                            "[Game] TEXT COLLATE NOCASE", "[Catch] INTEGER"};
    for (int n = 1; n <= kMaxMarks; ++n)
        payTable << QStringLiteral("[Pick%1] NUMERIC").arg(n);
    payTable << "[Bonus Ball] NUMERIC"
             << "[Free Games] NUMERIC"
             << "[Bonus Factor] NUMERIC"
             << "[Egg1 Bonus] NUMERIC"
             << "[Egg2 Bonus] NUMERIC"
             << "[Egg3 Bonus] NUMERIC";

    QStringList board;
    for (int c = 1; c <= 10; ++c)
        board << QStringLiteral("[Col%1] INTEGER").arg(c);

    QStringList counts = {"[Range] TEXT COLLATE NOCASE"};
    for (int c = 1; c <= 10; ++c)
        counts << QStringLiteral("[C%1] NUMERIC").arg(c);

    return {
        {"Pay Table", payTable},
        {"Defaults",
         {"[StartupGame] TEXT COLLATE NOCASE", "[SaveCredits] NUMERIC", "[StartupCredits] INTEGER",
          "[RandomSeed] INTEGER", "[SimGames] INTEGER", "[RandomPickForSim] INTEGER", "[SoundON] INTEGER",
          "[ShowNumbers] INTEGER", "[Speed] TEXT COLLATE NOCASE"}},
        {"Board", board},
        {"Speeds", {"[SpeedChoices] TEXT COLLATE NOCASE"}},
        {"Counts", counts},
        {"Sessions",
         {"[Win] INTEGER", "[Frequency] INTEGER", "[Location] TEXT COLLATE NOCASE",
          "[Casino] TEXT COLLATE NOCASE", "[Game] TEXT COLLATE NOCASE", "[Marked] NUMERIC",
          "[Total Win] NUMERIC"}},
    };
}

QString fieldName(const QString& definition)
{
    return definition.section(']', 0, 0).mid(1);
}

} // namespace

QStringList payTableColumns()
{
    QStringList names;
    const QList<TableDefinition> all = tables();
    for (const QString& field : all.front().fields)
        names << fieldName(field);
    return names;
}

bool createSchema(QSqlDatabase db, QString* error)
{
    SqlTransaction transaction(db);
    if (!transaction.isActive()) {
        *error = transaction.error();
        return false;
    }
    QSqlQuery query(db);
    QStringList statements;
    for (const TableDefinition& table : tables())
        statements << QStringLiteral("CREATE TABLE [%1] (%2)").arg(table.name, table.fields.join(", "));
    // A game's rows are read by key in Catch order; the index keeps that cheap.
    statements << "CREATE INDEX [Pay Table Game] ON [Pay Table] ([Location], [Casino], [Game], [Catch])";
    for (const QString& statement : statements) {
        if (!query.exec(statement)) {
            *error = DescribeSqlError(query.lastError());
            return false;
        }
    }
    if (!WriteSchemaVersion(db, CurrentSchemaVersion(), error))
        return false;
    if (!transaction.commit()) {
        *error = transaction.error();
        return false;
    }
    return true;
}

bool checkSchema(QSqlDatabase db, QString* error)
{
    for (const TableDefinition& table : tables()) {
        const QSqlRecord record = db.record(table.name);
        if (record.isEmpty()) {
            *error = QStringLiteral("It has no table \"%1\".").arg(table.name);
            return false;
        }
        for (const QString& field : table.fields) {
            const QString name = fieldName(field);
            if (!record.contains(name)) {
                *error = QStringLiteral("Its table \"%1\" has no field \"%2\".").arg(table.name, name);
                return false;
            }
        }
    }
    return true;
}

} // namespace tallyhawk
