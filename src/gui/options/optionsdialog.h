// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once

#include <cstdint>
#include <optional>
#include <QDialog>
#include <QSqlDatabase>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace tallyhawk {

class Dialogs;
struct ProgramOptions;

// The program options: start-up credits, seed, simulation games, random picks, speed, the
// drawn-number display and sound, stored in the defaults row. OK saves them and puts them
// in force at once (the seed at the next start); Cancel, Esc and the close box store nothing
// and say so when something was changed.
class OptionsDialog : public QDialog
{
    Q_OBJECT
public:
    OptionsDialog(QSqlDatabase& database, ProgramOptions& options, Dialogs& dialogs,
                  QWidget* parent = nullptr);

    // Shows the dialog, modal to its owner, with the stored values.
    void showOptions();

    QLineEdit* startupCreditsEdit;
    QLineEdit* seedEdit;
    QLineEdit* simulationGamesEdit;
    QCheckBox* randomPicksCheckBox;
    QComboBox* speedCombo;
    QCheckBox* showNumbersCheckBox;
    QCheckBox* soundCheckBox;
    QPushButton* resetCreditsButton;
    QPushButton* okButton;
    QPushButton* cancelButton;

public slots:
    void reject() override;

signals:
    // Reset Credit Total: the board's credits become this total.
    void creditsReset(double credits);

private:
    void loadStoredValues();
    // The controls' values, to tell whether the user changed any.
    QStringList controlValues() const;
    void saveOptions();
    void resetCredits();
    // The box's whole number, or a message and nothing.
    [[nodiscard]] std::optional<std::int32_t> wholeNumber(QLineEdit* box, const QString& label, double lowest,
                                                          double highest);

    QSqlDatabase& m_database;
    ProgramOptions& m_options;
    Dialogs& m_dialogs;
    QStringList m_shownValues; // as loaded
};

} // namespace tallyhawk
