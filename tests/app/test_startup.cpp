#include "app/application.h"
#include "db/datafolderlock.h"
#include "gui/board/frmkenoboard.h"
#include "gui/common/frmsplash.h"
#include "support/databasefiles.h"
#include "support/scripteddialogs.h"
#include "support/tempdatafolder.h"
#include "support/windowtest.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
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
    void aSecondCopyIsRefusedWithoutTouchingTheDatabase();
    void aCopyThatWasKilledDoesNotKeepTheFolder();
    void aReadOnlyDatabaseIsSaidOnceAndNothingIsSaved_data();
    void aReadOnlyDatabaseIsSaidOnceAndNothingIsSaved();
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

void StartupTest::aSecondCopyIsRefusedWithoutTouchingTheDatabase()
{
    TempDataFolder folder;
    ScriptedDialogs firstDialogs;
    {
        Application first(folder.path(), TALLYHAWK_PROGRAM_DIR, firstDialogs);
        QVERIFY(first.start());
        QTest::mouseClick(first.splash().CommandStart, Qt::LeftButton);
        QVERIFY(first.board().isVisible());
        const QByteArray before = fileHash(folder.databasePath());

        ScriptedDialogs secondDialogs;
        Application second(folder.path(), TALLYHAWK_PROGRAM_DIR, secondDialogs);
        QVERIFY(!second.start());
        QCOMPARE(secondDialogs.messages().size(), 1);
        QVERIFY(secondDialogs.messages().first().contains(
            "Tallyhawk is already running with the data folder " + folder.path()));
        QVERIFY(!second.splash().isVisible());
        QVERIFY(!second.module2().gDatabase.isValid());
        QCOMPARE(fileHash(folder.databasePath()), before);

        firstDialogs.answers = {true};
        first.board().close();
    }
    ScriptedDialogs thirdDialogs;
    Application third(folder.path(), TALLYHAWK_PROGRAM_DIR, thirdDialogs);
    QVERIFY(third.start());
}

void StartupTest::aCopyThatWasKilledDoesNotKeepTheFolder()
{
    // The program itself, on a data folder of its own (its name comes from XDG_DATA_HOME).
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", home.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    const QString dataFolder = home.filePath("Tallyhawk");
    const QString lockFile = QDir(dataFolder).filePath(kLockFileName);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QDir(TALLYHAWK_PROGRAM_DIR).filePath("tallyhawk"));
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lockFile), 20000);
    program.kill();
    QVERIFY(program.waitForFinished());
    QVERIFY(QFile::exists(lockFile)); // left behind, naming a process that is gone

    ScriptedDialogs dialogs;
    Application next(dataFolder, TALLYHAWK_PROGRAM_DIR, dialogs);
    QVERIFY(next.start());
    QVERIFY(dialogs.shown.empty());
}

void StartupTest::aReadOnlyDatabaseIsSaidOnceAndNothingIsSaved_data()
{
    QTest::addColumn<bool>("markFolder");
    QTest::newRow("read-only file") << false;
    QTest::newRow("read-only folder") << true;
}

void StartupTest::aReadOnlyDatabaseIsSaidOnceAndNothingIsSaved()
{
    QFETCH(bool, markFolder);
    TempDataFolder folder;
    const QByteArray before = fileHash(folder.databasePath());
    ReadOnlyMark mark(markFolder ? folder.path() : folder.databasePath());
    ScriptedDialogs dialogs;
    Application program(folder.path(), TALLYHAWK_PROGRAM_DIR, dialogs);
    QVERIFY(program.start());
    QTest::mouseClick(program.splash().CommandStart, Qt::LeftButton);
    QVERIFY(program.board().isVisible());
    QCOMPARE(program.board().ComboGameList->count(), 17);
    QCOMPARE(dialogs.messages().size(), 1);
    QVERIFY2(dialogs.messages().first().contains("changes will not be saved"),
             qPrintable(dialogs.messages().first()));

    dialogs.answers = {true};
    program.board().close();
    QCOMPARE(dialogs.messages().size(), 1); // the quit says nothing more
    QCOMPARE(fileHash(folder.databasePath()), before);
    QCOMPARE(QFile::exists(QDir(folder.path()).filePath(kLockFileName)), !markFolder);
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
