// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// Tallyhawk: a study tool for the casino game of keno.

#include "application.h"
#include "db/datapaths.h"
#include "gui/board/boardwindow.h"
#include "gui/common/splashwindow.h"
#include "gui/common/qtdialogs.h"

#include <cstdio>
#include <cstring>
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

namespace {

const char kHelp[] = R"(Usage: tallyhawk [--screenshot FILE]

Tallyhawk, a study tool for the casino game of keno: play a board with the pay tables of
real casino games, simulate up to a billion games of a ticket, and browse, edit and
exchange the catalogue of pay tables.

Options:
  --screenshot FILE  starts as usual, presses Start, saves a picture of the board (PNG)
                     to FILE and quits without saving anything else
  -h, --help         this help
  --version          the program's version

On its first start the program installs its database in ~/.local/share/Tallyhawk.
tallyhawk-cli studies the same catalogue from a terminal.
)";

void printTo(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

// --help and --version answer before the windows start, so they need no display.
bool answeredWithoutWindows(int argc, char* argv[], int* status)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            printTo(stdout, kHelp);
            *status = 0;
            return true;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            printTo(stdout, QStringLiteral("tallyhawk %1.%2\n")
                                .arg(TALLYHAWK_VERSION_MAJOR)
                                .arg(TALLYHAWK_VERSION_MINOR));
            *status = 0;
            return true;
        }
    }
    return false;
}

QIcon programIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1x%1/apps/tallyhawk.png").arg(size), QSize(size, size));
    return icon;
}

// Presses Start as the user would and saves what the board shows; the program then ends
// without the board's goodbye, so nothing is written to the database.
void saveBoardPicture(tallyhawk::Application& program, const QString& file)
{
    program.splash().startButton->click();
    if (!program.board().isVisible())
        return; // the board has reported why, and the program ends with status 1
    QTimer::singleShot(0, &program, [&program, file] {
        const bool saved = program.board().grab().save(file, "PNG");
        if (!saved)
            printTo(stderr, "tallyhawk: the picture cannot be saved as " + file + "\n");
        QApplication::exit(saved ? 0 : 1);
    });
}

} // namespace

int main(int argc, char* argv[])
{
    int status = 0;
    if (answeredWithoutWindows(argc, argv, &status))
        return status;

    QApplication app(argc, argv);
    QApplication::setApplicationName("Tallyhawk");
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2").arg(TALLYHAWK_VERSION_MAJOR).arg(TALLYHAWK_VERSION_MINOR));
    // Lets the desktop match the windows with the menu entry and its icon.
    QApplication::setDesktopFileName(TALLYHAWK_APP_ID);
    QApplication::setWindowIcon(programIcon());
    // The board asks before quitting and ends the program itself.
    QApplication::setQuitOnLastWindowClosed(false);
    // The windows write every figure one way (a point before decimals, no thousands
    // separators); the toolkit's own figures (a progress bar's percentage, a chart's axis)
    // follow the same convention whatever the desktop's language.
    QLocale::setDefault(QLocale::c());

    QCommandLineParser parser;
    const QCommandLineOption screenshotOption("screenshot", "", "FILE");
    parser.addOption(screenshotOption);
    if (!parser.parse(QApplication::arguments()) || !parser.positionalArguments().isEmpty()) {
        const QString reason = parser.errorText().isEmpty()
                                   ? "unexpected argument \"" + parser.positionalArguments().first() + "\""
                                   : parser.errorText();
        printTo(stderr, "tallyhawk: " + reason + " (tallyhawk --help)\n");
        return 2;
    }

    tallyhawk::QtDialogs dialogs;
    tallyhawk::Application program(tallyhawk::userDataFolder(),
                                   tallyhawk::programDataFolder(QApplication::applicationDirPath()), dialogs);
    QObject::connect(&program, &tallyhawk::Application::finished, &app, &QApplication::exit,
                     Qt::QueuedConnection);
    if (!program.start())
        return 1;
    if (parser.isSet(screenshotOption))
        QTimer::singleShot(0, &program, [&program, file = parser.value(screenshotOption)] {
            saveBoardPicture(program, file);
        });
    return app.exec();
}
