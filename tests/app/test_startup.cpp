#include "app/application.h"
#include "gui/board/frmkenoboard.h"
#include "gui/common/frmsplash.h"
#include "support/scripteddialogs.h"
#include "support/windowtest.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

using namespace tallyhawk;

class StartupTest : public QObject
{
    Q_OBJECT
private slots:
    void aNewUserGetsTheDatabaseAndStartShowsTheBoard();
    void anUnwritableDataFolderIsReported();
    void closingTheSplashEndsTheProgram();
    void pauseSecondsWaitsWhileEventsRun();
};

void StartupTest::aNewUserGetsTheDatabaseAndStartShowsTheBoard()
{
    QTemporaryDir dir;
    const QString dataFolder = dir.filePath("data/Tallyhawk");
    ScriptedDialogs dialogs;
    Application program(dataFolder, TALLYHAWK_PROGRAM_DIR, dialogs);
    QCOMPARE(program.module2().gDatabasePath, QDir(dataFolder).filePath("Tallyhawk.orf"));
    QVERIFY(program.start());
    QVERIFY(QFile::exists(program.module2().gDatabasePath));
    QVERIFY(program.splash().isVisible());
    QCOMPARE(program.splash().lblVersion->text(), QString("Version 3.0"));
    QCOMPARE(program.splash().lblProductName->text(), QString("Tallyhawk"));
    QVERIFY(!program.splash().imgLogo->pixmap().isNull());

    QSignalSpy finished(&program, &Application::finished);
    QTest::mouseClick(program.splash().CommandStart, Qt::LeftButton);
    QVERIFY(!program.splash().isVisible());
    QVERIFY(program.board().isVisible());
    QCOMPARE(program.board().ComboGameList->count(), 17);
    QCOMPARE(finished.count(), 0);
    QVERIFY(dialogs.shown.empty());

    dialogs.answers = {true};
    program.board().close();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), 0);
}

void StartupTest::anUnwritableDataFolderIsReported()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ScriptedDialogs dialogs;
    Application program(dir.filePath("file/Tallyhawk"), TALLYHAWK_PROGRAM_DIR, dialogs);
    QVERIFY(!program.start());
    QCOMPARE(dialogs.messages().size(), 1);
    QVERIFY(dialogs.messages().first().contains("cannot be created"));
    QVERIFY(!program.splash().isVisible());
}

void StartupTest::closingTheSplashEndsTheProgram()
{
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    Application program(dir.path(), TALLYHAWK_PROGRAM_DIR, dialogs);
    QVERIFY(program.start());
    QSignalSpy finished(&program, &Application::finished);
    program.splash().close();
    QCOMPARE(finished.count(), 1);
}

void StartupTest::pauseSecondsWaitsWhileEventsRun()
{
    QElapsedTimer clock;
    clock.start();
    PauseSeconds(-1);
    QVERIFY(clock.elapsed() < 100);

    bool fired = false;
    QTimer::singleShot(50, [&] { fired = true; });
    clock.restart();
    PauseSeconds(0.5f);
    QVERIFY(fired); // the windows stayed responsive
    QVERIFY(clock.elapsed() >= 490);
}

TALLYHAWK_WINDOW_TEST_MAIN(StartupTest)
#include "test_startup.moc"
