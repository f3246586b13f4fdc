// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The program options dialog, opened from the simulation window.

#include "db/defaults.h"
#include "gui/options/optionsdialog.h"
#include "support/boardrun.h"
#include "support/windowtest.h"

#include <QCheckBox>

using namespace tallyhawk;

class OptionsTest : public QObject, BoardFixture
{
    Q_OBJECT
private slots:
    void init() { start(); }
    void cleanup() { end(); }

    void okSavesWholeNumbersAndPutsThemInForce()
    {
        run->click(run->board.advancedButton);
        QTest::mouseClick(control<QPushButton>(run->simulation, "optionsButton"), Qt::LeftButton);
        OptionsDialog& options = run->app.options();
        QCOMPARE(options.startupCreditsEdit->text() + "|" + options.speedCombo->currentText(),
                 QString("100|Fast"));
        for (QLineEdit* box : {options.startupCreditsEdit, options.seedEdit, options.simulationGamesEdit}) {
            const QString before = box->text();
            box->setText("12abc");
            QTest::mouseClick(options.okButton, Qt::LeftButton);
            QVERIFY(run->dialogs.messages().last().contains("must be a whole number"));
            box->setText(before);
        }
        QVERIFY(options.isVisible());
        options.startupCreditsEdit->setText("250");
        options.seedEdit->setText("4242");
        options.soundCheckBox->setChecked(false);
        options.speedCombo->setCurrentText("Turbo");
        QTest::mouseClick(options.okButton, Qt::LeftButton);
        QVERIFY(!options.isVisible());
        ProgramDefaults saved;
        QString error;
        QVERIFY(ReadDefaults(run->app.database(), &saved, &error));
        QCOMPARE(QStringLiteral("%1 %2 %3 %4")
                     .arg(saved.StartupCredits)
                     .arg(saved.RandomSeed)
                     .arg(saved.SoundON)
                     .arg(QString::fromStdString(saved.Speed)),
                 QString("250 4242 0 Turbo"));
        QVERIFY(run->app.programOptions().startupCredits == 250 && !run->app.programOptions().soundOn &&
                run->app.programOptions().speed == "Turbo");
        QCOMPARE(run->app.programOptions().randomSeed, 0); // the seed waits for the next start
        // The next add-credits prompt offers the new start-up credits.
        QTest::mouseClick(control<QPushButton>(run->simulation, "backButton"), Qt::LeftButton);
        run->dialogs.inputs = {QString()};
        run->click(run->board.addCreditsButton);
        QCOMPARE(run->dialogs.shown.back().text, QString("Enter Number of Credits to Add >|250"));
    }
};

TALLYHAWK_WINDOW_TEST_MAIN(OptionsTest)
#include "test_optionsdialog.moc"
