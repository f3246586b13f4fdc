#include "db/defaults.h"
#include "gui/options/formdefaults.h"
#include "support/boardrun.h"
#include "support/tempdatafolder.h"
#include "support/windowtest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace tallyhawk;

class OptionsTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void okSavesAndPutsTheOptionsInForce();
    void resetSetsTheCreditsWithoutSaving();
    void entriesThatAreNotWholeNumbersAreRefused();
    void theCloseBoxSavesNothing();

private:
    ProgramDefaults stored();
    FormDefaults& options() { return m_run->app.options(); }

    std::unique_ptr<TempDataFolder> m_folder;
    std::unique_ptr<BoardRun> m_run;
};

void OptionsTest::init()
{
    m_run.reset();
    m_folder = std::make_unique<TempDataFolder>();
    m_run = std::make_unique<BoardRun>(m_folder->path());
    QVERIFY(m_run->board.Form_Load());
    m_run->board.show();
    m_run->click(m_run->board.CommandAdvanced);
    QTest::mouseClick(m_run->simulation.CommandOptions, Qt::LeftButton);
    QVERIFY(options().isVisible());
    QCOMPARE(options().windowTitle(), QString("Program Options"));
}

void OptionsTest::cleanup()
{
    m_run.reset();
}

ProgramDefaults OptionsTest::stored()
{
    ProgramDefaults defaults;
    QString error;
    if (!ReadDefaults(m_run->module2.gDatabase, &defaults, &error))
        QTest::qFail(qPrintable(error), __FILE__, __LINE__);
    return defaults;
}

void OptionsTest::okSavesAndPutsTheOptionsInForce()
{
    QCOMPARE(options().TextStartCredits->text(), QString("100"));
    QCOMPARE(options().DBComboSpeed->count(), 4);
    QCOMPARE(options().DBComboSpeed->currentText(), QString("Fast"));
    options().TextStartCredits->setText("250");
    options().TextSeed->setText("4242");
    options().TextSimCount->setText("20000");
    options().CheckPickRandom->setChecked(true);
    options().CheckSound->setChecked(false);
    options().DBComboSpeed->setCurrentText("Turbo");
    QTest::mouseClick(options().CommandOK, Qt::LeftButton);
    QVERIFY(!options().isVisible());

    const ProgramDefaults saved = stored();
    QCOMPARE(saved.StartupCredits, 250);
    QCOMPARE(saved.RandomSeed, 4242);
    QCOMPARE(saved.SimGames, 20000);
    QVERIFY(saved.RandomPickForSim);
    QVERIFY(saved.ShowNumbers); // as its own box says
    QVERIFY(!saved.SoundON);
    QCOMPARE(saved.Speed, std::string("Turbo"));
    QCOMPARE(m_run->module2.gStartupCredits, 250);
    QCOMPARE(m_run->module2.gSimGames, 20000);
    QVERIFY(m_run->module2.gRandomPickForSim);
    QVERIFY(!m_run->module2.gSoundOn);
    QCOMPARE(m_run->module2.gSpeed, QString("Turbo"));
    QCOMPARE(m_run->module2.gRandomSeed, 0); // the seed waits for the next start
    BoardRun next(m_folder->path());
    QVERIFY(next.board.Form_Load());
    QCOMPARE(next.module2.gRandomSeed, 4242);
    KenoRandom seeded(4242);
    QCOMPARE(next.module2.gRandom.next(), seeded.next());

    // The next add-credits prompt offers the new start-up credits.
    QTest::mouseClick(m_run->simulation.CommandBack, Qt::LeftButton);
    m_run->dialogs.inputs = {QString()};
    m_run->click(m_run->board.CommandAdd);
    QCOMPARE(m_run->dialogs.shown.back().text, QString("Enter Number of Credits to Add >|250"));
}

void OptionsTest::resetSetsTheCreditsWithoutSaving()
{
    options().TextStartCredits->setText("500");
    QTest::mouseClick(options().CommandReset, Qt::LeftButton);
    QCOMPARE(m_run->board.TextCredits->text(), QString("500"));
    QVERIFY(options().isVisible());
    options().close();
    QCOMPARE(stored().StartupCredits, 100);
}

void OptionsTest::entriesThatAreNotWholeNumbersAreRefused()
{
    for (QLineEdit* box : {options().TextStartCredits, options().TextSeed, options().TextSimCount}) {
        const QString before = box->text();
        box->setText("12abc");
        QTest::mouseClick(options().CommandOK, Qt::LeftButton);
        QVERIFY(m_run->dialogs.messages().last().contains("must be a whole number"));
        QVERIFY(options().isVisible());
        box->setText(before);
    }
    options().TextSimCount->setText("0");
    QTest::mouseClick(options().CommandOK, Qt::LeftButton);
    QVERIFY(m_run->dialogs.messages().last().startsWith("Default Number of Simulation Games must be"));
    QCOMPARE(stored().SimGames, 1000000);
}

void OptionsTest::theCloseBoxSavesNothing()
{
    options().TextStartCredits->setText("777");
    options().close();
    QCOMPARE(stored().StartupCredits, 100);
    QCOMPARE(m_run->module2.gStartupCredits, 100);
    QTest::mouseClick(m_run->simulation.CommandOptions, Qt::LeftButton);
    QCOMPARE(options().TextStartCredits->text(), QString("100"));
}

TALLYHAWK_WINDOW_TEST_MAIN(OptionsTest)
#include "test_formdefaults.moc"
