#pragma once

#include <cstdint>
#include <QWidget>

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

// The keno board: the program's main window. The player chooses a game, marks numbers,
// sets a bet and plays draws; the other windows are reached from here.
class frmKenoBoard : public QWidget
{
    Q_OBJECT
public:
    frmKenoBoard(Module2& module2, Dialogs& dialogs, frmObjectMap& catalogue, QWidget* parent = nullptr);
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

signals:
    // The user confirmed quitting: the state is saved and the database closed.
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void layOutControls();
    bool openDatabase();
    void ComboGameList_Click();
    void CommandErase_Click();
    // True when the program may end (Yes); saves the game and the credits.
    bool Form_Unload();

    Module2& m_module2;
    Dialogs& m_dialogs;
    frmObjectMap& m_catalogue;

    std::int16_t mMarkedCount = 0;
    std::int16_t mBetStep = 1;
    std::int16_t mOddsTextLength = 0;
    bool m_ended = false;
};

} // namespace tallyhawk
