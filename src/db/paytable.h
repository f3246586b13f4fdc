#pragma once
// The routines over the pay table that every window shares. Every value is bound to its
// statement, never spliced into it, so names with apostrophes ("Harrah's Laughlin") work.

#include "engine/common/gamelistentry.h"
#include "engine/common/kenogame.h"
#include "engine/common/paytypes.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

namespace tallyhawk {

// A field value as a number: 0 when it is Null, empty, or not a number.
double NumberOrNull(const QVariant& value);
// A field value as a number, or none when it is Null, empty, or not a number: how a stored
// pay or bonus value is read.
std::optional<double> OptionalNumber(const QVariant& value);

// Runs one action statement with its bound values. Returns false with the engine's message.
[[nodiscard]] bool ExecuteSql(QSqlDatabase db, const QString& statement, const QVariantList& values = {},
                              QString* error = nullptr);

// The start-up clean-up: deletes rows whose Catch lies outside 0 to 10 (a Null Catch stays)
// and stores every zero pay as Null. One transaction; false with the reason on failure. A
// read-only database is left as it is (the user has been told that changes are not saved).
[[nodiscard]] bool CleanPayTable(QSqlDatabase db, QString* error = nullptr);

// The statement that selects the rows of one game, in Catch order.
class GameSql
{
public:
    GameSql() = default;
    // Looks the game up by its key in the one form keys are stored in (NormaliseGameKey).
    explicit GameSql(const GameKey& key) : m_key(NormaliseGameKey(key).key) {}

    const GameKey& key() const { return m_key; }

    // Runs "SELECT * FROM [Pay Table] WHERE <key> <condition> ORDER BY [Catch]" on the query,
    // the condition being extra SQL such as " AND [Catch] = 0". False on an engine error.
    [[nodiscard]] bool select(QSqlQuery& query, const QString& condition = {}) const;
    // The same with the given columns instead of every one ("rowid, [Catch]").
    [[nodiscard]] bool select(QSqlQuery& query, const QString& condition, const QString& columns) const;

    bool operator==(const GameSql&) const = default;

private:
    GameKey m_key;
};

// The statement for the game that a list entry names (its trimmed columns).
GameSql BuildCurrentGameSql(const QString& entry);

QString FormatGameListEntry(const QString& location, const QString& casino, const QString& game);

// The game list: one entry per bonus row, ordered by location, casino and game.
// Returns false with the engine's message on failure.
[[nodiscard]] bool ReadGameList(QSqlDatabase db, QStringList* entries, QString* error = nullptr);

// A pay-table row as the engine sees it (fields read by name).
PayScheduleRow ReadPayScheduleRow(const QSqlQuery& query);

// Every row of a game, in Catch order. False with the engine's message on failure.
[[nodiscard]] bool ReadGameRows(QSqlDatabase db, const GameSql& game, std::vector<PayScheduleRow>* rows,
                                QString* error = nullptr);

// A game's rules, read from its rows: the one way the windows and the command line read a game.
// False with the engine's message on failure.
[[nodiscard]] bool ReadGame(QSqlDatabase db, const GameSql& sql, KenoGame* game, QString* error = nullptr);

// Adds a row as it stands (its key as given; no value as Null). False with the engine's message.
[[nodiscard]] bool InsertPayScheduleRow(QSqlDatabase db, const PayScheduleRow& row, QString* error = nullptr);

} // namespace tallyhawk
