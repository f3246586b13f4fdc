// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The routines over the pay table that every window shares. Every value is bound to its
// statement, never spliced into it, so names with apostrophes ("Harrah's Laughlin") work.

#include "engine/common/gamekey.h"
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

// The one door by which a game is found: every spelling under which the table stores a key
// that SameGameKey finds equal to `key` (usually one; an older file may hold more). The
// comparison is made here, not by SQLite, whose NOCASE folds ASCII letters only; statements
// then match the rows by these exact spellings (StoredKeyCondition).
[[nodiscard]] bool FindStoredKeys(QSqlDatabase db, const GameKey& key, std::vector<GameKey>* stored,
                                  QString* error = nullptr);

// The spellings whose rows are the game of `key`: the key's own when the table stores it, so
// that each listed game reads (and is changed) alone where an older file holds one game twice
// in other letters; else every spelling found.
std::vector<GameKey> OwnSpelling(const std::vector<GameKey>& stored, const GameKey& key);

// A condition for a WHERE clause that matches exactly the rows stored under these spellings
// (none when there are none), with the values to bind in order.
struct KeyCondition
{
    QString sql;
    QVariantList values;
};
KeyCondition StoredKeyCondition(const std::vector<GameKey>& stored);

// The statement that selects the rows of one game, in Catch order.
class GameSql
{
public:
    GameSql() = default;
    explicit GameSql(const GameKey& key) : m_key(key) {}

    const GameKey& key() const { return m_key; }

    // Runs "SELECT * FROM [Pay Table] WHERE <key> <condition> ORDER BY [Catch]" on the query,
    // the key found by FindStoredKeys, the condition being extra SQL such as " AND [Catch] = 0".
    // False on an engine error.
    [[nodiscard]] bool select(QSqlQuery& query, const QString& condition = {}) const;
    // The same with the given columns instead of every one ("rowid, [Catch]").
    [[nodiscard]] bool select(QSqlQuery& query, const QString& condition, const QString& columns) const;

    bool operator==(const GameSql&) const = default;

private:
    GameKey m_key;
};

// How a list shows a game (FormatGameListText), for the windows.
QString GameListText(const QString& location, const QString& casino, const QString& game);
QString GameListText(const GameKey& key);

// The game list: the key of every bonus row as stored, ordered by location, casino and game.
// Returns false with the engine's message on failure.
[[nodiscard]] bool ReadGameList(QSqlDatabase db, std::vector<GameKey>* games, QString* error = nullptr);

// A pay-table row as the engine sees it (fields read by name).
PayScheduleRow ReadPayScheduleRow(const QSqlQuery& query);

// Every row of a game, in Catch order. False with the engine's message on failure.
[[nodiscard]] bool ReadGameRows(QSqlDatabase db, const GameSql& game, std::vector<PayScheduleRow>* rows,
                                QString* error = nullptr);

// A game's rules, read from its rows: the one way the windows and the command line read a game.
// False with the engine's message on failure, and false with a message naming the game when
// it has no row: a game that cannot be found is never read as one that pays nothing.
[[nodiscard]] bool ReadGame(QSqlDatabase db, const GameSql& sql, KenoGame* game, QString* error = nullptr);

// Adds a row as it stands (its key as given; no value as Null). False with the engine's message.
[[nodiscard]] bool InsertPayScheduleRow(QSqlDatabase db, const PayScheduleRow& row, QString* error = nullptr);

} // namespace tallyhawk
