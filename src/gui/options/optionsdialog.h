#pragma once

#include <cstdint>
#include <optional>
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace tallyhawk {

struct Module2;
class Dialogs;

// The program options: start-up credits, seed, simulation games, random picks, speed, the
// drawn-number display and sound, stored in the defaults row. OK saves them and puts them
// in force at once (the seed at the next start); the close box leaves them unsaved.
class OptionsDialog : public QDialog
{
    Q_OBJECT
public:
    OptionsDialog(Module2& module2, Dialogs& dialogs, QWidget* parent = nullptr);

    // Shows the dialog, modal to its owner, with the stored values.
    void showOptions();

    QLineEdit* TextStartCredits;
    QLineEdit* TextSeed;
    QLineEdit* TextSimCount;
    QCheckBox* CheckPickRandom;
    QComboBox* DBComboSpeed;
    QCheckBox* CheckShowNumbers;
    QCheckBox* CheckSound;
    QPushButton* CommandReset;
    QPushButton* CommandOK;

signals:
    // Reset Credit Total: the board's credits become this total.
    void creditsReset(double credits);

private:
    void loadStoredValues();
    void CommandOK_Click();
    void CommandReset_Click();
    // The box's whole number, or a message and nothing.
    [[nodiscard]] std::optional<std::int32_t> wholeNumber(QLineEdit* box, const QString& label, double lowest,
                                                          double highest);

    Module2& m_module2;
    Dialogs& m_dialogs;
};

} // namespace tallyhawk
