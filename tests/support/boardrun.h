// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// One run of the board over a data folder, for window tests: state, dialogs and windows.

#include "app/application.h"
#include "db/database.h"
#include "db/paytable.h"
#include "gui/board/boardgrid.h"
#include "gui/board/boardwindow.h"
#include "gui/catalogue/cataloguewindow.h"
#include "gui/sim/simulationwindow.h"
#include "scripteddialogs.h"
#include "tempdatafolder.h"

#include <memory>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace tallyhawk {

struct BoardRun
{
    explicit BoardRun(const QString& dataFolder, const QString& programFolder = TALLYHAWK_PROGRAM_DIR)
        : app(dataFolder, programFolder, dialogs), catalogue(app.catalogue()), simulation(app.simulation()),
          board(app.board())
    {
    }

    // Picks a game from the list as a user does.
    void chooseGame(const QString& startOfEntry)
    {
        const int index = board.gameListCombo->findText(startOfEntry, Qt::MatchStartsWith);
        QVERIFY2(index >= 0, qPrintable(startOfEntry));
        board.gameListCombo->setCurrentIndex(index);
        emit board.gameListCombo->activated(index);
    }

    void clickNumber(int n)
    {
        const BoardCell cell = CellOfNumber(n);
        emit board.boardGrid->cellClicked(cell.row, cell.column);
    }

    void click(QWidget* button, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        if (modifiers & Qt::ControlModifier)
            QTest::keyPress(&board, Qt::Key_Control);
        QTest::mouseClick(button, Qt::LeftButton, modifiers);
        if (modifiers & Qt::ControlModifier)
            QTest::keyRelease(&board, Qt::Key_Control);
    }

    // Raises the bet with BET ONE to `bet`, then marks the numbers.
    void ticket(int bet, std::initializer_list<int> numbers)
    {
        while (board.bet() < bet)
            click(board.betOneButton);
        for (int n : numbers)
            clickNumber(n);
    }

    ScriptedDialogs dialogs;
    Application app; // the windows wired together as the program wires them
    CatalogueWindow& catalogue;
    SimulationWindow& simulation;
    BoardWindow& board;
};

// Sets fields of the defaults row before a run loads it.
inline void setDefaults(const QString& databasePath, const QString& assignments)
{
    DatabaseOpening opening = openDatabase(databasePath, "set-defaults");
    QVERIFY(opening.ok());
    QVERIFY(ExecuteSql(opening.db, "UPDATE [Defaults] SET " + assignments));
    closeDatabase(opening.db);
}

// What most window tests start from: a fresh data folder, its defaults set, the board loaded
// and shown. A test class derives from it, calls start() in init() and end() in cleanup(), so
// that dialogs scripted but never asked for fail the test that scripted them.
class BoardFixture
{
protected:
    void start(const QString& defaults = {})
    {
        run.reset();
        folder = std::make_unique<TempDataFolder>();
        if (!defaults.isEmpty())
            setDefaults(folder->databasePath(), defaults);
        run = std::make_unique<BoardRun>(folder->path());
        QVERIFY(run->app.load());
        run->board.setPauseScale(0);
        run->board.show();
    }
    void end() { run.reset(); }

    std::unique_ptr<TempDataFolder> folder;
    std::unique_ptr<BoardRun> run;
};

} // namespace tallyhawk
