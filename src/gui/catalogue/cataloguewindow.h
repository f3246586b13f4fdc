// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once

#include "engine/common/gamekey.h"
#include "engine/common/paytypes.h"
#include "gui/common/programstate.h"

#include <optional>
#include <QWidget>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTableWidget;

namespace tallyhawk {

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
    CatalogueWindow(QSqlDatabase& database, const ProgramPaths& paths, CurrentGame& currentGame, Dialogs& dialogs,
                    QWidget* parent = nullptr);
    ~CatalogueWindow() override;

    // True while the pays are unlocked for editing.
    bool isEditingPays() const { return m_editingPays; }

    // Binds the grids to the open database (after the board's load has opened it).
    void bindDatabase();
    // Shows the window on the current game, read-only, as the board's pays button does.
    void openFromBoard();

    // Lets go of every query on the database, before it closes.
    void releaseDatabase();
    // The game list as the board's load read it, on the board's current game.
    void setGameList(const std::vector<GameKey>& games, const GameKey& currentGame);
    // Whether the pays are unlocked for editing.
    bool isUnlocked() const { return m_editedKey.has_value(); }

    QComboBox* ComboGameList;

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

    // The game named by the list's text becomes the current game.
    void showChosenGame();
    void returnToBoard();
    void showHelp();
    void showAbout();
    void addNewGame();
    void deleteCurrentGame();
    void exportPayTable();
    void importPayTable();
    void refuseImport(const QString& reason);
    // EDIT PAYS unlocks the pays; LOCK PAYS checks, stores and locks them again.
    void editOrLockPays();
    void unlockPays();
    void lockPays();
    void showLocked();
    // True while values typed (or key fields changed) since the pays were unlocked are not stored.
    bool hasUnlockedEdits() const;
    // CANCEL EDIT: the game as stored, locked again.
    void cancelEdit();
    // Before the window is left with the pays unlocked: typed values are locked or dropped as
    // the user answers, never silently. False when the user goes back to them, or their lock
    // is refused.
    [[nodiscard]] bool settleUnlockedEdits();
    // The game's rows as the grids hold them, typed values included.
    std::vector<PayScheduleRow> gridRows() const;
    // The "Return %" row, from the grids' values.
    void showExactReturns();
    void showReturnRows(int rows);

    QSqlDatabase& m_database;
    const ProgramPaths& m_paths;
    CurrentGame& m_currentGame;
    Dialogs& m_dialogs;

    QTableView* m_paysGrid = nullptr;
    QTableView* m_bonusGrid = nullptr;
    // Under the pays: the pay table's exact return of each marked count and, where the board's
    // return at a bet of 1 (whole credits) differs, that one in a second row, with a note.
    QTableWidget* m_returnGrid = nullptr;
    QLabel* m_returnNoteLabel = nullptr;
    QComboBox* m_locationCombo = nullptr;
    QLineEdit* m_casinoEdit = nullptr;
    QComboBox* m_gameNameCombo = nullptr;
    QPushButton* m_lockButton = nullptr;
    QPushButton* m_cancelEditButton = nullptr;
    QPushButton* m_addGameButton = nullptr;
    QPushButton* m_deleteGameButton = nullptr;
    QPushButton* m_exportButton = nullptr;
    QPushButton* m_importButton = nullptr;
    QPushButton* m_helpButton = nullptr;
    QPushButton* m_aboutButton = nullptr;
    QPushButton* m_backButton = nullptr;
    PayGridModel* m_paysModel = nullptr;
    PayGridModel* m_bonusModel = nullptr;
    // A pay edit in progress (the edited game's key is m_editedKey).
    bool m_editingPays = false;
    AboutDialog* m_about = nullptr;
    QWidget* m_helpViewer = nullptr;

    // While the pays are unlocked: the key the edited game's rows carry in the database.
    std::optional<GameKey> m_editedKey;
    // The games whose pays were unlocked during this visit: BACK TO GAME rounds their pays.
    std::vector<GameKey> m_editedGames;
};

} // namespace tallyhawk
