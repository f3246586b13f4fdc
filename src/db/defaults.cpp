#include "defaults.h"

#include "paytable.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace tallyhawk {

namespace {

// The first row in table order.
constexpr char kFirstRow[] = "(SELECT min(rowid) FROM [Defaults])";

} // namespace

bool ReadDefaults(QSqlDatabase db, ProgramDefaults* defaults, QString* error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT * FROM [Defaults] WHERE rowid = %1").arg(kFirstRow))) {
        *error = query.lastError().text();
        return false;
    }
    if (!query.next()) {
        *error = "The table \"Defaults\" holds no row.";
        return false;
    }
    const QSqlRecord record = query.record();
    auto field = [&](const char* name) {
        return query.value(record.indexOf(name));
    };
    auto whole = [&](const char* name) {
        return static_cast<std::int32_t>(NumberOrNull(field(name)));
    };
    defaults->StartupGame = field("StartupGame").toString().toStdString();
    defaults->SaveCredits = NumberOrNull(field("SaveCredits"));
    defaults->StartupCredits = whole("StartupCredits");
    defaults->RandomSeed = whole("RandomSeed");
    defaults->SimGames = whole("SimGames");
    defaults->RandomPickForSim = whole("RandomPickForSim") != 0;
    defaults->SoundON = whole("SoundON") != 0;
    defaults->ShowNumbers = whole("ShowNumbers") != 0;
    defaults->Speed = field("Speed").toString().toStdString();
    return true;
}

bool SaveStartupState(QSqlDatabase db, const QString& startupGame, double saveCredits, QString* error)
{
    return ExecuteSql(
        db,
        QStringLiteral("UPDATE [Defaults] SET [StartupGame] = ?, [SaveCredits] = ? WHERE rowid = %1")
            .arg(kFirstRow),
        {startupGame, saveCredits}, error);
}

bool SaveOptions(QSqlDatabase db, const ProgramDefaults& options, QString* error)
{
    auto flag = [](bool on) {
        return on ? -1 : 0;
    }; // Booleans are stored as -1 and 0
    return ExecuteSql(
        db,
        QStringLiteral("UPDATE [Defaults] SET [StartupCredits] = ?, [RandomSeed] = ?, [SimGames] = ?, "
                       "[RandomPickForSim] = ?, [SoundON] = ?, [ShowNumbers] = ?, [Speed] = ? "
                       "WHERE rowid = %1")
            .arg(kFirstRow),
        {options.StartupCredits, options.RandomSeed, options.SimGames, flag(options.RandomPickForSim),
         flag(options.SoundON), flag(options.ShowNumbers), QString::fromStdString(options.Speed)},
        error);
}

bool ReadSpeeds(QSqlDatabase db, QStringList* speeds, QString* error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec("SELECT [SpeedChoices] FROM [Speeds] ORDER BY rowid")) {
        *error = query.lastError().text();
        return false;
    }
    speeds->clear();
    while (query.next())
        speeds->append(query.value(0).toString());
    return true;
}

} // namespace tallyhawk
