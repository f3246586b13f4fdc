// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The few things the windows share. The application owns one of each and lends them to the
// windows that need them; a test builds its own.

#include "db/database.h"
#include "db/paytable.h"

#include <cstdint>
#include <QDir>
#include <QString>

namespace tallyhawk {

// Where the program's files lie.
struct ProgramPaths
{
    QString dataFolder;    // the user's: the database and the reports
    QString databasePath;  // Tallyhawk.orf in the data folder
    QString programFolder; // the program's own: images/, Help/ and the seed database

    ProgramPaths(const QString& dataFolder, const QString& programFolder)
        : dataFolder(dataFolder), databasePath(QDir(dataFolder).filePath(kDatabaseFileName)),
          programFolder(programFolder)
    {
    }
};

// The program options in force, as the defaults row holds them; PGM OPTIONS changes them.
struct ProgramOptions
{
    std::int32_t startupCredits = 0;
    std::int32_t randomSeed = 0; // 0: the generator is seeded from the clock
    std::int32_t simGames = 0;
    bool randomPickForSim = false;
    bool soundOn = true;
    bool showNumbers = true;
    QString speed;
};

// The game the windows show: its key and the statement parts that find its rows.
struct CurrentGame
{
    GameKey key;
    GameSql sql;

    void select(const GameKey& game)
    {
        key = game;
        sql = GameSql(game);
    }
};

} // namespace tallyhawk
