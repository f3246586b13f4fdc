// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "schemaversion.h"

#include "sqlerror.h"
#include "sqltransaction.h"

#include <functional>
#include <QSqlQuery>
#include <QStringList>
#include <vector>

namespace tallyhawk {

namespace {

// A step runs inside the transaction that UpgradeSchema opens: it must not begin its own.
using StepFunction = std::function<bool(QSqlDatabase, QString* error)>;

struct SchemaStep
{
    int version; // the version a file has once the step is done
    const char* change;
    StepFunction apply;
};

StepFunction statements(const QStringList& list)
{
    return [list](QSqlDatabase db, QString* error) {
        QSqlQuery query(db);
        for (const QString& statement : list) {
            if (!query.exec(statement)) {
                *error = DescribeSqlError(query.lastError());
                return false;
            }
        }
        return true;
    };
}

// Every step, in order. A new step is one more line: its version, what it changes, and its
// statements (or a function taking the connection and an error text).
const std::vector<SchemaStep>& steps()
{
    static const std::vector<SchemaStep> all = {
        {1, "index the rows of each game",
         statements({"CREATE INDEX IF NOT EXISTS [Pay Table Game] ON [Pay Table] ([Location], [Casino], "
                     "[Game], [Catch])"})},
    };
    return all;
}

} // namespace

int CurrentSchemaVersion()
{
    return steps().back().version;
}

bool ReadSchemaVersion(QSqlDatabase db, int* version, QString* error)
{
    QSqlQuery query(db);
    if (!query.exec("PRAGMA user_version") || !query.next()) {
        *error = DescribeSqlError(query.lastError());
        return false;
    }
    *version = query.value(0).toInt();
    return true;
}

bool WriteSchemaVersion(QSqlDatabase db, int version, QString* error)
{
    // A pragma takes no bound value; the number is the program's own.
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version = %1").arg(version))) {
        *error = DescribeSqlError(query.lastError());
        return false;
    }
    return true;
}

bool UpgradeSchema(QSqlDatabase db, int fromVersion, QString* error)
{
    // Every step and the new version in one transaction: a failure leaves the file as it was.
    SqlTransaction transaction(db);
    if (!transaction.isActive()) {
        *error = transaction.error();
        return false;
    }
    for (const SchemaStep& step : steps()) {
        if (step.version <= fromVersion)
            continue;
        QString reason;
        if (!step.apply(db, &reason) || !WriteSchemaVersion(db, step.version, &reason)) {
            *error = QStringLiteral("Bringing it to version %1 (%2) failed: %3")
                         .arg(step.version)
                         .arg(step.change, reason);
            return false;
        }
    }
    if (!transaction.commit()) {
        *error = transaction.error();
        return false;
    }
    return true;
}

} // namespace tallyhawk
