// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The catalogue's changes to the pay table. Each runs in one transaction: it happens whole
// or not at all, and a failure leaves the table as it was. Every value is bound.

#include "engine/catalogue/paytablefile.h"
#include "engine/catalogue/paytableimport.h"
#include "engine/common/gamekey.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <vector>

namespace tallyhawk {

// Every function finds a game by FindStoredKeys (SameGameKey: letter case and the blanks around
// a part do not count), and stores a key only in the form NormaliseGameKey gives it: a game
// stored here can always be listed, found, exported and deleted.

// Copies every row of a game (its bonus row included, with all pays and bonus values) under
// the key "New", "New", newGameName. A name that cannot be stored is refused.
[[nodiscard]] bool CopyGameAsNew(QSqlDatabase db, const GameKey& from, const QString& newGameName,
                                 QString* error);

// How many rows the game has. False with the engine's message on failure.
[[nodiscard]] bool CountGameRows(QSqlDatabase db, const GameKey& game, qlonglong* rows, QString* error);

enum class DeleteOutcome
{
    Deleted,
    NotFound,
    TooFewRows,
    Failed
};
// Deletes every row of the game, unless the
// table holds fewer than 12 rows. NotFound when the game has no row.
[[nodiscard]] DeleteOutcome DeleteGame(QSqlDatabase db, const GameKey& game, QString* error);

// One edited cell of a game's row: the row (its rowid), the field, the value (Null for blank).
struct CellEdit
{
    qlonglong rowId = 0;
    QString field;
    QVariant value;
};

enum class StoreOutcome
{
    Stored,
    KeyRefused,
    KeyTaken,
    Failed
};
// Stores the edits and gives the rows of the game `from` the key `to`, in one transaction.
// A key that cannot be stored is refused (KeyRefused, with NormaliseGameKey's reason); one that
// another game has is refused (KeyTaken), so two games are never merged into one. The same key
// in other letters is a rename; the same key rewrites the rows with their own values.
[[nodiscard]] StoreOutcome StoreEditedGame(QSqlDatabase db, const GameKey& from, const GameKey& to,
                                           const std::vector<CellEdit>& edits, QString* error);

// What the lock of an edited game came to.
enum class LockOutcome
{
    Locked,       // stored, and the stored game passes every check: the pays lock
    Refused,      // what was typed is refused: nothing was stored
    PaysRefused,  // stored, but a stored pay is for more catches than numbers marked
    BonusRefused, // stored, but the stored bonus values are refused
    Failed        // the database failed; `stored` says whether the edits had been stored
};
struct LockResult
{
    LockOutcome outcome = LockOutcome::Failed;
    bool stored = false;
    // The key the game's rows carry afterwards: the typed key once stored, else the old one.
    GameKey key;
    // The sentence to show: why it was refused or failed; with Locked, a reminder or empty.
    QString message;
};
// The lock of the catalogue's edits to the game `from`: the typed key, rows and bonus values
// are checked first and a refusal stores nothing; then the edits and the key are stored in one
// transaction (StoreEditedGame), and the stored rows are checked again, pays first, then the
// bonus row's values. A refusal after the store leaves the stored rows as they are, so that
// the next lock starts from `key`.
[[nodiscard]] LockResult LockEditedGame(QSqlDatabase db, const GameKey& from, const GameKey& typedKey,
                                        const std::vector<PayScheduleRow>& typedRows,
                                        const std::vector<CellEdit>& edits);

// Stores every non-blank pay (Pick1 to Pick10) of the given games as the whole number
// nearest to its value (the leading number of its text; halves to the even neighbour).
[[nodiscard]] bool RoundPaysToWholeNumbers(QSqlDatabase db, const std::vector<GameKey>& games,
                                           QString* error);

// A game's rows as pay-table file records, bonus row first (ascending Catch).
[[nodiscard]] bool ReadGameRecords(QSqlDatabase db, const GameKey& game,
                                   std::vector<PayTableFileRecord>* records, QString* error);

// Replaces the game of the imported key by the imported rows: the old rows deleted, the new
// ones added. All or nothing.
[[nodiscard]] bool ImportGame(QSqlDatabase db, const ImportedGame& game, QString* error);

} // namespace tallyhawk
