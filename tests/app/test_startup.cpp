// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The program's start: the database installed for a new user, the splash window, one copy per
// data folder, and a database that can only be read.

#include "app/application.h"
#include "db/datafolderlock.h"
#include "gui/board/boardwindow.h"
#include "gui/common/splashwindow.h"
#include "support/databasefiles.h"
#include "support/scripteddialogs.h"
#include "support/tempdatafolder.h"
#include "support/windowtest.h"

#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace tallyhawk;

class StartupTest : public QObject
{
    Q_OBJECT
private slots:
    void aNewUserGetsTheDatabaseAndStartShowsTheBoard()
    {
        QTemporaryDir dir;
        const QString dataFolder = dir.filePath("data/Tallyhawk");
        ScriptedDialogs dialogs;
        {
            Application program(dataFolder, TALLYHAWK_PROGRAM_DIR, dialogs);
            QVERIFY(program.start());
            QVERIFY(QFile::exists(QDir(dataFolder).filePath("Tallyhawk.orf")) &&
                    program.splash().isVisible());
            QCOMPARE(program.splash().versionLabel->text() + "|" + program.splash().productNameLabel->text(),
                     QString("Version 3.0|Tallyhawk"));
            QSignalSpy finished(&program, &Application::finished);
            QTest::mouseClick(program.splash().startButton, Qt::LeftButton);
            QVERIFY(!program.splash().isVisible() && program.board().isVisible());
            QCOMPARE(program.board().gameListCombo->count(), 17);
            QVERIFY(finished.isEmpty() && dialogs.shown.empty());
            dialogs.answers = {true};
            program.board().close();
            QVERIFY(finished.count() == 1 && finished.at(0).at(0).toInt() == 0);
        }
        // Closing the splash ends the program too.
        Application again(dataFolder, TALLYHAWK_PROGRAM_DIR, dialogs);
        QVERIFY(again.start());
        QSignalSpy ended(&again, &Application::finished);
        again.splash().close();
        QCOMPARE(ended.count(), 1);
    }

    void aSecondCopyIsRefusedUntilTheFirstEndsOrIsKilled()
    {
        TempDataFolder folder;
        {
            ScriptedDialogs firstDialogs, secondDialogs;
            Application first(folder.path(), TALLYHAWK_PROGRAM_DIR, firstDialogs);
            QVERIFY(first.start());
            QTest::mouseClick(first.splash().startButton, Qt::LeftButton);
            const QByteArray before = fileHash(folder.databasePath());
            Application second(folder.path(), TALLYHAWK_PROGRAM_DIR, secondDialogs);
            QVERIFY(!second.start());
            QVERIFY(secondDialogs.messages().join('|').startsWith(
                "Tallyhawk is already running with the data folder " + folder.path()));
            QVERIFY(!second.splash().isVisible() && !second.database().isValid());
            QCOMPARE(fileHash(folder.databasePath()), before);
            firstDialogs.answers = {true};
            first.board().close();
        }
        // The program itself, killed on a data folder of its own (named from XDG_DATA_HOME), leaves
        // its lock behind naming a process that is gone: the next copy starts all the same.
        QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", home.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        const QString lockFile = QDir(home.filePath("Tallyhawk")).filePath(kLockFileName);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QDir(TALLYHAWK_PROGRAM_DIR).filePath("tallyhawk"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lockFile), 20000);
        program.kill();
        QVERIFY(program.waitForFinished() && QFile::exists(lockFile));
        for (const QString& dataFolder : {folder.path(), home.filePath("Tallyhawk")}) {
            ScriptedDialogs dialogs;
            Application next(dataFolder, TALLYHAWK_PROGRAM_DIR, dialogs);
            QVERIFY(next.start() && dialogs.shown.empty());
        }
    }

    void aDatabaseThatCannotBeUsedStopsTheStartUntouched_data()
    {
        QTest::addColumn<QByteArray>("replacement"); // the file's new bytes; empty: keep it
        QTest::addColumn<QString>("statement");      // run on it first
        QTest::addColumn<QString>("message");        // the start of what is said
        QTest::newRow("not a database") << QByteArray(4096, 'x') << QString() << "The database file ";
        QTest::newRow("no defaults row") << QByteArray() << "DELETE FROM [Defaults]"
                                         << "The database file ";
    }

    // Start opens the database and reads the options before the board shows; when either
    // fails the program says so and ends, the board never shown and the file as it was.
    void aDatabaseThatCannotBeUsedStopsTheStartUntouched()
    {
        QFETCH(QByteArray, replacement);
        QFETCH(QString, statement);
        QFETCH(QString, message);
        TempDataFolder folder;
        if (!replacement.isEmpty())
            QVERIFY(writeFile(folder.databasePath(), replacement));
        if (!statement.isEmpty())
            QVERIFY(runStatements(folder.databasePath(), {statement}));
        const QByteArray before = fileHash(folder.databasePath());
        ScriptedDialogs dialogs;
        Application program(folder.path(), TALLYHAWK_PROGRAM_DIR, dialogs);
        QVERIFY(program.start());
        QSignalSpy finished(&program, &Application::finished);
        QTest::mouseClick(program.splash().startButton, Qt::LeftButton);
        QVERIFY(finished.count() == 1 && finished.at(0).at(0).toInt() == 1);
        QVERIFY(!program.board().isVisible());
        QVERIFY2(dialogs.messages().size() == 1 && dialogs.messages().first().startsWith(message),
                 qPrintable(dialogs.messages().join('|')));
        QCOMPARE(fileHash(folder.databasePath()), before);
    }

    void aReadOnlyDatabaseIsSaidOnceAndNothingIsSaved_data()
    {
        QTest::addColumn<bool>("markFolder");
        QTest::newRow("read-only file") << false;
        QTest::newRow("read-only folder") << true;
    }

    void aReadOnlyDatabaseIsSaidOnceAndNothingIsSaved()
    {
        QFETCH(bool, markFolder);
        TempDataFolder folder;
        const QByteArray before = fileHash(folder.databasePath());
        ReadOnlyMark mark(markFolder ? folder.path() : folder.databasePath());
        ScriptedDialogs dialogs;
        Application program(folder.path(), TALLYHAWK_PROGRAM_DIR, dialogs);
        QVERIFY(program.start());
        QTest::mouseClick(program.splash().startButton, Qt::LeftButton);
        QCOMPARE(program.board().gameListCombo->count(), 17);
        QVERIFY2(dialogs.messages().size() == 1 &&
                     dialogs.messages().first().contains("changes will not be saved"),
                 qPrintable(dialogs.messages().join('|')));
        dialogs.answers = {true};
        program.board().close();
        QCOMPARE(dialogs.messages().size(), 1); // the quit says nothing more
        QCOMPARE(fileHash(folder.databasePath()), before);
        QCOMPARE(QFile::exists(QDir(folder.path()).filePath(kLockFileName)), !markFolder);
    }
};

TALLYHAWK_WINDOW_TEST_MAIN(StartupTest)
#include "test_startup.moc"
