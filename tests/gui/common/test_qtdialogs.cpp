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

// What a box looked like while it showed.
struct Seen
{
    bool shown = false;
    bool fitsTheScreen = false;
    bool wraps = false;
    bool buttonsInside = true;
};

// Looks at the box that the next question opens, then answers it with `answer`: the checks
// come after the answer, so that a failing one cannot leave the box open.
void whenTheBoxShows(Seen* seen, const QString& name, const std::function<void(QWidget*)>& answer)
{
    QTimer::singleShot(0, [seen, name, answer] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            return;
        seen->shown = true;
        seen->fitsTheScreen =
            QApplication::primaryScreen()->availableGeometry().contains(box->frameGeometry());
        seen->wraps = box->findChild<QLabel*>("FittedBoxText")->wordWrap();
        for (const QPushButton* button : box->findChildren<QPushButton*>())
            seen->buttonsInside =
                seen->buttonsInside &&
                box->rect().contains(QRect(button->mapTo(box, QPoint(0, 0)), button->size()));
        saveScreenshot(box, name);
        answer(box);
    });
}

void press(QWidget* box, QDialogButtonBox::StandardButton which)
{
    QTest::mouseClick(box->findChild<QDialogButtonBox*>()->button(which), Qt::LeftButton);
}

void verifyFitted(const Seen& seen)
{
    QVERIFY(seen.shown);
    QVERIFY(seen.fitsTheScreen);
    QVERIFY(seen.wraps);
    QVERIFY(seen.buttonsInside);
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
    // One line far wider than the screen: answered No.
    Seen wide, prompt, tall;
    whenTheBoxShows(&wide, "box-wide-question", [](QWidget* box) { press(box, QDialogButtonBox::No); });
    QVERIFY(!dialogs.askYesNo(nullptr, QString("A question that runs on and on. ").repeated(60)));
    verifyFitted(wide);

    // The randomness test's question, answered with a number.
    whenTheBoxShows(&prompt, "box-randomness-question", [](QWidget* box) {
        auto* answer = box->findChild<QLineEdit*>("FittedBoxAnswer");
        if (answer && answer->text() == "1000")
            answer->setText("2000");
        press(box, QDialogButtonBox::Ok);
    });
    QCOMPARE(
        dialogs.input(nullptr, QString(kRandomnessPrompt).replace("\r\n", "\n"), "Randomness Test", "1000"),
        std::optional<QString>("2000"));
    verifyFitted(prompt);

    // A summary taller than the screen scrolls inside its box; Esc answers No.
    QStringList lines;
    for (int i = 1; i <= 90; ++i)
        lines << QStringLiteral("Line %1 of a long summary").arg(i);
    whenTheBoxShows(&tall, "box-tall-summary", [](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
    QVERIFY(!dialogs.askYesNo(nullptr, lines.join('\n'), "Simulation Summary", Dialogs::Icon::None));
    verifyFitted(tall);
}

TALLYHAWK_WINDOW_TEST_MAIN(QtDialogsTest)
#include "test_qtdialogs.moc"
