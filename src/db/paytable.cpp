// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "paytable.h"

#include "database.h"
#include "engine/common/gameconstants.h"
#include "engine/common/numberforms.h"
#include "schema.h"
#include "sqlerror.h"
#include "sqltransaction.h"

#include <cmath>
#include <QSqlError>
#include <QSqlRecord>

namespace tallyhawk {

namespace {

void setError(QString* error, const QSqlQuery& query)
{
    if (error)
        *error = DescribeSqlError(query.lastError());
}

} // namespace

std::optional<double> OptionalNumber(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray)
        return ParseNumber(value.toString().toStdString());
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

double NumberOrNull(const QVariant& value)
{
    return OptionalNumber(value).value_or(0.0);
}

bool ExecuteSql(QSqlDatabase db, const QString& statement, const QVariantList& values, QString* error)
{
    QSqlQuery query(db);
    if (!query.prepare(statement)) {
        setError(error, query);
        return false;
    }
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        setError(error, query);
        return false;
    }
    return true;
}

bool CleanPayTable(QSqlDatabase db, QString* error)
{
    if (IsReadOnly(db))
        return true;
    SqlTransaction transaction(db);
    if (!transaction.isActive()) {
        if (error)
            *error = transaction.error();
        return false;
    }
    // A Null Catch compares as unknown and stays, as it should.
    if (!ExecuteSql(db, "DELETE FROM [Pay Table] WHERE [Catch] < 0 OR [Catch] > ?", {kMaxMarks}, error))
        return false;
    for (int n = 1; n <= kMaxMarks; ++n) {
        const QString statement = QStringLiteral("UPDATE [Pay Table] SET [Pick%1] = NULL "
                                                 "WHERE [Pick%1] = 0 OR [Pick%1] = '0'")
                                      .arg(n);
        if (!ExecuteSql(db, statement, {}, error))
            return false;
    }
    if (!transaction.commit()) {
        if (error)
            *error = transaction.error();
        return false;
    }
    return true;
}

namespace {

// FindStoredKeys on a query of the database, which the caller may use again afterwards.
bool findStoredKeys(QSqlQuery& query, const GameKey& key, std::vector<GameKey>* stored)
{
    stored->clear();
    query.setForwardOnly(true);
    if (!query.exec("SELECT DISTINCT [Location], [Casino], [Game] FROM [Pay Table]"))
        return false;
    while (query.next()) {
        GameKey found{query.value(0).toString().toStdString(), query.value(1).toString().toStdString(),
                      query.value(2).toString().toStdString()};
        if (SameGameKey(found, key))
            stored->push_back(std::move(found));
    }
    return true;
}

} // namespace

bool FindStoredKeys(QSqlDatabase db, const GameKey& key, std::vector<GameKey>* stored, QString* error)
{
    QSqlQuery query(db);
    if (!findStoredKeys(query, key, stored)) {
        setError(error, query);
        return false;
    }
    return true;
}

std::vector<GameKey> OwnSpelling(const std::vector<GameKey>& stored, const GameKey& key)
{
    for (const GameKey& spelling : stored) {
        if (spelling == key)
            return {spelling};
    }
    return stored;
}

KeyCondition StoredKeyCondition(const std::vector<GameKey>& stored)
{
    if (stored.empty())
        return {"0", {}};
    // The columns are declared NOCASE; BINARY matches the spelling found, letter for letter.
    QStringList spellings;
    KeyCondition condition;
    for (const GameKey& key : stored) {
        spellings << "([Location] = ? COLLATE BINARY AND [Casino] = ? COLLATE BINARY AND "
                     "[Game] = ? COLLATE BINARY)";
        condition.values << QString::fromStdString(key.Location) << QString::fromStdString(key.Casino)
                         << QString::fromStdString(key.Game);
    }
    condition.sql = "(" + spellings.join(" OR ") + ")";
    return condition;
}

bool GameSql::select(QSqlQuery& query, const QString& condition) const
{
    query.setForwardOnly(true);
    return select(query, condition, "*");
}

bool GameSql::select(QSqlQuery& query, const QString& condition, const QString& columns) const
{
    std::vector<GameKey> stored;
    if (!findStoredKeys(query, m_key, &stored))
        return false;
    const KeyCondition key = StoredKeyCondition(OwnSpelling(stored, m_key));
    const QString statement =
        "SELECT " + columns + " FROM [Pay Table] WHERE " + key.sql + condition + " ORDER BY [Catch]";
    if (!query.prepare(statement))
        return false;
    for (const QVariant& value : key.values)
        query.addBindValue(value);
    return query.exec();
}

QString GameListText(const QString& location, const QString& casino, const QString& game)
{
    return GameListText(GameKey{location.toStdString(), casino.toStdString(), game.toStdString()});
}

QString GameListText(const GameKey& key)
{
    return QString::fromStdString(FormatGameListText(key));
}

bool ReadGameList(QSqlDatabase db, std::vector<GameKey>* games, QString* error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec("SELECT [Pay Table].Location, [Pay Table].Casino, [Pay Table].Game From [Pay Table] "
                    "Where [Pay Table].Catch = 0 "
                    "ORDER BY [Pay Table].Location, [Pay Table].Casino, [Pay Table].Game;")) {
        setError(error, query);
        return false;
    }
    games->clear();
    while (query.next())
        games->push_back({query.value(0).toString().toStdString(), query.value(1).toString().toStdString(),
                          query.value(2).toString().toStdString()});
    return true;
}

PayScheduleRow ReadPayScheduleRow(const QSqlQuery& query)
{
    const QSqlRecord record = query.record();
    auto field = [&](const char* name) {
        return query.value(record.indexOf(name));
    };
    PayScheduleRow row;
    row.key = {field("Location").toString().toStdString(), field("Casino").toString().toStdString(),
               field("Game").toString().toStdString()};
    // A Catch that is not a whole number an int holds is no catch count at all: read as a
    // blank, never converted.
    if (const auto c = OptionalNumber(field("Catch"));
        c && *c == std::floor(*c) && std::fabs(*c) < 2147483648.0)
        row.Catch = static_cast<int>(*c);
    for (int n = 1; n <= kMaxMarks; ++n)
        row.Pick[n - 1] = OptionalNumber(query.value(record.indexOf(QStringLiteral("Pick%1").arg(n))));
    row.BonusBall = OptionalNumber(field("Bonus Ball"));
    row.FreeGames = OptionalNumber(field("Free Games"));
    row.BonusFactor = OptionalNumber(field("Bonus Factor"));
    row.Egg1Bonus = OptionalNumber(field("Egg1 Bonus"));
    row.Egg2Bonus = OptionalNumber(field("Egg2 Bonus"));
    row.Egg3Bonus = OptionalNumber(field("Egg3 Bonus"));
    return row;
}

bool ReadGameRows(QSqlDatabase db, const GameSql& game, std::vector<PayScheduleRow>* rows, QString* error)
{
    QSqlQuery query(db);
    rows->clear();
    if (!game.select(query)) {
        setError(error, query);
        return false;
    }
    while (query.next())
        rows->push_back(ReadPayScheduleRow(query));
    return true;
}

bool ReadGame(QSqlDatabase db, const GameSql& sql, KenoGame* game, QString* error)
{
    std::vector<PayScheduleRow> rows;
    if (!ReadGameRows(db, sql, &rows, error))
        return false;
    if (rows.empty()) {
        if (error)
            *error =
                QStringLiteral("No game %1, %2, %3 is stored in the Pay Table.")
                    .arg(QString::fromStdString(sql.key().Location), QString::fromStdString(sql.key().Casino),
                         QString::fromStdString(sql.key().Game));
        return false;
    }
    *game = KenoGame::fromRows(rows, sql.key());
    return true;
}

bool InsertPayScheduleRow(QSqlDatabase db, const PayScheduleRow& row, QString* error)
{
    QStringList names, marks;
    for (const QString& column : payTableColumns()) {
        names << '[' + column + ']';
        marks << "?";
    }
    QSqlQuery query(db);
    if (!query.prepare(QStringLiteral("INSERT INTO [Pay Table] (%1) VALUES (%2)")
                           .arg(names.join(", "), marks.join(", ")))) {
        setError(error, query);
        return false;
    }
    const auto number = [](const std::optional<double>& value) {
        return value ? QVariant(*value) : QVariant(QMetaType(QMetaType::Double));
    };
    query.addBindValue(QString::fromStdString(row.key.Location));
    query.addBindValue(QString::fromStdString(row.key.Casino));
    query.addBindValue(QString::fromStdString(row.key.Game));
    query.addBindValue(row.Catch ? QVariant(*row.Catch) : QVariant(QMetaType(QMetaType::Int)));
    for (const std::optional<double>& pay : row.Pick)
        query.addBindValue(number(pay));
    for (const std::optional<double>* bonus :
         {&row.BonusBall, &row.FreeGames, &row.BonusFactor, &row.Egg1Bonus, &row.Egg2Bonus, &row.Egg3Bonus})
        query.addBindValue(number(*bonus));
    if (!query.exec()) {
        setError(error, query);
        return false;
    }
    return true;
}

} // namespace tallyhawk
