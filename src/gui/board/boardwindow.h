#pragma once

#include "boardpictures.h"
#include "engine/play/playengine.h"

#include <cstdint>
#include <optional>
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

// The keno board: the program's main window. The player chooses a game, marks numbers,
// sets a bet and plays draws; the other windows are reached from here, through the signals
// that the application connects to them. The credits, the bet and the marked count live here
// as numbers; the display boxes only show them.
class BoardWindow : public QWidget
{
    Q_OBJECT
public:
    BoardWindow(Module2& module2, Dialogs& dialogs, QWidget* parent = nullptr);
    ~BoardWindow() override;

    // Opens the database and restores the saved state. False when the database cannot be
    // used: the fault has been reported and the program should stop.
    [[nodiscard]] bool Form_Load();

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
    double credits() const { return m_credits; }
    int bet() const { return m_bet; }
    int markedCount() const { return mMarkedCount; }
    // Scales every pause of a play; 0 plays a whole START click at once (tests).
    void setPauseScale(double scale) { m_pauseScale = scale; }
    // What is left of the pause a play waits in, in milliseconds; -1 when it waits in none.
    int pauseRemainingMs() const { return m_playTimer.isActive() ? m_playTimer.remainingTime() : -1; }
    // Sizes and places the window on a screen's free area; smaller than the window, the board
    // scrolls inside it.
    void placeOnScreen(const QRect& available);

    // The game selection: the game of the list's current item becomes the current game.
    void ComboGameList_Click();
    // Back from the catalogue: its game becomes the board's, with the bet the board had.
    void returnFromCatalogue(const GameKey& catalogueGame);
    // Back from the simulation window: the bet the board had.
    void returnFromSimulation();
    // The game list as the catalogue rebuilt it.
    void setGameList(const std::vector<GameKey>& games);
    // Saves the game (this entry) and the credits, closes the database and ends the program.
    void endProgram(const QString& startupGame);
    // A new credit total, as the options dialog's reset gives it.
    void setCredits(double credits);

signals:
    // The database is open: the catalogue binds its grids to it.
    void databaseOpened();
    // The game list as the load read it, and the current game: the catalogue shows the same.
    void gameListLoaded(const std::vector<GameKey>& games, const GameKey& currentGame);
    // The database is about to close: every query on it must let go.
    void databaseClosing();
    // SEE PAYS & HELP: the catalogue opens on the current game.
    void catalogueRequested();
    // ADVANCED: the simulation window takes the ticket (in Module2), the game and its count.
    void simulationRequested(const GameKey& game, int markedCount);
    // The user confirmed quitting: the state is saved and the database closed.
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void layOutControls();
    [[nodiscard]] bool openDatabase();
    void CommandErase_Click();
    void CommandPays_Click();
    void CommandAdvanced_Click();
    // Rebuilds the ticket from the marks and shows the board clean (no drawn colours or eggs).
    void tidyBoardForLeaving();
    // True when the program may end (Yes); saves the game and the credits.
    [[nodiscard]] bool Form_Unload();

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
    // The current game, or none with the reason shown.
    [[nodiscard]] std::optional<KenoGame> readGame();
    // The credits and the bet, shown in the form given (the bet's "0" at load is the only
    // plain one).
    void showCredits(double credits, std::string (*form)(double));
    // What a quit or a crash keeps: the credits, with a bet paid as it was placed and not yet
    // played given back.
    double creditsKept() const;
    // Stores creditsKept() at once, so that a crash loses nothing; a failure is said once.
    void keepCredits();
    void showBet(int bet, std::string (*form)(double));

    // The draw: START plays the engine's list of actions on a timer.
    void CommandStart_Click();
    void lockForPlay();
    void unlockAfterPlay();
    void playNextActions();
    void apply(const PlayAction& action);
    void finishPlayAtOnce();
    // Marks the line of the pays listing that the last game paid (none when it paid nothing).
    void highlightPaidLine();

    Module2& m_module2;
    Dialogs& m_dialogs;

    double m_credits = 0;
    int m_bet = 0;
    double m_creditsSaved = 0; // the total last stored
    bool m_creditsSaveFailed = false;
    std::int16_t mMarkedCount = 0;
    std::int16_t mBetStep = 1;
    std::int16_t mOddsTextLength = 0;
    bool m_ended = false;
    GameKey m_catalogueGame; // the game when the catalogue was opened

    BoardPictures m_pictures;
    QString m_oddsText;
    bool m_playing = false;
    double m_pauseScale = 1.0;
    std::vector<PlayAction> m_actions;
    std::size_t m_nextAction = 0;
    std::vector<GameRecord> m_playedGames; // the play's games, paid one by one as it unfolds
    std::size_t m_gamesPaid = 0;
    int m_paidCatch = -1; // the catch the last game was paid for; -1 when it won nothing
    QTimer m_playTimer;
};

} // namespace tallyhawk
