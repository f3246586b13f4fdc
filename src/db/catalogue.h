#pragma once
// The catalogue's changes to the pay table. Each runs in one transaction: it happens whole
// or not at all, and a failure leaves the table as it was. Every value is bound.

#include "engine/catalogue/paytablefile.h"
#include "engine/common/gamelistentry.h"

#include <QSqlDatabase>
#include <QString>
#include <vector>

namespace tallyhawk {

// Copies every row of a game (its bonus row included, with all pays and bonus values) under
// the key "New", "New", newGameName.
[[nodiscard]] bool CopyGameAsNew(QSqlDatabase db, const GameKey& from, const QString& newGameName,
                                 QString* error);

enum class DeleteOutcome
{
    Deleted,
    TooFewRows,
    Failed
};
// Deletes every row of the game (key compared without regard to letter case), unless the
// table holds fewer than 12 rows.
[[nodiscard]] DeleteOutcome DeleteGame(QSqlDatabase db, const GameKey& game, QString* error);

enum class RenameOutcome
{
    Renamed,
    KeyTaken,
    Failed
};
// Gives the rows of a game a new key. A new key that another game already has is refused
// (KeyTaken), so two games are never merged into one; the same key in other letters is a rename.
[[nodiscard]] RenameOutcome RenameGame(QSqlDatabase db, const GameKey& from, const GameKey& to,
                                       QString* error);

// Stores every non-blank pay (Pick1 to Pick10) of the given games as the whole number
// nearest to its value (the leading number of its text; halves to the even neighbour).
[[nodiscard]] bool RoundPaysToWholeNumbers(QSqlDatabase db, const std::vector<GameKey>& games,
                                           QString* error);

// A game's rows as pay-table file records, bonus row first (ascending Catch).
[[nodiscard]] bool ReadGameRecords(QSqlDatabase db, const GameKey& game,
                                   std::vector<PayTableFileRecord>* records, QString* error);

// Replaces the game that the first record names (its key as read, not trimmed) by the
// records: the old rows deleted, one row added per record, the bonus fields of every record
// after the first left Null. All or nothing.
[[nodiscard]] bool ImportGame(QSqlDatabase db, const std::vector<PayTableFileRecord>& records,
                              QString* error);

} // namespace tallyhawk
