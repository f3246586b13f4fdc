// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "catalogue.h"

#include "engine/catalogue/payvalidation.h"
#include "engine/common/numberforms.h"
#include "paytable.h"
#include "schema.h"
#include "sqlerror.h"
#include "sqltransaction.h"

#include <cmath>
#include <QSqlError>
#include <QSqlQuery>

namespace tallyhawk {

namespace {

constexpr int kMinimumRows = 12;

// Catch order with a row that has no Catch last (SQLite sorts Null first), so that the bonus
// row leads: an import keeps the key and the bonus values of the first record only.
const QString kCatchOrder = " ORDER BY [Catch] IS NULL, [Catch], rowid";

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

enum class Spellings
{
    Own, // the game's rows (OwnSpelling)
    All  // the rows of every spelling of the key the table stores
};

bool rowsOf(QSqlDatabase db, const GameKey& key, KeyCondition* rows, QString* error,
            Spellings spellings = Spellings::Own)
{
    std::vector<GameKey> stored;
    if (!FindStoredKeys(db, key, &stored, error))
        return false;
    *rows = StoredKeyCondition(spellings == Spellings::Own ? OwnSpelling(stored, key) : stored);
    return true;
}

// Runs a prepared SELECT with its values; false with the engine's message.
bool select(QSqlQuery& query, const QString& statement, const QVariantList& values, QString* error)
{
    query.setForwardOnly(true);
    if (!query.prepare(statement))
        return fail(error, DescribeSqlError(query.lastError()));
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return fail(error, DescribeSqlError(query.lastError()));
    return true;
}

bool count(QSqlDatabase db, const QString& statement, const QVariantList& values, qlonglong* result,
           QString* error)
{
    QSqlQuery query(db);
    if (!select(query, statement, values, error))
        return false;
    if (!query.next())
        return fail(error, DescribeSqlError(query.lastError()));
    *result = query.value(0).toLongLong();
    return true;
}

bool begin(const SqlTransaction& transaction, QString* error)
{
    return transaction.isActive() || fail(error, transaction.error());
}

bool commit(SqlTransaction& transaction, QString* error)
{
    return transaction.commit() || fail(error, transaction.error());
}

QString bracketedColumns()
{
    QStringList names;
    for (const QString& column : payTableColumns())
        names << '[' + column + ']';
    return names.join(", ");
}

PayTableFileValue fileValue(const QVariant& value)
{
    if (value.isNull())
        return std::monostate{};
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString().toStdString();
    case QMetaType::QByteArray:
        return value.toByteArray().toStdString();
    default:
        return value.toDouble();
    }
}

// A pay as a whole number, bound as an integer where a double holds it exactly.
QVariant wholeNumber(double value)
{
    constexpr double kExactIntegers = 9007199254740992.0; // 2^53
    if (std::fabs(value) < kExactIntegers)
        return static_cast<qlonglong>(value);
    return value;
}

} // namespace

bool CopyGameAsNew(QSqlDatabase db, const GameKey& from, const QString& newGameName, QString* error)
{
    const GameKeyNormalisation copy = NormaliseGameKey({"New", "New", newGameName.toStdString()});
    if (!copy.ok())
        return fail(error, QString::fromStdString(copy.error));
    SqlTransaction transaction(db);
    if (!begin(transaction, error))
        return false;
    KeyCondition rows;
    if (!rowsOf(db, from, &rows, error))
        return false;
    QStringList copied = payTableColumns().mid(3);
    for (QString& column : copied)
        column = '[' + column + ']';
    // The copy's bonus row is stored first.
    const QString statement = QStringLiteral("INSERT INTO [Pay Table] (%1) SELECT 'New', 'New', ?, %2 "
                                             "FROM [Pay Table] WHERE %3%4")
                                  .arg(bracketedColumns(), copied.join(", "), rows.sql, kCatchOrder);
    if (!ExecuteSql(db, statement, QVariantList{QString::fromStdString(copy.key.Game)} + rows.values, error))
        return false;
    return commit(transaction, error);
}

bool CountGameRows(QSqlDatabase db, const GameKey& game, qlonglong* rows, QString* error)
{
    KeyCondition own;
    return rowsOf(db, game, &own, error) &&
           count(db, "SELECT count(*) FROM [Pay Table] WHERE " + own.sql, own.values, rows, error);
}

DeleteOutcome DeleteGame(QSqlDatabase db, const GameKey& game, QString* error)
{
    SqlTransaction transaction(db);
    if (!begin(transaction, error))
        return DeleteOutcome::Failed;
    // The rule counts rows, not games: a table of one game of 11 rows keeps it.
    qlonglong rows = 0;
    if (!count(db, "SELECT count(*) FROM [Pay Table]", {}, &rows, error))
        return DeleteOutcome::Failed;
    if (rows < kMinimumRows)
        return DeleteOutcome::TooFewRows;
    qlonglong own = 0;
    if (!CountGameRows(db, game, &own, error))
        return DeleteOutcome::Failed;
    if (own == 0)
        return DeleteOutcome::NotFound;
    KeyCondition gameRows;
    if (!rowsOf(db, game, &gameRows, error) ||
        !ExecuteSql(db, "DELETE FROM [Pay Table] WHERE " + gameRows.sql, gameRows.values, error))
        return DeleteOutcome::Failed;
    return commit(transaction, error) ? DeleteOutcome::Deleted : DeleteOutcome::Failed;
}

StoreOutcome StoreEditedGame(QSqlDatabase db, const GameKey& from, const GameKey& to,
                             const std::vector<CellEdit>& edits, QString* error)
{
    const GameKeyNormalisation key = NormaliseGameKey(to);
    if (!key.ok()) {
        fail(error, QString::fromStdString(key.error));
        return StoreOutcome::KeyRefused;
    }
    SqlTransaction transaction(db);
    if (!begin(transaction, error))
        return StoreOutcome::Failed;
    const QStringList columns = payTableColumns();
    for (const CellEdit& edit : edits) {
        // The field names a column; it is never text a user typed.
        if (!columns.contains(edit.field)) {
            fail(error, "The pay table has no field " + edit.field + ".");
            return StoreOutcome::Failed;
        }
        if (!ExecuteSql(db, "UPDATE [Pay Table] SET [" + edit.field + "] = ? WHERE rowid = ?",
                        {edit.value, edit.rowId}, error))
            return StoreOutcome::Failed;
    }
    // Rows under the new key that are not the game's own belong to another game. When the new
    // key is the old one in other letters, every row it finds is the game's own.
    KeyCondition taken, own;
    if (!rowsOf(db, key.key, &taken, error, Spellings::All) || !rowsOf(db, from, &own, error))
        return StoreOutcome::Failed;
    qlonglong others = 0;
    if (!count(db, "SELECT count(*) FROM [Pay Table] WHERE " + taken.sql + " AND NOT " + own.sql,
               taken.values + own.values, &others, error))
        return StoreOutcome::Failed;
    if (others > 0) {
        fail(error, QStringLiteral("Another game is already stored as %1, %2, %3.")
                        .arg(QString::fromStdString(key.key.Location), QString::fromStdString(key.key.Casino),
                             QString::fromStdString(key.key.Game)));
        return StoreOutcome::KeyTaken;
    }
    const QVariantList newKey{QString::fromStdString(key.key.Location),
                              QString::fromStdString(key.key.Casino), QString::fromStdString(key.key.Game)};
    if (!ExecuteSql(db, "UPDATE [Pay Table] SET [Location] = ?, [Casino] = ?, [Game] = ? WHERE " + own.sql,
                    newKey + own.values, error))
        return StoreOutcome::Failed;
    return commit(transaction, error) ? StoreOutcome::Stored : StoreOutcome::Failed;
}

LockResult LockEditedGame(QSqlDatabase db, const GameKey& from, const GameKey& typedKey,
                          const std::vector<PayScheduleRow>& typedRows, const std::vector<CellEdit>& edits)
{
    LockResult result;
    result.key = from;
    auto finish = [&result](LockOutcome outcome, const std::string& message) {
        result.outcome = outcome;
        result.message = QString::fromStdString(message);
        return result;
    };
    const GameKeyNormalisation key = NormaliseGameKey(typedKey);
    if (!key.ok())
        return finish(LockOutcome::Refused, "The game cannot be stored under this name: " + key.error + ".");
    if (IsPlaceholderKey(key.key.Location, key.key.Casino))
        return finish(LockOutcome::Refused,
                      "Change the 'New' entries to other values before selecting 'Lock Pays'");
    if (const auto refusal = CheckCatches(typedRows))
        return finish(LockOutcome::Refused, *refusal);
    if (const auto refusal = CheckValueRanges(typedRows))
        return finish(LockOutcome::Refused, *refusal + " Correct it before selecting 'Lock Pays'.");

    QString error;
    switch (StoreEditedGame(db, from, key.key, edits, &error)) {
    case StoreOutcome::KeyRefused:
        return finish(LockOutcome::Refused,
                      "The game cannot be stored under this name: " + error.toStdString() + ".");
    case StoreOutcome::KeyTaken:
        return finish(LockOutcome::Refused,
                      "Another game already has this location, casino and game name. Change one of them "
                      "before selecting 'Lock Pays'.");
    case StoreOutcome::Failed:
        return finish(LockOutcome::Failed, "The game could not be stored: " + error.toStdString());
    case StoreOutcome::Stored:
        break;
    }
    result.stored = true;
    result.key = key.key;

    // The checks again, on the rows as stored.
    const GameSql stored(key.key);
    std::vector<PayScheduleRow> rows;
    if (!ReadGameRows(db, stored, &rows, &error))
        return finish(LockOutcome::Failed, "The pays cannot be read: " + error.toStdString());
    if (const auto refusal = CheckPays(rows))
        return finish(LockOutcome::PaysRefused, *refusal);
    // The bonus values as the bonus grid shows them: the leading number of each one's text.
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!stored.select(query, " AND [Catch] = 0", "[Bonus Ball], [Egg1 Bonus], [Egg2 Bonus], [Egg3 Bonus]"))
        return finish(LockOutcome::Failed,
                      "The pays cannot be read: " + DescribeSqlError(query.lastError()).toStdString());
    const bool bonusRow = query.next();
    auto bonusValue = [&](int column) {
        return bonusRow ? LeadingNumber(query.value(column).toString().toStdString()) : 0.0;
    };
    const BonusCheck bonus =
        CheckBonus(bonusValue(0), bonusValue(1), bonusValue(2), bonusValue(3), key.key.Game);
    if (bonus.verdict == BonusVerdict::Refuse)
        return finish(LockOutcome::BonusRefused, bonus.message);
    return finish(LockOutcome::Locked, bonus.verdict == BonusVerdict::Remind ? bonus.message : std::string());
}

bool RoundPaysToWholeNumbers(QSqlDatabase db, const std::vector<GameKey>& games, QString* error)
{
    SqlTransaction transaction(db);
    if (!begin(transaction, error))
        return false;
    QStringList picks;
    for (int n = 1; n <= kMaxMarked; ++n)
        picks << QStringLiteral("[Pick%1]").arg(n);
    for (const GameKey& game : games) {
        struct Change
        {
            qlonglong rowid;
            QStringList columns;
            QVariantList values;
        };
        std::vector<Change> changes;
        KeyCondition rows;
        if (!rowsOf(db, game, &rows, error))
            return false;
        {
            QSqlQuery query(db);
            if (!select(query, "SELECT rowid, " + picks.join(", ") + " FROM [Pay Table] WHERE " + rows.sql,
                        rows.values, error))
                return false;
            while (query.next()) {
                Change change{query.value(0).toLongLong(), {}, {}};
                for (int n = 1; n <= kMaxMarked; ++n) {
                    const QVariant pay = query.value(n);
                    const QString text = pay.toString();
                    if (pay.isNull() || text.isEmpty())
                        continue;
                    const double rounded = RoundHalfEven(LeadingNumber(text.toStdString()));
                    const bool whole = pay.typeId() == QMetaType::LongLong || pay.typeId() == QMetaType::Int;
                    if (whole && pay.toDouble() == rounded)
                        continue; // already stored as that whole number
                    change.columns << picks[n - 1] + " = ?";
                    change.values << wholeNumber(rounded);
                }
                if (!change.columns.isEmpty())
                    changes.push_back(std::move(change));
            }
        }
        for (const Change& change : changes) {
            if (!ExecuteSql(db, "UPDATE [Pay Table] SET " + change.columns.join(", ") + " WHERE rowid = ?",
                            change.values + QVariantList{change.rowid}, error))
                return false;
        }
    }
    return commit(transaction, error);
}

bool ReadGameRecords(QSqlDatabase db, const GameKey& game, std::vector<PayTableFileRecord>* records,
                     QString* error)
{
    records->clear();
    KeyCondition rows;
    if (!rowsOf(db, game, &rows, error))
        return false;
    QSqlQuery query(db);
    if (!select(query, "SELECT " + bracketedColumns() + " FROM [Pay Table] WHERE " + rows.sql + kCatchOrder,
                rows.values, error))
        return false;
    while (query.next()) {
        PayTableFileRecord record;
        for (int i = 0; i < kPayTableFileValues; ++i)
            record[i] = fileValue(query.value(i));
        records->push_back(std::move(record));
    }
    return true;
}

bool ImportGame(QSqlDatabase db, const ImportedGame& game, QString* error)
{
    if (!game.ok())
        return fail(error, QString::fromStdString(game.error));
    if (game.rows.empty())
        return fail(error, "The file holds no pay table record.");
    const GameKeyNormalisation key = NormaliseGameKey(game.key);
    if (!key.ok())
        return fail(error, QString::fromStdString(key.error));
    SqlTransaction transaction(db);
    if (!begin(transaction, error))
        return false;
    // Every spelling of the key goes: the game is stored once, as the file spells it.
    KeyCondition old;
    if (!rowsOf(db, key.key, &old, error, Spellings::All) ||
        !ExecuteSql(db, "DELETE FROM [Pay Table] WHERE " + old.sql, old.values, error))
        return false;
    for (const PayScheduleRow& row : game.rows) {
        PayScheduleRow stored = row;
        stored.key = key.key;
        if (!InsertPayScheduleRow(db, stored, error))
            return false;
    }
    return commit(transaction, error);
}

} // namespace tallyhawk
