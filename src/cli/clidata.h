// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// What the command line reads from the database: it opens the file read-only, so that a script
// can never change a user's catalogue, options or reports.

#include "db/database.h"
#include "engine/common/gamekey.h"
#include "engine/common/paytypes.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <vector>

namespace tallyhawk::cli {

// The database the program uses: Tallyhawk.orf in the user's data folder when it is installed
// there, else the seed database that comes with the program (which the program installs on its
// first start).
QString defaultDatabasePath();

struct CatalogueGame
{
    GameKey key; // as stored: the key by which every statement finds the game's rows
};

// The game list in the program's order.
[[nodiscard]] bool ReadCatalogue(QSqlDatabase db, std::vector<CatalogueGame>* games, QString* error);

// "LOCATION|CASINO|GAME" as three names without surrounding blanks; false with a sentence when
// the text does not have three parts.
[[nodiscard]] bool ParseGameName(const QString& text, GameKey* key, QString* error);

// The game of the list whose key names the same game (SameGameKey, as the windows find it). False
// with a sentence (naming games that come close) when there is none.
[[nodiscard]] bool FindGame(const std::vector<CatalogueGame>& games, const GameKey& key, CatalogueGame* found,
                            QString* error);

// "LOCATION | CASINO | GAME".
QString GameTitle(const GameKey& key);

} // namespace tallyhawk::cli
