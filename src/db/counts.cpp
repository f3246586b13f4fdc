// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "counts.h"

#include "paytable.h"
#include "sqlerror.h"
#include "sqltransaction.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>

namespace tallyhawk {

namespace {

// The records in table order, by their row ids.
bool recordIds(QSqlDatabase db, QVariantList* ids, QStringList* ranges, QString* error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec("SELECT rowid, [Range] FROM [Counts] ORDER BY rowid")) {
        *error = DescribeSqlError(query.lastError());
        return false;
    }
    while (query.next()) {
        ids->append(query.value(0));
        if (ranges)
            ranges->append(query.value(1).toString());
    }
    if (ids->size() < 8) {
        *error = "The table \"Counts\" holds fewer than eight records.";
        return false;
    }
    return true;
}

} // namespace

bool WriteCounts(QSqlDatabase db, const CountsValues& values, QString* error)
{
    SqlTransaction transaction(db);
    if (!transaction.isActive()) {
        *error = transaction.error();
        return false;
    }
    QVariantList ids;
    if (!recordIds(db, &ids, nullptr, error))
        return false;
    for (int r = 0; r < 8; ++r) {
        QVariantList bound;
        for (int k = 0; k < 10; ++k)
            bound << values[static_cast<std::size_t>(10 * r + k)];
        bound << ids[r];
        if (!ExecuteSql(
                db,
                "UPDATE [Counts] SET [C1] = ?, [C2] = ?, [C3] = ?, [C4] = ?, [C5] = ?, [C6] = ?, [C7] = ?, "
                "[C8] = ?, [C9] = ?, [C10] = ? WHERE rowid = ?",
                bound, error))
            return false;
    }
    if (!transaction.commit()) {
        *error = transaction.error();
        return false;
    }
    return true;
}

bool ReadCounts(QSqlDatabase db, CountsValues* values, QStringList* ranges, QString* error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(
            "SELECT [Range], [C1], [C2], [C3], [C4], [C5], [C6], [C7], [C8], [C9], [C10] FROM [Counts] "
            "ORDER BY rowid LIMIT 8")) {
        *error = DescribeSqlError(query.lastError());
        return false;
    }
    values->fill(0);
    int r = 0;
    for (; query.next(); ++r) {
        if (ranges)
            ranges->append(query.value(0).toString());
        for (int k = 1; k <= 10; ++k)
            (*values)[static_cast<std::size_t>(10 * r + k - 1)] = NumberOrNull(query.value(k));
    }
    if (r < 8) {
        *error = "The table \"Counts\" holds fewer than eight records.";
        return false;
    }
    return true;
}

} // namespace tallyhawk
