#pragma once

#include "boardpictures.h"
#include "engine/play/playengine.h"

#include <cstdint>
#include <QTimer>
#include <QWidget>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tallyhawk {

struct Module2;
class BoardGrid;
class Dialogs;
class frmObjectMap;
class frmSim;

// The keno board: the program's main window. The player chooses a game, marks numbers,
// sets a bet and plays draws; the other windows are reached from here.
class frmKenoBoard : public QWidget
{
    Q_OBJECT
public:
    frmKenoBoard(Module2& module2, Dialogs& dialogs, frmObjectMap& catalogue, frmSim& simulation,
                 QWidget* parent = nullptr);
    ~frmKenoBoard() override;

    // Opens the database and restores the saved state. False when the database cannot be
    // used: the fault has been reported and the program should stop.
    bool Form_Load();

    QComboBox* ComboGameList;
    QPlainTextEdit* TextOdds;
    BoardGrid* MSFlexBoard;
    QPlainTextEdit* TextFreeNotice;
    QLineEdit* TextMarked;
    QLineEdit* TextHitCount;
    QLineEdit* TextBetLabel;
    QLineEdit* TextBet;
    QLineEdit* TextWin;
    QLabel* Label1;
    QLineEdit* TextCredits;
    QLineEdit* TextFreeGamesRemaining;
    QPushButton* CommandPays;
    QPushButton* CommandAdvanced;
    QPushButton* CommandAdd;
    QPushButton* CommandBet;
    QPushButton* CommandErase;
    QPushButton* CommandQuickPick;
    QPushButton* CommandStart;
    QLineEdit* TextHits;

    // The narrowest screen, in pixels, that the window fits on.
    static constexpr int kMinimumScreenWidth = 775;

    // The pays listing with the lines a play adds, as the program keeps it (lines end in CR LF).
    QString oddsText() const { return m_oddsText; }
    bool isPlaying() const { return m_playing; }
    // Scales every pause of a play; 0 plays a whole START click at once (tests).
    void setPauseScale(double scale) { m_pauseScale = scale; }

    // The game selection: the game named by the list's text becomes the current game.
    void ComboGameList_Click();
    // Back from the catalogue: its game becomes the board's, with the bet the board had.
    void returnFromCatalogue();
    // Back from the simulation window: the bet the board had.
    void returnFromSimulation();
    // The game list as the catalogue rebuilt it.
    void setGameList(const QStringList& entries);
    // Saves the game (this entry) and the credits, closes the database and ends the program.
    void endProgram(const QString& startupGame);

signals:
    // The user confirmed quitting: the state is saved and the database closed.
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    void layOutControls();
    bool openDatabase();
    void CommandErase_Click();
    void CommandPays_Click();
    void CommandAdvanced_Click();
    // Rebuilds the ticket from the marks and shows the board clean (no drawn colours or eggs).
    void tidyBoardForLeaving();
    // True when the program may end (Yes); saves the game and the credits.
    bool Form_Unload();

    // The ticket, bets and credits.
    void MSFlexBoard_Click(int row, int column);
    void CommandQuickPick_Click();
    void CommandBet_Click();
    void CommandAdd_Click();
    void TextBet_Change();
    void TextCredits_Change();
    void showCell(int row, int column, const QString& text, Picture picture);
    void setOdds(const QString& text);
    void showPaysList();
    bool readGameRows(std::vector<PayScheduleRow>* rows);
    double credits() const;
    int bet() const;

    // The draw: START plays the engine's list of actions on a timer.
    void CommandStart_Click();
    void lockForPlay();
    void unlockAfterPlay();
    void playNextActions();
    void apply(const PlayAction& action);
    void finishPlayAtOnce();

    Module2& m_module2;
    Dialogs& m_dialogs;
    frmObjectMap& m_catalogue;
    frmSim& m_simulation;

    std::int16_t mMarkedCount = 0;
    std::int16_t mBetStep = 1;
    std::int16_t mOddsTextLength = 0;
    bool m_ended = false;
    QString m_catalogueGame; // the game when the catalogue was opened

    BoardPictures m_pictures;
    QString m_oddsText;
    bool m_playing = false;
    double m_pauseScale = 1.0;
    std::vector<PlayAction> m_actions;
    std::size_t m_nextAction = 0;
    QTimer m_playTimer;
};

} // namespace tallyhawk
