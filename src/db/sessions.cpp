// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "sessions.h"

#include "engine/sim/sessionstats.h"
#include "paytable.h"
#include "sqlerror.h"
#include "sqltransaction.h"

#include <QSqlError>
#include <QSqlQuery>

namespace tallyhawk {

bool WriteSessionsTable(QSqlDatabase db, const std::vector<std::int32_t>& folded, const GameKey& key,
                        double marked, double totalWin, QString* error)
{
    auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (folded.size() != static_cast<std::size_t>(kFoldedTop + 1))
        return fail(QStringLiteral("The session histogram must have %1 bins.").arg(kFoldedTop + 1));

    SqlTransaction transaction(db);
    if (!transaction.isActive())
        return fail(transaction.error());
    if (!ExecuteSql(db, "DELETE FROM [Sessions]", {}, error))
        return false;

    QSqlQuery insert(db);
    if (!insert.prepare("INSERT INTO [Sessions] ([Win], [Frequency], [Location], [Casino], [Game], "
                        "[Marked], [Total Win]) VALUES (?, ?, ?, ?, ?, ?, ?)"))
        return fail(DescribeSqlError(insert.lastError()));
    const QString location = QString::fromStdString(key.Location);
    const QString casino = QString::fromStdString(key.Casino);
    const QString game = QString::fromStdString(key.Game);
    for (int w = 0; w <= kFoldedTop; ++w) {
        insert.bindValue(0, w);
        insert.bindValue(1, folded[w]);
        insert.bindValue(2, location);
        insert.bindValue(3, casino);
        insert.bindValue(4, game);
        insert.bindValue(5, marked);
        insert.bindValue(6, totalWin);
        if (!insert.exec())
            return fail(DescribeSqlError(insert.lastError()));
    }
    if (!transaction.commit())
        return fail(transaction.error());
    return true;
}

} // namespace tallyhawk
