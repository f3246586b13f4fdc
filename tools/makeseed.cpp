// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// Builds the seed database that the program installs for a new user: every table, the
// defaults row, the small tables behind the data-bound controls, and the catalogue of
// pay tables read from the pay-table files given on the command line.
//
//   makeseed OUTPUT.orf FILE.csv...

#include "db/database.h"
#include "db/paytable.h"
#include "db/schema.h"
#include "db/sqltransaction.h"
#include "engine/catalogue/paytableimport.h"

#include <cstdio>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QStringList>

using namespace tallyhawk;

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "makeseed: %s\n", qPrintable(message));
    return 1;
}

bool fillFixedTables(QSqlDatabase db, const QString& startupGame, QString* error)
{
    bool ok =
        ExecuteSql(db,
                   "INSERT INTO [Defaults] ([StartupGame], [SaveCredits], [StartupCredits], [RandomSeed], "
                   "[SimGames], [RandomPickForSim], [SoundON], [ShowNumbers], [Speed]) "
                   "VALUES (?, 100, 100, 0, 1000000, 0, -1, -1, 'Fast')",
                   {startupGame}, error);
    for (const char* speed : {"Slow", "Medium", "Fast", "Turbo"})
        ok = ok && ExecuteSql(db, "INSERT INTO [Speeds] ([SpeedChoices]) VALUES (?)", {speed}, error);
    for (int r = 0; r < 8 && ok; ++r) {
        const QString range = QStringLiteral("%1 - %2").arg(10 * r + 1).arg(10 * r + 10);
        ok = ExecuteSql(
            db,
            "INSERT INTO [Counts] ([Range], [C1], [C2], [C3], [C4], [C5], [C6], [C7], [C8], [C9], [C10]) "
            "VALUES (?, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)",
            {range}, error);
    }
    // Nine records of ten numbers: 1 to 40, a blank separator, 41 to 80.
    for (int record = 0; record < 9 && ok; ++record) {
        QVariantList values;
        for (int c = 0; c < 10; ++c) {
            if (record == 4)
                values << QVariant(QMetaType(QMetaType::Int));
            else
                values << (record < 4 ? record : record - 1) * 10 + c + 1;
        }
        ok =
            ExecuteSql(db,
                       "INSERT INTO [Board] ([Col1], [Col2], [Col3], [Col4], [Col5], [Col6], [Col7], [Col8], "
                       "[Col9], [Col10]) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                       values, error);
    }
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    if (arguments.size() < 2)
        return fail("usage: makeseed OUTPUT.orf FILE.csv...");
    const QString output = arguments.takeFirst();
    arguments.sort(); // the stored order does not depend on the order of the arguments

    const QString partial = output + ".partial";
    QFile::remove(partial);
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "seed");
        db.setDatabaseName(partial);
        if (!db.open() || !createSchema(db, &error))
            return fail("cannot create " + partial + ": " + error + db.lastError().text());

        SqlTransaction transaction(db);
        if (!transaction.isActive())
            return fail("cannot write " + partial + ": " + transaction.error());
        for (const QString& path : arguments) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                return fail("cannot read " + path);
            const QByteArray bytes = file.readAll();
            // The seed's games pass the same checks as an import.
            const ImportedGame game =
                ReadImportedGame(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
            if (!game.ok())
                return fail(path + ": " + QString::fromStdString(game.error));
            for (const PayScheduleRow& row : game.rows) {
                if (!InsertPayScheduleRow(db, row, &error))
                    return fail(path + ": " + error);
            }
        }
        std::vector<GameKey> games;
        if (!ReadGameList(db, &games, &error) || games.empty())
            return fail("the catalogue holds no game " + error);
        // The saved game is stored as the list shows it.
        if (!fillFixedTables(db, GameListText(games.front()), &error))
            return fail("cannot fill the tables: " + error);
        if (!transaction.commit())
            return fail("cannot write " + partial + ": " + transaction.error());
        closeDatabase(db);
    }
    QFile::remove(output);
    if (!QFile::rename(partial, output))
        return fail("cannot write " + output);
    std::printf("makeseed: %s with %lld games\n", qPrintable(QFileInfo(output).fileName()),
                static_cast<long long>(arguments.size()));
    return 0;
}
