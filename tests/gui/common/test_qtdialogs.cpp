// The desktop's message boxes: a question far wider or taller than the screen wraps and fits it.

#include "gui/common/qtdialogs.h"
#include "support/windowtest.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

using namespace tallyhawk;

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
};

TALLYHAWK_WINDOW_TEST_MAIN(QtDialogsTest)
#include "test_qtdialogs.moc"
