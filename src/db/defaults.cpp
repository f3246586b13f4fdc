// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "defaults.h"

#include "database.h"
#include "engine/common/numberforms.h"
#include "engine/play/playengine.h"
#include "paytable.h"
#include "sqlerror.h"

#include <cmath>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace tallyhawk {

namespace {

// The first row in table order.
constexpr char kFirstRow[] = "(SELECT min(rowid) FROM [Defaults])";

} // namespace

bool ReadDefaults(QSqlDatabase db, ProgramDefaults* defaults, QString* error, QStringList* setAside)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT * FROM [Defaults] WHERE rowid = %1").arg(kFirstRow))) {
        *error = DescribeSqlError(query.lastError());
        return false;
    }
    if (!query.next()) {
        *error = "The table \"Defaults\" holds no row.";
        return false;
    }
    const QSqlRecord record = query.record();
    auto field = [&](const char* name) {
        return query.value(record.indexOf(name));
    };
    QStringList faults;
    auto whole = [&](const char* name, std::int32_t fallback) {
        const double stored = NumberOrNull(field(name));
        const std::optional<std::int32_t> value = ToInt32(stored);
        if (!value)
            faults << QStringLiteral(
                          "%1 holds %2, which is not a whole number from -2147483648 to 2147483647.")
                          .arg(name, QString::fromStdString(PlainForm(stored)));
        return value.value_or(fallback);
    };
    // A switch is on for any number but 0.
    auto flag = [&](const char* name) {
        return NumberOrNull(field(name)) != 0;
    };
    defaults->StartupGame = field("StartupGame").toString().toStdString();
    // What a new database holds where a stored value cannot be used.
    const ProgramDefaults fresh;
    defaults->StartupCredits = whole("StartupCredits", fresh.StartupCredits);
    defaults->RandomSeed = whole("RandomSeed", fresh.RandomSeed);
    defaults->SimGames = whole("SimGames", fresh.SimGames);
    defaults->SaveCredits = NumberOrNull(field("SaveCredits"));
    if (CheckCreditTotal(std::abs(defaults->SaveCredits))) {
        faults << QStringLiteral("SaveCredits holds %1, which is not a number of credits the board keeps.")
                      .arg(QString::fromStdString(PlainForm(defaults->SaveCredits)));
        defaults->SaveCredits = defaults->StartupCredits;
    }
    defaults->RandomPickForSim = flag("RandomPickForSim");
    defaults->SoundON = flag("SoundON");
    defaults->ShowNumbers = flag("ShowNumbers");
    defaults->Speed = field("Speed").toString().toStdString();
    if (setAside)
        for (const QString& fault : faults)
            *setAside << "The stored option " + fault;
    return true;
}

namespace {

// A change to the first row; a read-only database is left alone and says so.
SaveResult updateFirstRow(QSqlDatabase db, const QString& assignments, const QVariantList& values)
{
    if (IsReadOnly(db))
        return {SaveOutcome::ReadOnly, {}};
    QString error;
    if (!ExecuteSql(db,
                    QStringLiteral("UPDATE [Defaults] SET %1 WHERE rowid = %2").arg(assignments, kFirstRow),
                    values, &error))
        return {SaveOutcome::Failed, error};
    return {};
}

// Infinity or NaN would be stored as such and read back as nonsense.
SaveResult refusedCredits(double credits)
{
    return {SaveOutcome::Failed,
            QStringLiteral("%1 is not a number of credits.").arg(QString::fromStdString(PlainForm(credits)))};
}

} // namespace

SaveResult SaveCredits(QSqlDatabase db, double credits)
{
    if (!std::isfinite(credits))
        return refusedCredits(credits);
    return updateFirstRow(db, "[SaveCredits] = ?", {credits});
}

bool SaveStartupState(QSqlDatabase db, const QString& startupGame, double saveCredits, QString* error)
{
    const SaveResult result =
        std::isfinite(saveCredits)
            ? updateFirstRow(db, "[StartupGame] = ?, [SaveCredits] = ?", {startupGame, saveCredits})
            : refusedCredits(saveCredits);
    if (result.failed())
        *error = result.error;
    return !result.failed();
}

bool SaveOptions(QSqlDatabase db, const ProgramDefaults& options, QString* error)
{
    auto flag = [](bool on) {
        return on ? -1 : 0;
    }; // Booleans are stored as -1 and 0
    return ExecuteSql(
        db,
        QStringLiteral("UPDATE [Defaults] SET [StartupCredits] = ?, [RandomSeed] = ?, [SimGames] = ?, "
                       "[RandomPickForSim] = ?, [SoundON] = ?, [ShowNumbers] = ?, [Speed] = ? "
                       "WHERE rowid = %1")
            .arg(kFirstRow),
        {options.StartupCredits, options.RandomSeed, options.SimGames, flag(options.RandomPickForSim),
         flag(options.SoundON), flag(options.ShowNumbers), QString::fromStdString(options.Speed)},
        error);
}

bool ReadSpeeds(QSqlDatabase db, QStringList* speeds, QString* error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec("SELECT [SpeedChoices] FROM [Speeds] ORDER BY rowid")) {
        *error = DescribeSqlError(query.lastError());
        return false;
    }
    speeds->clear();
    while (query.next())
        speeds->append(query.value(0).toString());
    return true;
}

} // namespace tallyhawk
