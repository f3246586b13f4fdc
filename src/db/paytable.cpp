#include "paytable.h"

#include "engine/common/numberforms.h"
#include "schema.h"
#include "sqltransaction.h"

#include <cmath>
#include <QSqlError>
#include <QSqlRecord>

namespace tallyhawk {

namespace {

void setError(QString* error, const QSqlQuery& query)
{
    if (error)
        *error = query.lastError().text();
}

std::optional<double> optionalNumber(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray)
        return ParseNumber(value.toString().toStdString());
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

} // namespace

double NumberOrNull(const QVariant& value)
{
    return optionalNumber(value).value_or(0.0);
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
    SqlTransaction transaction(db);
    // A Null Catch compares as unknown and stays, as it should.
    if (!ExecuteSql(db, "DELETE FROM [Pay Table] WHERE [Catch] < 0 OR [Catch] > 10", {}, error))
        return false;
    for (int n = 1; n <= 10; ++n) {
        const QString statement = QStringLiteral("UPDATE [Pay Table] SET [Pick%1] = NULL "
                                                 "WHERE [Pick%1] = 0 OR [Pick%1] = '0'")
                                      .arg(n);
        if (!ExecuteSql(db, statement, {}, error))
            return false;
    }
    if (!transaction.commit()) {
        if (error)
            *error = db.lastError().text();
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
    // Whole catches are stored; one beyond 32 bits leaves the row out of the game.
    if (const auto c = optionalNumber(field("Catch")))
        row.Catch = ToInt32(std::trunc(*c));
    for (int n = 1; n <= kMaxMarked; ++n)
        row.Pick[n - 1] = optionalNumber(query.value(record.indexOf(QStringLiteral("Pick%1").arg(n))));
    row.BonusBall = optionalNumber(field("Bonus Ball"));
    row.FreeGames = optionalNumber(field("Free Games"));
    row.BonusFactor = optionalNumber(field("Bonus Factor"));
    row.Egg1Bonus = optionalNumber(field("Egg1 Bonus"));
    row.Egg2Bonus = optionalNumber(field("Egg2 Bonus"));
    row.Egg3Bonus = optionalNumber(field("Egg3 Bonus"));
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

bool InsertPayTableFileRecord(QSqlDatabase db, const PayTableFileRecord& record, bool keepBonus,
                              QString* error)
{
    constexpr int kTextFields = 3;
    constexpr int kFirstBonusField = 14;
    const QStringList columns = payTableColumns();
    QStringList names, marks;
    for (const QString& column : columns) {
        names << '[' + column + ']';
        marks << "?";
    }
    QSqlQuery query(db);
    if (!query.prepare(QStringLiteral("INSERT INTO [Pay Table] (%1) VALUES (%2)")
                           .arg(names.join(", "), marks.join(", ")))) {
        setError(error, query);
        return false;
    }
    for (int i = 0; i < kPayTableFileValues; ++i) {
        const PayTableFileValue& value = record[i];
        QVariant bound;
        if (i < kTextFields) {
            if (const auto* text = std::get_if<std::string>(&value))
                bound = QString::fromStdString(*text);
            else if (const auto* number = std::get_if<double>(&value))
                bound = QString::fromStdString(PlainForm(*number));
        } else if (keepBonus || i < kFirstBonusField) {
            // A number field takes numbers; a text that reads as one counts as one.
            if (const auto* number = std::get_if<double>(&value))
                bound = *number;
            else if (const auto* text = std::get_if<std::string>(&value); text && ParseNumber(*text))
                bound = *ParseNumber(*text);
        }
        if (i == kTextFields && bound.isValid()) { // Catch holds whole numbers; one out of range stays Null
            const auto whole = ToInt32(bound.toDouble());
            bound = whole ? QVariant(*whole) : QVariant();
        }
        query.addBindValue(bound.isValid() ? bound : QVariant(QMetaType(QMetaType::QString)));
    }
    if (!query.exec()) {
        setError(error, query);
        return false;
    }
    return true;
}

} // namespace tallyhawk
