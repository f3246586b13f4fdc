#include "optionsdialog.h"

#include "db/defaults.h"
#include "engine/common/numberforms.h"
#include "gui/common/dialogs.h"
#include "gui/common/module2.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
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

OptionsDialog::OptionsDialog(Module2& module2, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_module2(module2), m_dialogs(dialogs)
{
    setObjectName("optionsDialog");
    setWindowTitle("Program Options");
    setWindowModality(Qt::WindowModal);

    TextStartCredits = new QLineEdit("100", this);
    TextStartCredits->setObjectName("TextStartCredits");
    TextStartCredits->setToolTip("Click Button to Reset Credit Total to the Startup Credits Value");
    TextSeed = new QLineEdit("0", this);
    TextSeed->setObjectName("TextSeed");
    TextSimCount = new QLineEdit("1000000", this);
    TextSimCount->setObjectName("TextSimCount");
    CheckPickRandom = new QCheckBox(this);
    CheckPickRandom->setObjectName("CheckPickRandom");
    DBComboSpeed = new QComboBox(this);
    DBComboSpeed->setObjectName("DBComboSpeed");
    CheckShowNumbers = new QCheckBox(this);
    CheckShowNumbers->setObjectName("CheckShowNumbers");
    CheckSound = new QCheckBox(this);
    CheckSound->setObjectName("CheckSound");
    CommandReset = new QPushButton(this);
    CommandReset->setObjectName("CommandReset");
    CommandReset->setFixedSize(25, 25);
    CommandOK = new QPushButton("OK", this);
    CommandOK->setObjectName("CommandOK");
    CommandOK->setDefault(true);
    connect(CommandOK, &QPushButton::clicked, this, &OptionsDialog::CommandOK_Click);
    connect(CommandReset, &QPushButton::clicked, this, &OptionsDialog::CommandReset_Click);

    // Labels to the left of their controls; random picks and the reset in a second column.
    auto* layout = new QGridLayout(this);
    layout->addWidget(label(this, "Startup Credits"), 0, 0);
    layout->addWidget(TextStartCredits, 0, 1);
    layout->addWidget(label(this, "Check to Use Random Picks During Simulation"), 0, 2);
    layout->addWidget(CheckPickRandom, 0, 3);
    layout->addWidget(label(this, "Check to Display Drawn Numbers During Interactive Play"), 1, 0);
    layout->addWidget(CheckShowNumbers, 1, 1);
    layout->addWidget(label(this, "Reset Credit Total"), 1, 2);
    layout->addWidget(CommandReset, 1, 3);
    layout->addWidget(label(this, "Random Seed"), 2, 0);
    layout->addWidget(TextSeed, 2, 1);
    layout->addWidget(label(this, "Default Number of Simulation Games"), 3, 0);
    layout->addWidget(TextSimCount, 3, 1);
    layout->addWidget(label(this, "Game Speed During Interactive Play"), 4, 0);
    layout->addWidget(DBComboSpeed, 4, 1);
    layout->addWidget(label(this, "Check forSound ON During Interactive Play"), 5, 0);
    layout->addWidget(CheckSound, 5, 1);
    layout->addWidget(CommandOK, 5, 2, 1, 2, Qt::AlignRight);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 2);
    layout->setColumnStretch(2, 3);
    resize(520, 300);
}

void OptionsDialog::showOptions()
{
    loadStoredValues();
    show();
    raise();
}

void OptionsDialog::loadStoredValues()
{
    QString error;
    QStringList speeds;
    if (ReadSpeeds(m_module2.gDatabase, &speeds, &error)) {
        DBComboSpeed->clear();
        DBComboSpeed->addItems(speeds);
    }
    ProgramDefaults stored;
    if (!ReadDefaults(m_module2.gDatabase, &stored, &error)) {
        m_dialogs.message(this, "The program options cannot be read: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
        return;
    }
    TextStartCredits->setText(qs(PlainForm(stored.StartupCredits)));
    TextSeed->setText(qs(PlainForm(stored.RandomSeed)));
    TextSimCount->setText(qs(PlainForm(stored.SimGames)));
    CheckPickRandom->setChecked(stored.RandomPickForSim);
    CheckShowNumbers->setChecked(stored.ShowNumbers);
    CheckSound->setChecked(stored.SoundON);
    DBComboSpeed->setCurrentText(qs(stored.Speed));
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

void OptionsDialog::CommandOK_Click()
{
    const auto credits = wholeNumber(TextStartCredits, "Startup Credits", 0, 2147483647.0);
    if (!credits)
        return;
    const auto seed = wholeNumber(TextSeed, "Random Seed", -2147483648.0, 2147483647.0);
    if (!seed)
        return;
    const auto games = wholeNumber(TextSimCount, "Default Number of Simulation Games", 1, 1000000000.0);
    if (!games)
        return;

    ProgramDefaults options;
    options.StartupCredits = *credits;
    options.RandomSeed = *seed;
    options.SimGames = *games;
    options.RandomPickForSim = CheckPickRandom->isChecked();
    options.SoundON = CheckSound->isChecked();
    options.ShowNumbers = CheckShowNumbers->isChecked();
    options.Speed = DBComboSpeed->currentText().toStdString();
    QString error;
    if (!SaveOptions(m_module2.gDatabase, options, &error)) {
        m_dialogs.message(this, "The options could not be saved: " + error, kProgramTitle,
                          Dialogs::Icon::Warning);
        return;
    }
    m_module2.gStartupCredits = options.StartupCredits;
    m_module2.gShowNumbers = options.ShowNumbers;
    m_module2.gSimGames = options.SimGames;
    m_module2.gRandomPickForSim = options.RandomPickForSim;
    m_module2.gSpeed = DBComboSpeed->currentText();
    m_module2.gSoundOn = options.SoundON;
    hide();
}

void OptionsDialog::CommandReset_Click()
{
    // The credit total takes the box's value now, saved or not; a value that is not a
    // number of credits is refused rather than shown as credits.
    if (const auto credits = wholeNumber(TextStartCredits, "Startup Credits", 0, 2147483647.0))
        emit creditsReset(*credits);
}

} // namespace tallyhawk
