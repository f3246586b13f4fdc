#include "catalogue.h"

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

// The columns hold their text COLLATE NOCASE already; saying it again in the statement keeps
// the match free of letter case whatever the file's own declarations.
const QString kKeyMatch =
    "[Location] = ? COLLATE NOCASE AND [Casino] = ? COLLATE NOCASE AND [Game] = ? COLLATE NOCASE";

constexpr int kMinimumRows = 12;

// Catch order with a row that has no Catch last (SQLite sorts Null first), so that the bonus
// row leads: an import keeps the key and the bonus values of the first record only.
const QString kCatchOrder = " ORDER BY [Catch] IS NULL, [Catch], rowid";

QVariantList keyValues(const GameKey& key)
{
    return {QString::fromStdString(key.Location), QString::fromStdString(key.Casino),
            QString::fromStdString(key.Game)};
}

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
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

// A key value of a file record as the import stores it (InsertPayTableFileRecord): a text as
// it is, a number as its plain form, nothing as Null.
QVariant fileKeyValue(const PayTableFileValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return QString::fromStdString(*text);
    if (const auto* number = std::get_if<double>(&value))
        return QString::fromStdString(PlainForm(*number));
    return QVariant(QMetaType(QMetaType::QString));
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
    SqlTransaction transaction(db);
    if (!begin(transaction, error))
        return false;
    QStringList copied = payTableColumns().mid(3);
    for (QString& column : copied)
        column = '[' + column + ']';
    // The copy's bonus row is stored first.
    const QString statement = QStringLiteral("INSERT INTO [Pay Table] (%1) SELECT 'New', 'New', ?, %2 "
                                             "FROM [Pay Table] WHERE %3%4")
                                  .arg(bracketedColumns(), copied.join(", "), kKeyMatch, kCatchOrder);
    if (!ExecuteSql(db, statement, QVariantList{newGameName} + keyValues(from), error))
        return false;
    return commit(transaction, error);
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
    if (!ExecuteSql(db, "DELETE FROM [Pay Table] WHERE " + kKeyMatch, keyValues(game), error))
        return DeleteOutcome::Failed;
    return commit(transaction, error) ? DeleteOutcome::Deleted : DeleteOutcome::Failed;
}

RenameOutcome RenameGame(QSqlDatabase db, const GameKey& from, const GameKey& to, QString* error)
{
    SqlTransaction transaction(db);
    if (!begin(transaction, error))
        return RenameOutcome::Failed;
    // Rows under the new key that are not the game's own belong to another game. When the new
    // key is the old one in other letters, every row it finds is the game's own.
    qlonglong others = 0;
    if (!count(db, "SELECT count(*) FROM [Pay Table] WHERE " + kKeyMatch + " AND NOT (" + kKeyMatch + ")",
               keyValues(to) + keyValues(from), &others, error))
        return RenameOutcome::Failed;
    if (others > 0) {
        fail(error, QStringLiteral("Another game is already stored as %1, %2, %3.")
                        .arg(QString::fromStdString(to.Location), QString::fromStdString(to.Casino),
                             QString::fromStdString(to.Game)));
        return RenameOutcome::KeyTaken;
    }
    if (!ExecuteSql(db, "UPDATE [Pay Table] SET [Location] = ?, [Casino] = ?, [Game] = ? WHERE " + kKeyMatch,
                    keyValues(to) + keyValues(from), error))
        return RenameOutcome::Failed;
    return commit(transaction, error) ? RenameOutcome::Renamed : RenameOutcome::Failed;
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
        {
            QSqlQuery query(db);
            if (!select(query, "SELECT rowid, " + picks.join(", ") + " FROM [Pay Table] WHERE " + kKeyMatch,
                        keyValues(game), error))
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
    QSqlQuery query(db);
    if (!select(query, "SELECT " + bracketedColumns() + " FROM [Pay Table] WHERE " + kKeyMatch + kCatchOrder,
                keyValues(game), error))
        return false;
    while (query.next()) {
        PayTableFileRecord record;
        for (int i = 0; i < kPayTableFileValues; ++i)
            record[i] = fileValue(query.value(i));
        records->push_back(std::move(record));
    }
    return true;
}

bool ImportGame(QSqlDatabase db, const std::vector<PayTableFileRecord>& records, QString* error)
{
    if (records.empty())
        return fail(error, "The file holds no pay table record.");
    SqlTransaction transaction(db);
    if (!begin(transaction, error))
        return false;
    // IS rather than =, so that a key part that the file leaves empty (stored as Null) still
    // finds the rows of an earlier import of the same file.
    const PayTableFileRecord& first = records.front();
    if (!ExecuteSql(db,
                    "DELETE FROM [Pay Table] WHERE [Location] IS ? COLLATE NOCASE AND [Casino] IS ? COLLATE "
                    "NOCASE AND [Game] IS ? COLLATE NOCASE",
                    {fileKeyValue(first[0]), fileKeyValue(first[1]), fileKeyValue(first[2])}, error))
        return false;
    for (std::size_t r = 0; r < records.size(); ++r) {
        if (!InsertPayTableFileRecord(db, records[r], /*keepBonus=*/r == 0, error))
            return false;
    }
    return commit(transaction, error);
}

} // namespace tallyhawk
