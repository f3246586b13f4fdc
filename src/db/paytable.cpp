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

bool GameSql::select(QSqlQuery& query, const QString& condition) const
{
    query.setForwardOnly(true);
    return select(query, condition, "*");
}

bool GameSql::select(QSqlQuery& query, const QString& condition, const QString& columns) const
{
    const QString statement = "SELECT " + columns +
                              " FROM [Pay Table] WHERE [Location] = ? AND [Casino]= ? AND [Game] = ?" +
                              condition + " ORDER BY [Catch]";
    if (!query.prepare(statement))
        return false;
    query.addBindValue(QString::fromStdString(m_key.Location));
    query.addBindValue(QString::fromStdString(m_key.Casino));
    query.addBindValue(QString::fromStdString(m_key.Game));
    return query.exec();
}

GameSql BuildCurrentGameSql(const QString& entry)
{
    return GameSql(ParseGameListEntry(entry.toStdString()));
}

QString FormatGameListEntry(const QString& location, const QString& casino, const QString& game)
{
    return QString::fromStdString(
        FormatGameListEntry(GameKey{location.toStdString(), casino.toStdString(), game.toStdString()}));
}

bool ReadGameList(QSqlDatabase db, QStringList* entries, QString* error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec("SELECT [Pay Table].Location, [Pay Table].Casino, [Pay Table].Game From [Pay Table] "
                    "Where [Pay Table].Catch = 0 "
                    "ORDER BY [Pay Table].Location, [Pay Table].Casino, [Pay Table].Game;")) {
        setError(error, query);
        return false;
    }
    entries->clear();
    while (query.next())
        entries->append(FormatGameListEntry(query.value(0).toString(), query.value(1).toString(),
                                            query.value(2).toString()));
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
    *game = KenoGame::fromRows(rows, FormatGameListEntry(sql.key()));
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
