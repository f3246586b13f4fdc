#pragma once
// One run of the board over a data folder, for window tests: state, dialogs and windows.

#include "app/application.h"
#include "db/database.h"
#include "db/paytable.h"
#include "gui/board/boardgrid.h"
#include "gui/board/frmkenoboard.h"
#include "gui/catalogue/frmobjectmap.h"
#include "gui/common/module2.h"
#include "gui/sim/frmsim.h"
#include "scripteddialogs.h"

#include <QComboBox>
#include <QTest>

namespace tallyhawk {

struct BoardRun
{
    explicit BoardRun(const QString& dataFolder, const QString& programFolder = TALLYHAWK_PROGRAM_DIR)
        : app(dataFolder, programFolder, dialogs), module2(app.module2()), catalogue(app.catalogue()),
          simulation(app.simulation()), board(app.board())
    {
        module2.setDataFolder(dataFolder);
    }

    // Picks a game from the list as a user does.
    void chooseGame(int index)
    {
        board.ComboGameList->setCurrentIndex(index);
        emit board.ComboGameList->activated(index);
    }

    void chooseGame(const QString& startOfEntry)
    {
        const int index = board.ComboGameList->findText(startOfEntry, Qt::MatchStartsWith);
        QVERIFY2(index >= 0, qPrintable(startOfEntry));
        chooseGame(index);
    }

    void clickNumber(int n)
    {
        const BoardCell cell = CellOfNumber(n);
        emit board.MSFlexBoard->cellClicked(cell.row, cell.column);
    }

    void click(QWidget* button, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        if (modifiers & Qt::ControlModifier)
            QTest::keyPress(&board, Qt::Key_Control);
        QTest::mouseClick(button, Qt::LeftButton, modifiers);
        if (modifiers & Qt::ControlModifier)
            QTest::keyRelease(&board, Qt::Key_Control);
    }

    ScriptedDialogs dialogs;
    Application app; // the windows wired together as the program wires them
    Module2& module2;
    frmObjectMap& catalogue;
    frmSim& simulation;
    frmKenoBoard& board;
};

// Sets fields of the defaults row before a run loads it.
inline void setDefaults(const QString& databasePath, const QString& assignments)
{
    DatabaseOpening opening = openDatabase(databasePath, "set-defaults");
    QVERIFY(opening.ok());
    QVERIFY(ExecuteSql(opening.db, "UPDATE [Defaults] SET " + assignments));
    closeDatabase(opening.db);
}

} // namespace tallyhawk
