// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "repair.h"

#include "database.h"
#include "engine/common/gameconstants.h"
#include "engine/common/gamekey.h"
#include "paytable.h"
#include "sqlerror.h"
#include "sqltransaction.h"

#include <QSqlError>
#include <algorithm>
#include <QSqlQuery>
#include <vector>

namespace tallyhawk {

namespace {

// Rows the game list never shows (it lists Catch 0 rows) nor any lookup finds whole: a Catch
// that is Null, fractional, text or out of range; a key with a NUL character, which the lookups
// cannot bind. SQLite's text functions stop at a NUL, so the key is searched as bytes.
const QString kUnlistableRows =
    QStringLiteral("NOT (typeof([Catch]) = 'integer' AND [Catch] BETWEEN 0 AND %1) "
                   "OR instr(CAST([Location] AS BLOB), x'00') > 0 "
                   "OR instr(CAST([Casino] AS BLOB), x'00') > 0 "
                   "OR instr(CAST([Game] AS BLOB), x'00') > 0")
        .arg(kMaxMarks);

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

struct StoredKey
{
    QVariantList stored; // as stored: Null stays Null
    QVariantList trimmed;
};

// Every key whose stored form differs from the one form keys are stored in.
bool keysToTrim(QSqlDatabase db, std::vector<StoredKey>* keys, QString* error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec("SELECT DISTINCT [Location], [Casino], [Game] FROM [Pay Table]"))
        return fail(error, DescribeSqlError(query.lastError()));
    while (query.next()) {
        const QVariantList stored{query.value(0), query.value(1), query.value(2)};
        const GameKey trimmed =
            NormaliseGameKey({stored[0].toString().toStdString(), stored[1].toString().toStdString(),
                              stored[2].toString().toStdString()})
                .key;
        const QVariantList trimmedValues{QString::fromStdString(trimmed.Location),
                                         QString::fromStdString(trimmed.Casino),
                                         QString::fromStdString(trimmed.Game)};
        bool differs = false;
        for (int i = 0; i < 3; ++i)
            differs = differs || stored[i].isNull() || stored[i].toString() != trimmedValues[i].toString();
        if (differs)
            keys->push_back({stored, trimmedValues});
    }
    return true;
}

} // namespace

QString CatalogueRepair::description() const
{
    if (!repaired())
        return {};
    QStringList done;
    if (rowsRemoved > 0)
        done << QStringLiteral(
                    "- removed %1 that could never be shown (a Catch that is not a whole number from 0 "
                    "to 10, or a NUL character in a location, casino or game name)")
                    .arg(rowsRemoved == 1 ? QStringLiteral("1 row")
                                          : QStringLiteral("%1 rows").arg(rowsRemoved));
    if (gamesTrimmed == 1)
        done << "- stored 1 game without the blanks around its location, casino or game name, so that it can "
                "be "
                "found again";
    else if (gamesTrimmed > 1)
        done << QStringLiteral(
                    "- stored %1 games without the blanks around their location, casino or game name, "
                    "so that they can be found again")
                    .arg(gamesTrimmed);
    return "Tallyhawk has repaired its catalogue of games:\n" + done.join(";\n") + ".";
}

bool RepairCatalogue(QSqlDatabase db, CatalogueRepair* report, QString* error)
{
    *report = {};
    if (IsReadOnly(db))
        return true;      // nothing may change: the user was told at start
    CatalogueRepair done; // reported once committed
    SqlTransaction transaction(db);
    if (!transaction.isActive())
        return fail(error, transaction.error());
    QSqlQuery remove(db);
    if (!remove.exec("DELETE FROM [Pay Table] WHERE " + kUnlistableRows))
        return fail(error, DescribeSqlError(remove.lastError()));
    done.rowsRemoved = remove.numRowsAffected();

    std::vector<StoredKey> keys;
    if (!keysToTrim(db, &keys, error))
        return false;
    for (const StoredKey& key : keys) {
        // Trimmed, the key would merge this game into another one (another spelling that
        // SameGameKey finds equal): it stays as it is.
        const GameKey spelling{key.stored[0].toString().toStdString(), key.stored[1].toString().toStdString(),
                               key.stored[2].toString().toStdString()};
        std::vector<GameKey> stored;
        if (!FindStoredKeys(db, spelling, &stored, error))
            return false;
        if (std::any_of(stored.begin(), stored.end(),
                        [&](const GameKey& other) { return other != spelling; }))
            continue;
        if (!ExecuteSql(
                db,
                "UPDATE [Pay Table] SET [Location] = ?, [Casino] = ?, [Game] = ? WHERE [Location] IS ? "
                "COLLATE BINARY AND [Casino] IS ? COLLATE BINARY AND [Game] IS ? COLLATE BINARY",
                key.trimmed + key.stored, error))
            return false;
        ++done.gamesTrimmed;
    }
    if (!transaction.commit())
        return fail(error, transaction.error());
    *report = done;
    return true;
}

} // namespace tallyhawk
