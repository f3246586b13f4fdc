// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// The desktop's message boxes: a question far wider or taller than the screen wraps and fits it,
// and a stray key answers a question with its default button, the safe answer where one is named.

#include "gui/common/qtdialogs.h"
#include "support/windowtest.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

using namespace tallyhawk;

// When the next box shows, notes the text of the button that has the focus and answers as a user
// does: with a key into the focused widget, or a click on the button named `clicked`. A box the
// answer leaves open is closed and noted as "still open", so that the test fails instead of hanging.
void answerNextBox(QString* focused, int key, const QString& clicked = {})
{
    QTimer::singleShot(0, [focused, key, clicked] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            return;
        QWidget* target = box->focusWidget() ? box->focusWidget() : box;
        if (const auto* button = qobject_cast<QPushButton*>(target))
            *focused = button->text().remove('&');
        if (clicked.isEmpty())
            QTest::keyClick(target, Qt::Key(key));
        for (QPushButton* button : box->findChildren<QPushButton*>())
            if (!clicked.isEmpty() && button->text() == clicked)
                QTest::mouseClick(button, Qt::LeftButton);
        if (box->isVisible()) {
            *focused = "still open";
            box->close();
        }
    });
}

class QtDialogsTest : public QObject
{
    Q_OBJECT
private slots:
    void questionBoxesWrapTheirTextAndFitTheScreen()
    {
        QtDialogs desktop;
        Dialogs& dialogs = desktop; // the interface, with its default titles and icons
        const QString wide = QString("A question that runs on and on. ").repeated(60);
        QStringList tall;
        for (int i = 1; i <= 90; ++i)
            tall << QStringLiteral("Line %1 of a long summary").arg(i);
        for (const QString& question : {wide, tall.join('\n')}) {
            // The box is looked at while it shows, then answered with Esc (No).
            QStringList faults;
            QTimer::singleShot(0, [&faults] {
                QWidget* box = QApplication::activeModalWidget();
                if (!box)
                    return faults.append("no box");
                if (!QApplication::primaryScreen()->availableGeometry().contains(box->frameGeometry()))
                    faults << "beyond the screen";
                if (!box->findChild<QLabel*>("textLabel")->wordWrap())
                    faults << "unwrapped";
                for (const QPushButton* button : box->findChildren<QPushButton*>())
                    if (!box->rect().contains(QRect(button->mapTo(box, QPoint(0, 0)), button->size())))
                        faults << "a button outside";
                saveScreenshot(box, faults.isEmpty() ? "box-question" : "box-question-failed");
                QTest::keyClick(box, Qt::Key_Escape);
            });
            QVERIFY(!dialogs.askYesNo(nullptr, question, "Simulation Summary", Dialogs::Icon::None));
            QCOMPARE(faults, QStringList());
        }
    }

    void aStrayKeyGivesTheDefaultAnswer_data()
    {
        QTest::addColumn<bool>("defaultIsNo");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("expectedYes");
        QTest::newRow("Enter, default No") << true << int(Qt::Key_Return) << false;
        QTest::newRow("keypad Enter, default No") << true << int(Qt::Key_Enter) << false;
        QTest::newRow("Space, default No") << true << int(Qt::Key_Space) << false;
        QTest::newRow("Escape, default No") << true << int(Qt::Key_Escape) << false;
        QTest::newRow("Enter, default Yes") << false << int(Qt::Key_Return) << true;
        QTest::newRow("Space, default Yes") << false << int(Qt::Key_Space) << true;
        QTest::newRow("Escape, default Yes") << false << int(Qt::Key_Escape) << false;
    }

    void aStrayKeyGivesTheDefaultAnswer()
    {
        QFETCH(bool, defaultIsNo);
        QFETCH(int, key);
        QFETCH(bool, expectedYes);
        QtDialogs desktop;
        QString focused;
        answerNextBox(&focused, key);
        const bool yes = desktop.askYesNo(nullptr, "Replace the game?", "Tallyhawk", Dialogs::Icon::Question,
                                          defaultIsNo ? Dialogs::Default::No : Dialogs::Default::Yes);
        QCOMPARE(focused, defaultIsNo ? QString("No") : QString("Yes"));
        QCOMPARE(yes, expectedYes);
    }

    void theEditQuestionGoesBackOnAStrayKeyAndNamesItsAnswers_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("clicked"); // a button clicked instead of a key, when named
        QTest::addColumn<int>("expected");
        QTest::newRow("Enter") << int(Qt::Key_Return) << QString() << int(Dialogs::UnlockedEdits::GoBack);
        QTest::newRow("Space") << int(Qt::Key_Space) << QString() << int(Dialogs::UnlockedEdits::GoBack);
        QTest::newRow("Escape") << int(Qt::Key_Escape) << QString() << int(Dialogs::UnlockedEdits::GoBack);
        QTest::newRow("Lock") << 0 << "Lock" << int(Dialogs::UnlockedEdits::Lock);
        QTest::newRow("Drop") << 0 << "Drop" << int(Dialogs::UnlockedEdits::Drop);
    }

    void theEditQuestionGoesBackOnAStrayKeyAndNamesItsAnswers()
    {
        QFETCH(int, key);
        QFETCH(QString, clicked);
        QFETCH(int, expected);
        QtDialogs desktop;
        QString focused;
        answerNextBox(&focused, key, clicked);
        const Dialogs::UnlockedEdits answer =
            desktop.askLockDropOrGoBack(nullptr, "The pays you typed are not locked yet.", "Tallyhawk");
        QCOMPARE(focused, QString("Go Back"));
        QCOMPARE(int(answer), expected);
    }
};

TALLYHAWK_WINDOW_TEST_MAIN(QtDialogsTest)
#include "test_qtdialogs.moc"
