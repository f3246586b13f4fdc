#pragma once

#include "engine/common/gamekey.h"
#include "engine/common/paytypes.h"

#include <QWidget>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTableWidget;

namespace tallyhawk {

struct Module2;
class Dialogs;
class PayGridModel;
class AboutDialog;

// The catalogue window: the pay schedule of one game at a time, browsed, copied, edited
// under the lock checks, deleted, exported and imported. It lives hidden from the board's
// load on; the board fills its game list and opens it on the current game.
class CatalogueWindow : public QWidget
{
    Q_OBJECT
public:
    CatalogueWindow(Module2& module2, Dialogs& dialogs, QWidget* parent = nullptr);
    ~CatalogueWindow() override;

    // Binds the grids to the open database (after the board's load has opened it).
    void Form_Load();
    // Shows the window on the current game, read-only, as the board's pays button does.
    void openFromBoard();
    // The game selection: the game of the list's current item becomes the current game.
    void ComboGameList_Click();
    // Unlocks the pays, or checks and locks them again.
    void CommandEdit_Click();

    // Lets go of every query on the database, before it closes.
    void releaseDatabase();
    // The game list as the board's load read it, on the board's current game.
    void setGameList(const std::vector<GameKey>& games, const GameKey& currentGame);
    // Whether the pays are unlocked for editing.
    bool isUnlocked() const;

    QComboBox* ComboGameList;
    QTableView* DBGrid1;
    QTableView* DBGrid2;
    // Under the pays: the pay table's exact return of each marked count and, where the board's
    // return at a bet of 1 (whole credits) differs, that one in a second row, with a note.
    QTableWidget* GridReturn;
    QLabel* TextReturnNote;
    QComboBox* ComboLocations;
    QLineEdit* TextCasino;
    QComboBox* ComboGame;
    QPushButton* CommandEdit;
    QPushButton* CommandAddNew;
    QPushButton* CommandDelete;
    QPushButton* CommandExport;
    QPushButton* CommandImport;
    QPushButton* CommandHelp;
    QPushButton* CommandAbout;
    QPushButton* CommandBack;

    PayGridModel* pDataListing;
    PayGridModel* DataBonus;

    static const QStringList kGameNames;
    static const QStringList kLocations;

signals:
    // BACK TO GAME: the board shows itself with this game and the bet it had.
    void backToGame(const GameKey& game);
    // The game list was rebuilt; the board's list shows the same entries.
    void gameListRebuilt(const std::vector<GameKey>& games);
    // The user confirmed quitting here: the program ends, the catalogue's game saved.
    void endProgramRequested(const QString& startupGame);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void layOutControls();
    void showKeyFields(bool visible);
    void setGridsEditable(bool editable);
    [[nodiscard]] bool rebuildGameLists();
    GameKey keyFields() const;

    void TextCasino_Change();
    void CommandBack_Click();
    void CommandHelp_Click();
    void CommandAbout_Click();
    void CommandAddNew_Click();
    void CommandDelete_Click();
    void CommandExport_Click();
    void CommandImport_Click();
    void unlock();
    void lock();
    void lockWindow();
    void refuseImport(const QString& reason);
    // The game's rows as the grids hold them, typed values included.
    std::vector<PayScheduleRow> gridRows() const;
    // The "Return %" row, from the grids' values.
    void showExactReturns();
    void showReturnRows(int rows);

    Module2& m_module2;
    Dialogs& m_dialogs;
    AboutDialog* m_about = nullptr;
    QWidget* m_helpViewer = nullptr;
    // The games whose pays were unlocked during this visit: BACK TO GAME rounds their pays.
    std::vector<GameKey> m_editedGames;
};

} // namespace tallyhawk
