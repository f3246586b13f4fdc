// The desktop's message boxes: long questions wrap and fit the screen.

#include "engine/sim/randomness.h"
#include "gui/common/qtdialogs.h"
#include "support/windowtest.h"

#include <functional>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

using namespace tallyhawk;

namespace {

// Checks the box that the next question opens, then answers it with `answer`; the checks come
// before the answer, so a failing one is only recorded, and the box is closed all the same.
void whenTheBoxShows(QStringList* faults, const QString& name, const std::function<void(QWidget*)>& answer)
{
    QTimer::singleShot(0, [faults, name, answer] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            return faults->append(name + ": no box");
        if (!QApplication::primaryScreen()->availableGeometry().contains(box->frameGeometry()))
            faults->append(name + ": beyond the screen");
        if (!box->findChild<QLabel*>("FittedBoxText")->wordWrap())
            faults->append(name + ": unwrapped");
        for (const QPushButton* button : box->findChildren<QPushButton*>())
            if (!box->rect().contains(QRect(button->mapTo(box, QPoint(0, 0)), button->size())))
                faults->append(name + ": a button outside");
        saveScreenshot(box, name);
        answer(box);
    });
}

void click(QWidget* box, QDialogButtonBox::StandardButton which)
{
    QTest::mouseClick(box->findChild<QDialogButtonBox*>()->button(which), Qt::LeftButton);
}

} // namespace

class QtDialogsTest : public QObject
{
    Q_OBJECT
private slots:
    void questionBoxesWrapTheirTextAndFitTheScreen();
};

void QtDialogsTest::questionBoxesWrapTheirTextAndFitTheScreen()
{
    QtDialogs desktop;
    Dialogs& dialogs = desktop; // the interface, with its default titles and icons
    QStringList faults;
    // One line far wider than the screen: answered No.
    whenTheBoxShows(&faults, "box-wide-question", [](QWidget* box) { click(box, QDialogButtonBox::No); });
    QVERIFY(!dialogs.askYesNo(nullptr, QString("A question that runs on and on. ").repeated(60)));
    // The randomness test's question, answered with a number.
    whenTheBoxShows(&faults, "box-randomness-question", [](QWidget* box) {
        box->findChild<QLineEdit*>("FittedBoxAnswer")->setText("2000");
        click(box, QDialogButtonBox::Ok);
    });
    QCOMPARE(
        dialogs.input(nullptr, QString(kRandomnessPrompt).replace("\r\n", "\n"), "Randomness Test", "1000"),
        std::optional<QString>("2000"));
    // A summary taller than the screen scrolls inside its box; Esc answers No.
    QStringList lines;
    for (int i = 1; i <= 90; ++i)
        lines << QStringLiteral("Line %1 of a long summary").arg(i);
    whenTheBoxShows(&faults, "box-tall-summary", [](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
    QVERIFY(!dialogs.askYesNo(nullptr, lines.join('\n'), "Simulation Summary", Dialogs::Icon::None));
    QCOMPARE(faults, QStringList());
}

TALLYHAWK_WINDOW_TEST_MAIN(QtDialogsTest)
#include "test_qtdialogs.moc"
