// The program options dialog, opened from the simulation window.

#include "db/defaults.h"
#include "gui/options/formdefaults.h"
#include "support/boardrun.h"
#include "support/windowtest.h"

#include <QCheckBox>

using namespace tallyhawk;

class OptionsTest : public QObject, BoardFixture
{
    Q_OBJECT
private slots:
    void init()
    {
        start();
        run->click(run->board.CommandAdvanced);
        QTest::mouseClick(run->simulation.CommandOptions, Qt::LeftButton);
        QVERIFY(options().isVisible());
    }

    void cleanup() { end(); }
    void okSavesAndPutsTheOptionsInForce()
    {
        QCOMPARE(options().TextStartCredits->text() + "|" + options().DBComboSpeed->currentText(),
                 QString("100|Fast"));
        options().TextStartCredits->setText("250");
        options().TextSeed->setText("4242");
        options().TextSimCount->setText("20000");
        options().CheckPickRandom->setChecked(true);
        options().CheckSound->setChecked(false);
        options().DBComboSpeed->setCurrentText("Turbo");
        QTest::mouseClick(options().CommandOK, Qt::LeftButton);
        QVERIFY(!options().isVisible());
        const ProgramDefaults saved = stored();
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5 %6")
                     .arg(saved.StartupCredits)
                     .arg(saved.RandomSeed)
                     .arg(saved.SimGames)
                     .arg(saved.RandomPickForSim)
                     .arg(saved.SoundON)
                     .arg(QString::fromStdString(saved.Speed)),
                 QString("250 4242 20000 1 0 Turbo"));
        const Module2& now = run->module2;
        QVERIFY(now.gStartupCredits == 250 && now.gSimGames == 20000 && now.gRandomPickForSim &&
                !now.gSoundOn);
        QCOMPARE(now.gSpeed, QString("Turbo"));
        QCOMPARE(now.gRandomSeed, 0); // the seed waits for the next start
        BoardRun next(folder->path());
        QVERIFY(next.board.Form_Load());
        QCOMPARE(next.module2.gRandomSeed, 4242);

        // The next add-credits prompt offers the new start-up credits; CTRL resets to them.
        QTest::mouseClick(run->simulation.CommandBack, Qt::LeftButton);
        run->dialogs.inputs = {QString()};
        run->click(run->board.CommandAdd);
        QCOMPARE(run->dialogs.shown.back().text, QString("Enter Number of Credits to Add >|250"));
    }

    void refusedEntriesAndTheCloseBoxSaveNothing()
    {
        for (QLineEdit* box : {options().TextStartCredits, options().TextSeed, options().TextSimCount}) {
            const QString before = box->text();
            box->setText("12abc");
            QTest::mouseClick(options().CommandOK, Qt::LeftButton);
            QVERIFY(run->dialogs.messages().last().contains("must be a whole number"));
            box->setText(before);
        }
        options().TextSimCount->setText("0");
        QTest::mouseClick(options().CommandOK, Qt::LeftButton);
        QVERIFY(run->dialogs.messages().last().startsWith("Default Number of Simulation Games must be"));
        QVERIFY(options().isVisible());
        // RESET puts the credits in force without saving them; the close box saves nothing.
        options().TextStartCredits->setText("500");
        QTest::mouseClick(options().CommandReset, Qt::LeftButton);
        QCOMPARE(run->board.TextCredits->text(), QString("500"));
        options().close();
        QCOMPARE(stored().StartupCredits + stored().SimGames, 100 + 1000000);
        QCOMPARE(run->module2.gStartupCredits, 100);
        QTest::mouseClick(run->simulation.CommandOptions, Qt::LeftButton);
        QCOMPARE(options().TextStartCredits->text(), QString("100"));
    }

private:
    FormDefaults& options() { return run->app.options(); }
    ProgramDefaults stored()
    {
        ProgramDefaults defaults;
        QString error;
        if (!ReadDefaults(run->module2.gDatabase, &defaults, &error))
            QTest::qFail(qPrintable(error), __FILE__, __LINE__);
        return defaults;
    }
};

TALLYHAWK_WINDOW_TEST_MAIN(OptionsTest)
#include "test_formdefaults.moc"
