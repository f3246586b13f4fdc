// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "optionsdialog.h"

#include "db/defaults.h"
#include "engine/common/numberforms.h"
#include "gui/common/dialogs.h"
#include "gui/common/programstate.h"
#include "gui/common/screenfit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tallyhawk {

namespace {

QLabel* label(QWidget* parent, const QString& text)
{
    auto* caption = new QLabel(text, parent);
    caption->setWordWrap(true);
    return caption;
}

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

OptionsDialog::OptionsDialog(QSqlDatabase& database, ProgramOptions& options, Dialogs& dialogs,
                             QWidget* parent)
    : QDialog(parent), m_database(database), m_options(options), m_dialogs(dialogs)
{
    setObjectName("optionsDialog");
    setWindowTitle("Program Options");
    setWindowModality(Qt::WindowModal);

    startupCreditsEdit = new QLineEdit("100", this);
    startupCreditsEdit->setObjectName("startupCreditsEdit");
    startupCreditsEdit->setToolTip("The credits a new player starts with");
    seedEdit = new QLineEdit("0", this);
    seedEdit->setObjectName("seedEdit");
    simulationGamesEdit = new QLineEdit("1000000", this);
    simulationGamesEdit->setObjectName("simulationGamesEdit");
    randomPicksCheckBox = new QCheckBox(this);
    randomPicksCheckBox->setObjectName("randomPicksCheckBox");
    speedCombo = new QComboBox(this);
    speedCombo->setObjectName("speedCombo");
    showNumbersCheckBox = new QCheckBox(this);
    showNumbersCheckBox->setObjectName("showNumbersCheckBox");
    soundCheckBox = new QCheckBox(this);
    soundCheckBox->setObjectName("soundCheckBox");
    resetCreditsButton = new QPushButton("Reset", this);
    resetCreditsButton->setObjectName("resetCreditsButton");
    resetCreditsButton->setToolTip("Click Button to Reset Credit Total to the Startup Credits Value");
    resetCreditsButton->setAccessibleName("Reset Credit Total");
    okButton = new QPushButton("OK", this);
    okButton->setObjectName("okButton");
    okButton->setDefault(true);
    cancelButton = new QPushButton("Cancel", this);
    cancelButton->setObjectName("cancelButton");
    cancelButton->setToolTip("Close without storing anything: the stored options stay as they were");
    connect(okButton, &QPushButton::clicked, this, &OptionsDialog::saveOptions);
    connect(cancelButton, &QPushButton::clicked, this, &OptionsDialog::reject);
    connect(resetCreditsButton, &QPushButton::clicked, this, &OptionsDialog::resetCredits);
    auto* seedNote =
        label(this, "A new Random Seed takes effect at the next start of the program (0: from the clock).");
    seedNote->setObjectName("seedNoteLabel");

    // Labels to the left of their controls; random picks and the reset in a second column.
    auto* layout = new QGridLayout;
    layout->addWidget(label(this, "Startup Credits"), 0, 0);
    layout->addWidget(startupCreditsEdit, 0, 1);
    layout->addWidget(label(this, "Check to Use Random Picks During Simulation"), 0, 2);
    layout->addWidget(randomPicksCheckBox, 0, 3);
    layout->addWidget(label(this, "Check to Display Drawn Numbers During Interactive Play"), 1, 0);
    layout->addWidget(showNumbersCheckBox, 1, 1);
    layout->addWidget(label(this, "Reset Credit Total"), 1, 2);
    layout->addWidget(resetCreditsButton, 1, 3);
    layout->addWidget(label(this, "Random Seed"), 2, 0);
    layout->addWidget(seedEdit, 2, 1);
    layout->addWidget(seedNote, 2, 2, 1, 2);
    layout->addWidget(label(this, "Default Number of Simulation Games"), 3, 0);
    layout->addWidget(simulationGamesEdit, 3, 1);
    layout->addWidget(label(this, "Game Speed During Interactive Play"), 4, 0);
    layout->addWidget(speedCombo, 4, 1);
    layout->addWidget(label(this, "Check forSound ON During Interactive Play"), 5, 0);
    layout->addWidget(soundCheckBox, 5, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons, 6, 0, 1, 4);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 2);
    layout->setColumnStretch(2, 3);
    SetScrollingLayout(this, layout);
    resize(560, 320);
}

void OptionsDialog::showOptions()
{
    loadStoredValues();
    PlaceOnScreen(this, parentWidget());
    show();
    raise();
}

void OptionsDialog::loadStoredValues()
{
    QString error;
    QStringList speeds;
    if (ReadSpeeds(m_database, &speeds, &error)) {
        speedCombo->clear();
        speedCombo->addItems(speeds);
    }
    ProgramDefaults stored;
    if (!ReadDefaults(m_database, &stored, &error)) {
        m_dialogs.message(this, "The program options cannot be read: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
        return;
    }
    startupCreditsEdit->setText(qs(PlainForm(stored.StartupCredits)));
    seedEdit->setText(qs(PlainForm(stored.RandomSeed)));
    simulationGamesEdit->setText(qs(PlainForm(stored.SimGames)));
    randomPicksCheckBox->setChecked(stored.RandomPickForSim);
    showNumbersCheckBox->setChecked(stored.ShowNumbers);
    soundCheckBox->setChecked(stored.SoundON);
    speedCombo->setCurrentText(qs(stored.Speed));
    m_shownValues = controlValues();
}

QStringList OptionsDialog::controlValues() const
{
    QStringList values{startupCreditsEdit->text(), seedEdit->text(), simulationGamesEdit->text(),
                       speedCombo->currentText()};
    for (const QCheckBox* box : {randomPicksCheckBox, showNumbersCheckBox, soundCheckBox})
        values << (box->isChecked() ? "on" : "off");
    return values;
}

void OptionsDialog::reject()
{
    // Cancel, Esc and the close box: what was changed since the dialog opened is dropped, and
    // the user is told so rather than left to find it out.
    const bool changed = controlValues() != m_shownValues;
    QDialog::reject();
    if (changed)
        m_dialogs.message(parentWidget(), "Nothing was stored: the program options stay as they were.",
                          kProgramTitle, Dialogs::Icon::Information);
}

std::optional<std::int32_t> OptionsDialog::wholeNumber(QLineEdit* box, const QString& label, double lowest,
                                                       double highest)
{
    const auto number = ParseNumber(box->text().toStdString());
    if (number && *number == RoundHalfEven(*number) && *number >= lowest && *number <= highest)
        return static_cast<std::int32_t>(*number);
    m_dialogs.message(this, QStringLiteral("%1 must be a whole number from %2 to %3.")
                                .arg(label, qs(PlainForm(lowest)), qs(PlainForm(highest))));
    box->setFocus();
    return std::nullopt;
}

void OptionsDialog::saveOptions()
{
    const auto credits = wholeNumber(startupCreditsEdit, "Startup Credits", 0, 2147483647.0);
    if (!credits)
        return;
    const auto seed = wholeNumber(seedEdit, "Random Seed", -2147483648.0, 2147483647.0);
    if (!seed)
        return;
    const auto games =
        wholeNumber(simulationGamesEdit, "Default Number of Simulation Games", 1, 1000000000.0);
    if (!games)
        return;

    ProgramDefaults options;
    options.StartupCredits = *credits;
    options.RandomSeed = *seed;
    options.SimGames = *games;
    options.RandomPickForSim = randomPicksCheckBox->isChecked();
    options.SoundON = soundCheckBox->isChecked();
    options.ShowNumbers = showNumbersCheckBox->isChecked();
    options.Speed = speedCombo->currentText().toStdString();
    QString error;
    if (!SaveOptions(m_database, options, &error)) {
        m_dialogs.message(this, "The options could not be saved: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
        return;
    }
    // In force at once, but for the seed, which seeds the generator at the next start.
    m_options.startupCredits = options.StartupCredits;
    m_options.showNumbers = options.ShowNumbers;
    m_options.simGames = options.SimGames;
    m_options.randomPickForSim = options.RandomPickForSim;
    m_options.speed = speedCombo->currentText();
    m_options.soundOn = options.SoundON;
    hide();
}

void OptionsDialog::resetCredits()
{
    // The credit total takes the box's value now, saved or not; a value that is not a
    // number of credits is refused rather than shown as credits.
    if (const auto credits = wholeNumber(startupCreditsEdit, "Startup Credits", 0, 2147483647.0))
        emit creditsReset(*credits);
}

} // namespace tallyhawk
