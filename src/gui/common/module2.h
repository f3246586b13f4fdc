#pragma once
// The program-wide state that the windows share. The application owns the one instance and
// hands each window a reference, so every test can build its own.

#include "db/paytable.h"
#include "engine/common/kenorandom.h"

#include <array>
#include <cstdint>
#include <QSqlDatabase>
#include <QString>

namespace tallyhawk {

struct Module2
{
    QSqlDatabase gDatabase;
    QString gDataFolder;
    QString gDatabasePath;
    // Where the program's own files lie: images/, Help/ and the seed database.
    QString gProgramFolder;

    GameKey gCurrentGame;
    GameSql gCurrentGameSql;

    // Per board cell (row 0 to 9, column 0 to 10): -1 marked by the player, 0 not; the draw
    // also leaves -2 (an egg), which counts as not marked.
    std::array<std::array<std::int16_t, 11>, 10> gBoardMarks{};
    // Entries 1 to 10: the ticket in ascending board order; 11 to 13: the Caveman eggs.
    // Entry 0 is unused so that the entries keep their numbers; 0 means empty.
    std::array<std::int32_t, 15> gMarkedNumbers{};
    // Entries 1 to 80: a permutation of 1 to 80, shuffled in place by every draw.
    std::array<std::int32_t, 81> gDrawDeck{};

    bool gBetPrepaid = true;
    std::int16_t gBoardBet = 0;
    std::int32_t gStartupCredits = 0;
    std::int32_t gRandomSeed = 0;
    std::int32_t gSimGames = 0;
    bool gRandomPickForSim = false;
    bool gSoundOn = true;
    bool gShowNumbers = true;
    QString gSpeed;
    std::int16_t gLastKey = 0; // 27 (Escape) asks a running simulation or test to stop

    bool gEditingPays = false;
    QString gEditLocation;
    QString gEditCasino;
    QString gEditGame;

    KenoRandom gRandom;

    // Sets the data folder and the database path inside it.
    void setDataFolder(const QString& folder);
    // Seeds gRandom: with gRandomSeed when it is not 0, otherwise from the clock.
    void seedRandom();
};

} // namespace tallyhawk
