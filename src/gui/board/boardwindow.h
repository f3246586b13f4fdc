// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once

#include "boardpictures.h"
#include "engine/play/payslist.h"
#include "engine/play/playengine.h"
#include "engine/play/ticket.h"
#include "gui/common/programstate.h"

#include <cstdint>
#include <optional>
#include <QSqlDatabase>
#include <QTimer>
#include <QWidget>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tallyhawk {

class BoardGrid;
class Dialogs;

// The keno board: the program's main window. The player chooses a game, marks numbers,
// sets a bet and plays draws; the other windows are reached from here, through the signals
// that the application connects to them. The ticket, the credits and the bet live here as
// values; the display boxes only show them.
class BoardWindow : public QWidget
{
    Q_OBJECT
public:
    BoardWindow(QSqlDatabase& database, const ProgramPaths& paths, CurrentGame& currentGame,
                const ProgramOptions& options, KenoRandom& random, DrawDeck& deck, Dialogs& dialogs,
                QWidget* parent = nullptr);
    ~BoardWindow() override;

    // Sizes the window for the screen, and says so when the screen is smaller than the board.
    void fitToScreen();
    // The board as the program starts: the game list, the start-up game and the credits saved.
    void restoreState(const std::vector<GameKey>& games, const QString& startupGame, double savedCredits);

    QComboBox* gameListCombo;
    QPlainTextEdit* paysListing;
    BoardGrid* boardGrid;
    QPlainTextEdit* bonusNoticeEdit;
    QLineEdit* markedLabel;
    QLineEdit* hitCountLabel;
    QLineEdit* betCaptionLabel;
    QLineEdit* betLabel;
    QLineEdit* winLabel;
    QLabel* creditCaptionLabel;
    QLineEdit* creditsLabel;
    QLineEdit* freeGamesLabel;
    QPushButton* paysButton;
    QPushButton* advancedButton;
    QPushButton* addCreditsButton;
    QPushButton* betOneButton;
    QPushButton* eraseButton;
    QPushButton* quickPickButton;
    QPushButton* startButton;
    QLineEdit* drawnNumbersLabel;

    // The narrowest screen, in pixels, that the window fits on.
    static constexpr int kMinimumScreenWidth = 775;

    // The pays listing with the lines a play adds, as the program keeps it (lines end in CR LF).
    QString paysListingText() const { return m_paysText; }
    bool isPlaying() const { return m_playing; }
    double credits() const { return m_credits; }
    int bet() const { return m_bet; }
    const Ticket& ticket() const { return m_ticket; }
    int markedCount() const { return m_ticket.count(); }
    // Scales every pause of a play; 0 plays a whole START click at once (tests).
    void setPauseScale(double scale) { m_pauseScale = scale; }
    // What is left of the pause a play waits in, in milliseconds; -1 when it waits in none.
    int pauseRemainingMs() const { return m_playTimer.isActive() ? m_playTimer.remainingTime() : -1; }
    // Sizes and places the window on a screen's free area; smaller than the window, the board
    // scrolls inside it.
    void placeOnScreen(const QRect& available);

    // The game selection: the game of the list's current item becomes the current game.
    void selectGame();
    // Back from the catalogue: its game becomes the board's, with the bet the board had.
    void returnFromCatalogue(const GameKey& catalogueGame);
    // Back from the simulation window: the bet the board had.
    void returnFromSimulation();
    // The game list as the catalogue rebuilt it.
    void setGameList(const std::vector<GameKey>& games);
    // Saves the game (this entry) and the credits and ends the program.
    void endProgram(const QString& startupGame);
    // A new credit total, as the options dialog's reset gives it.
    void setCredits(double credits);

signals:
    // SEE PAYS & HELP: the catalogue opens on the current game.
    void catalogueRequested();
    // ADVANCED: the simulation window takes the game, the ticket and the bet.
    void simulationRequested(const GameKey& game, const Ticket& ticket, int bet);
    // The user confirmed quitting: the state is saved; the database may close.
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void layOutControls();
    void eraseTicket();
    void openCatalogue();
    void openSimulation();
    // Shows the ticket on a clean board (no drawn colours or eggs).
    void tidyBoardForLeaving();
    // True when the program may end (Yes).
    [[nodiscard]] bool confirmQuit();

    // The ticket, bets and credits.
    void toggleNumber(int row, int column);
    void quickPick();
    void stepBet();
    void addCredits();
    void enableStartForBet();
    void enableStartForCredits();
    void showCell(int row, int column, const QString& text, Picture picture);
    // The pays listing: the lines of the ticket's pays, or none (an empty listing).
    void showPayLines(const std::optional<std::vector<PayLine>>& lines);
    // The listing as a play shows it, with the bonus lines it adds.
    void setPaysText(const QString& text);
    void showPaysList();
    // The current game, or none with the reason shown.
    [[nodiscard]] std::optional<KenoGame> readGame();
    // The credits and the bet, shown in the form given (the bet's "0" at load is the only
    // plain one).
    void showCredits(double credits, std::string (*form)(double));
    double creditsKept() const;
    // Stores creditsKept() at once, so that a crash loses nothing; a failure is said once.
    void keepCredits();
    void showBet(int bet, std::string (*form)(double));

    // The draw: START plays the engine's list of actions on a timer.
    void startDraw();
    void lockForPlay();
    void unlockAfterPlay();
    void playNextActions();
    void apply(const PlayAction& action);
    void finishPlayAtOnce();
    // Marks the line of the pays listing that the last game paid (none when it paid nothing).
    void highlightPaidLine();

    QSqlDatabase& m_database;
    const ProgramPaths& m_paths;
    CurrentGame& m_currentGame;
    const ProgramOptions& m_options;
    KenoRandom& m_random;
    DrawDeck& m_deck;
    Dialogs& m_dialogs;

    Ticket m_ticket;
    double m_credits = 0;
    int m_bet = 0;
    // True from a bet placed until the first draw: BET ONE takes the credits at once.
    bool m_betPrepaid = true;
    int m_betStep = 1;         // -1 while CTRL is held down
    double m_creditsSaved = 0; // the total last stored
    bool m_creditsSaveFailed = false;
    bool m_ended = false;
    GameKey m_catalogueGame; // the game when the catalogue was opened

    BoardPictures m_pictures;
    // The listing's pay lines for the ticket; none while no listing is shown.
    std::optional<std::vector<PayLine>> m_payLines;
    QString m_paysListing; // the listing of m_payLines, without the lines a play adds
    QString m_paysText;    // what the listing shows
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
