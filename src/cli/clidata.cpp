// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "clidata.h"

#include "db/datapaths.h"
#include "db/paytable.h"
#include "db/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace tallyhawk::cli {

QString defaultDatabasePath()
{
    const QString installed = QDir(userDataFolder()).filePath(kDatabaseFileName);
    if (QFileInfo::exists(installed))
        return installed;
    return QDir(programDataFolder(QCoreApplication::applicationDirPath())).filePath(kDatabaseFileName);
}

bool ReadCatalogue(QSqlDatabase db, std::vector<CatalogueGame>* games, QString* error)
{
    std::vector<GameKey> keys;
    if (!ReadGameList(db, &keys, error))
        return false;
    games->clear();
    for (GameKey& key : keys)
        games->push_back({std::move(key)});
    return true;
}

bool ParseGameName(const QString& text, GameKey* key, QString* error)
{
    const QStringList parts = text.split('|');
    if (parts.size() != 3) {
        *error = QStringLiteral("The game \"%1\" must be given as LOCATION|CASINO|GAME, for example "
                                "\"ONLINE|DraftKings|Mad Yeti Keno\".")
                     .arg(text);
        return false;
    }
    *key = {parts[0].trimmed().toStdString(), parts[1].trimmed().toStdString(),
            parts[2].trimmed().toStdString()};
    return true;
}

namespace {

bool containsName(const std::string& text, const std::string& part)
{
    return !part.empty() &&
           QString::fromStdString(text).contains(QString::fromStdString(part), Qt::CaseInsensitive);
}

} // namespace

bool FindGame(const std::vector<CatalogueGame>& games, const GameKey& key, CatalogueGame* found,
              QString* error)
{
    for (const CatalogueGame& game : games) {
        if (SameGameKey(game.key, key)) {
            *found = game;
            return true;
        }
    }
    *error = QStringLiteral("There is no game \"%1\" in the catalogue.").arg(GameTitle(key));
    QStringList close;
    for (const CatalogueGame& game : games)
        if (containsName(game.key.Game, key.Game) || containsName(game.key.Casino, key.Casino))
            close << "  " + QString::fromStdString(game.key.Location + "|" + game.key.Casino + "|" +
                                                   game.key.Game);
    if (!close.isEmpty() && close.size() <= 10)
        *error += "\nGames with a similar name:\n" + close.join('\n');
    else
        *error += " \"tallyhawk-cli games\" lists the games.";
    return false;
}

QString GameTitle(const GameKey& key)
{
    return QString::fromStdString(key.Location + " | " + key.Casino + " | " + key.Game);
}

} // namespace tallyhawk::cli
