// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// tallyhawk-cli: the catalogue, exact odds, simulation and randomness test of Tallyhawk for
// analysts and scripts. It reads the database and never writes to it.

#include "clicards.h"
#include "clicommands.h"
#include "clidata.h"
#include "clidraws.h"
#include "clioptions.h"
#include "clisession.h"
#include "db/defaults.h"
#include "db/paytable.h"
#include "engine/common/paytypes.h"
#include "engine/randomness/randomness.h"
#include "engine/sim/gamecount.h"
#include "engine/sim/simulation.h"

#include <cstdio>
#include <limits>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <random>

using namespace tallyhawk;
using namespace tallyhawk::cli;

namespace {

// The randomness test counts its games in a 32-bit whole number: the largest multiple of 4 in it.
constexpr std::int32_t kMostRandomnessGames = std::numeric_limits<std::int32_t>::max() / 4 * 4;

const char kGeneralHelp[] = R"(Usage: tallyhawk-cli COMMAND [OPTIONS]

Studies the keno games of the Tallyhawk catalogue from the command line.

Commands:
  games       the catalogue, with the pay table's return of each marked count 1 to 10
  odds        the exact odds of a game for a marked count
  simulate    plays a ticket many times and reports what it won
  randomness  the chi-square test of the program's draw
  session     what a plan of play leads to: risk of ruin, end credits, games played
  draws       tests a file of draws (or the program's draw) for patterns: counts, pairs,
              repeats, filling in, hot numbers, and how small a bias they could find

Options:
  --json      prints JSON instead of aligned text
  --db FILE   reads this database instead of the installed one (all but randomness, draws)
  -h, --help  this help; "tallyhawk-cli COMMAND --help" describes a command
  --version   the program's version

Without --db the commands read Tallyhawk.orf in the user's data folder, or the seed
database that comes with the program when Tallyhawk has not been started yet. Nothing is
ever written.

Exit status: 0 done, 1 the database, the game or the file of draws cannot be used, 2 the
command line is wrong.
)";

const char kGamesHelp[] = R"(Usage: tallyhawk-cli games [--db FILE] [--json]

Lists the games of the catalogue with the pay table's own exact return, in percent of the
amount bet, of each marked count from 1 to 10: each pay times the bet, as casinos and keno
references publish it, bonus features included. At a bet of 1 the board rounds each pay to
whole credits (a pay of 0.5 pays nothing): a count whose return there differs is marked
with * and listed under the table with that return and the bets that pay the table
exactly (JSON gives both returns). A count for which the game pays nothing is left blank
(null in JSON); a count that odds cannot figure shows - and is listed under the table with
the reason (null in JSON, the reason under "refused").
)";

const char kOddsHelp[] =
    R"(Usage: tallyhawk-cli odds --game "LOCATION|CASINO|GAME"
                         (--spots N | --ticket LIST | --cards CARDS | --ways GROUPS --way-spots SIZES)
                         [--bet B] [--db FILE] [--json]

The exact odds of a ticket of N marked numbers: the chance of each catch, the pay table's
own return (each pay times the bet) and the bets that pay it exactly, the return under the
board's rules (at a bet of B credits, 1 unless given) and under the simulation's rules, the
standard deviation of one game's win, the hit rate, and the six figures of 100-game sessions
of independent games.

  --game "LOCATION|CASINO|GAME"  the game, named as "tallyhawk-cli games" lists it (any case)
  --spots N                      the marked count, 1 to 10
  --ticket LIST                  a ticket such as 3,17,42 (only its count matters here)
  --cards CARDS                  several cards on one draw, separated by /, such as
                                 "1,2,3,4/3,4,5,6" (1 to 20 cards of 1 to 10 numbers)
  --ways GROUPS --way-spots SIZES
                                 a way ticket: disjoint groups such as "1,2/3,4/5,6" and
                                 way sizes such as 2,4,6; every union of whole groups of
                                 a way size is a card (up to 500 ways)
  --bet B                        the board's bet, 1 to 45 credits (default 1; a card
                                 set's bet on each card)

With several cards: the return of the whole play (total won over total bet), the standard
deviation of its total win, the chance that any card pays, each card's return, and the
chance of a solid catch (a pay of 100 or more per credit), exact by the groups of numbers
the cards share, or simulated with 95% intervals when the set is too scattered for that.
)";

const char kSimulateHelp[] =
    R"(Usage: tallyhawk-cli simulate --game "LOCATION|CASINO|GAME"
                             (--ticket LIST | --spots N | --cards CARDS | --ways GROUPS --way-spots SIZES)
                             [--games N] [--seed S] [--threads T] [--quiet] [--db FILE] [--json]

Plays one-credit games of a ticket as the program's simulation does, and reports the
frequency of each catch, the base and bonus winnings, the bonus events, the return in
percent and the statistics of 100-game sessions. A progress line goes to standard error.

  --game "LOCATION|CASINO|GAME"  the game, named as "tallyhawk-cli games" lists it (any case)
  --ticket LIST                  the marked numbers, 1 to 10 different numbers from 1 to 80
  --spots N                      instead of a ticket: N numbers picked at random every game
  --cards CARDS                  several cards on one draw, separated by /, such as
                                 "1,2,3,4/3,4,5,6" (1 to 20 cards of 1 to 10 numbers)
  --ways GROUPS --way-spots SIZES
                                 a way ticket: disjoint groups such as "1,2/3,4/5,6" and
                                 way sizes such as 2,4,6; every union of whole groups of
                                 a way size is a card (up to 500 ways); each play
                                 plays every card for one credit a card
  --games N                      the number of games, 1 to 1000000000 (default: the
                                 program's default number of simulation games)
  --seed S                       the seed, 0 to 18446744073709551615; the same seed repeats
                                 the run (default: a random seed, which is reported)
  --threads T                    worker threads, 0 for one per core (the default); the
                                 figures do not depend on it
  --quiet                        no progress line
)";

const char kRandomnessHelp[] =
    R"(Usage: tallyhawk-cli randomness [--games N] [--seed S] [--threads T] [--quiet] [--json]

Draws N games with the board's own draw (its shuffle, as far as the twenty numbers counted),
shows each number's count less the expected count N / 4 in eight rows of ten like the
board, and judges the counts with a chi-square test at 95% confidence (79 degrees of
freedom), with its two-sided p-value, below 0.05 when the test fails. Reads no database.

  --games N    the number of games, a whole number from 4 to 2147483644 exactly divisible
               by 4 (default 1000)
  --seed S     the seed, 0 to 18446744073709551615; the same seed repeats the counts
               (default: a random seed, which is reported)
  --threads T  worker threads, 0 for one per core (the default); the counts do not
               depend on it
  --quiet      no progress line
)";

void writeOut(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

int fail(const QString& message, int status)
{
    const QByteArray bytes = ("tallyhawk-cli: " + message + "\n").toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    return status;
}

std::uint64_t randomSeed()
{
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) | device();
}

const char* helpOf(const QString& command)
{
    if (command == "games")
        return kGamesHelp;
    if (command == "odds")
        return kOddsHelp;
    if (command == "simulate")
        return kSimulateHelp;
    if (command == "randomness")
        return kRandomnessHelp;
    if (command == "session")
        return kSessionHelp;
    if (command == "draws")
        return kDrawsHelp;
    return nullptr;
}

int run(const QStringList& arguments)
{
    if (arguments.size() < 2)
        return fail(QStringLiteral("a command is needed.\n\n") + kGeneralHelp, kExitUsage);
    const QString command = arguments[1];
    if (command == "-h" || command == "--help" || command == "help") {
        const char* help = arguments.size() > 2 ? helpOf(arguments[2]) : nullptr;
        writeOut(help ? help : kGeneralHelp);
        return kExitOk;
    }
    if (command == "--version") {
        writeOut(QStringLiteral("tallyhawk-cli %1.%2\n")
                     .arg(TALLYHAWK_VERSION_MAJOR)
                     .arg(TALLYHAWK_VERSION_MINOR));
        return kExitOk;
    }
    const char* help = helpOf(command);
    if (!help)
        return fail(QStringLiteral("there is no command \"%1\"; the commands are games, odds, simulate, "
                                   "randomness, session and draws (tallyhawk-cli --help).")
                        .arg(command),
                    kExitUsage);
    if (command == "draws") {
        // A file of draws, not the database: the command reads its own arguments.
        const CommandResult result = RunDrawsCommand(arguments.mid(2));
        writeOut(result.out);
        return result.error.isEmpty() ? result.status : fail(result.error, result.status);
    }

    const bool withGame = command == "odds" || command == "simulate" || command == "session";
    const bool withDatabase = command != "randomness";
    const bool withGames = command == "simulate" || command == "randomness";
    QCommandLineParser parser;
    const QCommandLineOption helpOption(QStringList{"h", "help"});
    const QCommandLineOption jsonOption("json");
    const QCommandLineOption dbOption("db", "", "FILE");
    const QCommandLineOption gameOption("game", "", "LOCATION|CASINO|GAME");
    const QCommandLineOption spotsOption("spots", "", "N");
    const QCommandLineOption ticketOption("ticket", "", "LIST");
    const QCommandLineOption cardsOption("cards", "", "CARDS");
    const QCommandLineOption waysOption("ways", "", "GROUPS");
    const QCommandLineOption waySpotsOption("way-spots", "", "SIZES");
    const QCommandLineOption betOption("bet", "", "B");
    const QCommandLineOption gamesOption("games", "", "N");
    const QCommandLineOption seedOption("seed", "", "S");
    const QCommandLineOption threadsOption("threads", "", "T");
    const QCommandLineOption quietOption("quiet");
    parser.addOptions({helpOption, jsonOption});
    if (withDatabase)
        parser.addOption(dbOption);
    if (withGame)
        parser.addOptions({gameOption, spotsOption, ticketOption, cardsOption, waysOption, waySpotsOption});
    if (command == "odds")
        parser.addOption(betOption);
    if (withGames)
        parser.addOptions({gamesOption, seedOption, quietOption});
    if (withGames)
        parser.addOption(threadsOption);
    const SessionOptions sessionOptions;
    if (command == "session")
        sessionOptions.addTo(parser);
    if (!parser.parse(QStringList{arguments[0]} + arguments.mid(2)))
        return fail(command + ": " + parser.errorText() + " (tallyhawk-cli " + command + " --help)",
                    kExitUsage);
    if (parser.isSet(helpOption)) {
        writeOut(help);
        return kExitOk;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("%1: unexpected argument \"%2\" (tallyhawk-cli %1 --help).")
                        .arg(command, parser.positionalArguments().first()),
                    kExitUsage);

    // Every value of the command line is checked before anything is read.
    CommandInput input;
    input.json = parser.isSet(jsonOption);
    input.progress = !(withGames && parser.isSet(quietOption));
    QString error;
    GameKey gameKey;
    if (withGame) {
        if (!parser.isSet(gameOption))
            return fail(command + " needs the game: --game \"LOCATION|CASINO|GAME\".", kExitUsage);
        if (!ParseGameName(parser.value(gameOption), &gameKey, &error))
            return fail(error, kExitUsage);
        const int choices = parser.isSet(spotsOption) + parser.isSet(ticketOption) +
                            parser.isSet(cardsOption) + parser.isSet(waysOption);
        if (choices > 1 && (parser.isSet(cardsOption) || parser.isSet(waysOption)))
            return fail(command + " takes one of --spots N, --ticket LIST, --cards CARDS or --ways GROUPS.",
                        kExitUsage);
        if (parser.isSet(waysOption) != parser.isSet(waySpotsOption))
            return fail(command + " needs both --ways GROUPS and --way-spots SIZES for a way ticket.",
                        kExitUsage);
        if (parser.isSet(cardsOption) || parser.isSet(waysOption)) {
            // The bet a card is read below (odds) or with the plan (session); checked again then.
            input.cards = ReadCardSet(parser.value(cardsOption), parser.value(waysOption),
                                      parser.value(waySpotsOption), kMinBet, &error);
            if (!input.cards)
                return fail(error, kExitUsage);
        } else if (parser.isSet(spotsOption) == parser.isSet(ticketOption))
            return fail(command + " needs either --spots N or --ticket LIST (one of them).", kExitUsage);
        else if (parser.isSet(ticketOption)) {
            input.ticket = ParseTicket(parser.value(ticketOption), &error);
            if (!input.ticket)
                return fail(error, kExitUsage);
            input.spots = static_cast<int>(input.ticket->size());
        } else {
            const auto spots = ParseWholeNumber(parser.value(spotsOption), 1, kMaxMarks, "--spots", &error);
            if (!spots)
                return fail(error, kExitUsage);
            input.spots = static_cast<int>(*spots);
        }
    }
    if (command == "odds" && parser.isSet(betOption)) {
        const auto bet = ParseWholeNumber(parser.value(betOption), kMinBet, kMaxBet, "--bet", &error);
        if (!bet)
            return fail(error, kExitUsage);
        input.bet = static_cast<int>(*bet);
        if (input.cards)
            input.cards->bet = input.bet;
    }
    if (command == "simulate" && parser.isSet(gamesOption)) {
        // The same reading as the simulation window's question.
        const QString answer = parser.value(gamesOption);
        const GameCountAnswer games = ParseGameCount(answer.toStdString());
        if (games.kind != GameCountAnswerKind::Accepted)
            return fail(
                QStringLiteral("--games \"%1\": %2").arg(answer, QString::fromStdString(games.message)),
                kExitUsage);
        input.games = games.games;
    }
    if (command == "randomness") {
        const QString answer =
            parser.isSet(gamesOption) ? parser.value(gamesOption) : kRandomnessDefaultAnswer;
        const RandomnessAnswer games = ParseRandomnessAnswer(answer.toStdString());
        // The window's own words ask again for a number; here the limits are said at once.
        if (games.kind != RandomnessAnswerKind::Accepted)
            return fail(
                QStringLiteral("--games takes a whole number from 4 to %1 that is exactly divisible by "
                               "4, not \"%2\".")
                    .arg(kMostRandomnessGames)
                    .arg(answer),
                kExitUsage);
        input.games = games.games;
    }
    if (withGames) {
        std::optional<std::uint64_t> seed = randomSeed();
        if (parser.isSet(seedOption))
            seed = ParseSeed(parser.value(seedOption), &error);
        if (!seed)
            return fail(error, kExitUsage);
        input.seed = *seed;
    }
    if (withGames && parser.isSet(threadsOption)) {
        const auto threads = ParseWholeNumber(parser.value(threadsOption), 0, 256, "--threads", &error);
        if (!threads)
            return fail(error, kExitUsage);
        input.threads = static_cast<int>(*threads);
    }

    SessionInput session;
    if (command == "session" && !sessionOptions.read(parser, &session, &error))
        return fail(error, kExitUsage);
    if (command == "session" && input.cards)
        input.cards->bet = session.plan.bet; // the bet on each card

    if (command == "randomness") {
        const CommandResult result = RunRandomnessCommand(input);
        writeOut(result.out);
        return result.error.isEmpty() ? result.status : fail(result.error, result.status);
    }

    const QString path = parser.isSet(dbOption) ? parser.value(dbOption) : defaultDatabasePath();
    DatabaseOpening opening = openDatabase(path, "tallyhawk-cli", OpenMode::ReadOnly);
    if (!opening.ok())
        return fail(opening.error, kExitFailure);
    input.db = opening.db;
    CommandResult result;
    if (withGame) {
        std::vector<CatalogueGame> games;
        if (!ReadCatalogue(input.db, &games, &error))
            result = {kExitFailure, {}, "The game list cannot be read: " + error};
        else if (!FindGame(games, gameKey, &input.game, &error))
            result = {kExitFailure, {}, error};
        else if (!ReadGame(input.db, GameSql(input.game.key), &input.rules, &error))
            result = {
                kExitFailure, {}, "The pays of " + GameTitle(input.game.key) + " cannot be read: " + error};
    }
    if (result.error.isEmpty() && command == "simulate" && input.games == 0) {
        // The program's own default number of simulation games.
        ProgramDefaults defaults;
        const bool usable = ReadDefaults(input.db, &defaults, &error) && defaults.SimGames >= 1 &&
                            defaults.SimGames <= kMaxSimulationGames;
        input.games = usable ? defaults.SimGames : 1000000;
    }
    if (result.error.isEmpty()) {
        if (command == "games")
            result = RunGamesCommand(input);
        else if (command == "odds")
            result = input.cards ? RunCardSetOddsCommand(input) : RunOddsCommand(input);
        else if (command == "session")
            result = RunSessionCommand(input, session);
        else
            result = input.cards ? RunCardSetSimulateCommand(input) : RunSimulateCommand(input);
    }
    input.db = QSqlDatabase();
    closeDatabase(opening.db);
    writeOut(result.out);
    return result.error.isEmpty() ? result.status : fail(result.error, result.status);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // The name decides the data folder, as for the program: ~/.local/share/Tallyhawk on Linux.
    QCoreApplication::setApplicationName("Tallyhawk");
    return run(QCoreApplication::arguments());
}
