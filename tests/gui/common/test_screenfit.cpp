// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// Every window on a small screen: it opens wholly on the screen, and every button it shows is
// reached with Tab and is then in view. The binary runs once per screen size, named by
// TALLYHAWK_TEST_SCREEN (640x480 unless set), which the offscreen platform is given as its
// one screen, and once more with QT_SCALE_FACTOR=2. Also: the board's pictures sharp at any
// scale, the charts beside their window and their axes, and the options dialog's reset, Cancel
// and seed note.

#include "engine/play/boardgeometry.h"
#include "gui/common/qtdialogs.h"
#include "gui/common/screenfit.h"
#include "gui/common/splashwindow.h"
#include "gui/options/optionsdialog.h"
#include "gui/planner/sessionplannerwindow.h"
#include "gui/sim/chartswindow.h"
#include "support/boardrun.h"
#include "support/windowtest.h"

#include <cmath>
#include <QAbstractButton>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineSeries>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryFile>
#include <QTimer>
#include <QValueAxis>

using namespace tallyhawk;

namespace {

// Far more Tab presses than any window has stops (the board's 80 numbers and the catalogue's
// cells included): a button not reached by then cannot be reached.
constexpr int kMostTabs = 1000;

QString nameOf(const QWidget* widget)
{
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    return widget->objectName().isEmpty() && button ? button->text() : widget->objectName();
}

QRect globalRect(const QWidget* widget)
{
    return {widget->mapToGlobal(QPoint(0, 0)), widget->size()};
}

// What keeps `window` from fitting its screen: the window beyond the screen's free area, a
// button that Tab does not reach, or one that Tab reaches but leaves out of view.
QStringList faultsOnScreen(QWidget* window)
{
    QStringList faults;
    const QRect available = window->screen()->availableGeometry();
    if (!available.contains(window->frameGeometry()))
        faults << QStringLiteral("%1 at %2,%3 %4x%5 runs off the screen")
                      .arg(window->objectName())
                      .arg(window->frameGeometry().x())
                      .arg(window->frameGeometry().y())
                      .arg(window->frameGeometry().width())
                      .arg(window->frameGeometry().height());
    QList<QWidget*> waiting;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (button->window() == window && button->isVisibleTo(window) && button->isEnabled() &&
            !button->inherits("QToolButton")) // the scroll bars' and tables' own
            waiting << button;
    window->activateWindow();
    QApplication::setActiveWindow(window);
    QApplication::processEvents();
    for (int tab = 0; tab < kMostTabs && !waiting.isEmpty(); ++tab) {
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused ? focused : window, Qt::Key_Tab);
        focused = QApplication::focusWidget();
        if (!focused || !waiting.contains(focused))
            continue;
        waiting.removeAll(focused);
        if (focused->visibleRegion().boundingRect() != focused->rect() ||
            !available.contains(globalRect(focused)))
            faults << nameOf(focused) + " is out of view when Tab reaches it";
    }
    for (const QWidget* button : waiting)
        faults << nameOf(button) + " is not reached by Tab";
    return faults;
}

} // namespace

#define VERIFY_FITS(window)                                                                                  \
    do {                                                                                                     \
        const QStringList faults = faultsOnScreen(window);                                                   \
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));                                           \
    } while (false)

class ScreenFitTest : public QObject, BoardFixture
{
    Q_OBJECT
private slots:
    void init() { start("[RandomSeed] = 4242"); }
    void cleanup() { end(); }

    void theSplashWindowFits()
    {
        TempDataFolder data;
        ScriptedDialogs dialogs;
        Application program(data.path(), TALLYHAWK_PROGRAM_DIR, dialogs);
        QVERIFY(program.start());
        QCOMPARE(faultsOnScreen(&program.splash()), QStringList());
        saveScreenshot(&program.splash(), shotName("splash"));
        program.splash().close();
    }

    void theBoardFits()
    {
        run->board.fitToScreen();
        VERIFY_FITS(&run->board);
        saveScreenshot(&run->board, shotName("board"));
    }

    void theBoardsPicturesStaySharpAtAnyScale()
    {
        // A marked number's picture, drawn at the screen's scale, against its file scaled once
        // straight to the screen's pixels: a picture scaled to the cell's size in points and then
        // enlarged by the display comes out blurred, far from it.
        run->ticket(1, {12});
        BoardGrid* grid = run->board.boardGrid;
        const BoardCell cell = CellOfNumber(12);
        const QImage file = grid->cellPicture(cell.row, cell.column).toImage();
        QVERIFY(!file.isNull());
        const QRect rect = grid->visualRect(grid->model()->index(cell.row, cell.column));
        const QImage shown = grid->viewport()->grab(rect).toImage().convertToFormat(QImage::Format_RGB32);
        const qreal ratio = shown.devicePixelRatio();
        const QImage sharp =
            file.scaled(shown.size() - QSize(4, 4) * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_ARGB32);
        // The least mean difference over the picture's opaque pixels, wherever it was centred.
        double least = 1e9;
        for (int dx = 0; dx + sharp.width() <= shown.width(); ++dx)
            for (int dy = 0; dy + sharp.height() <= shown.height(); ++dy) {
                double sum = 0;
                int count = 0;
                for (int x = 0; x < sharp.width(); ++x)
                    for (int y = 0; y < sharp.height(); ++y) {
                        const QRgb want = sharp.pixel(x, y), got = shown.pixel(x + dx, y + dy);
                        if (qAlpha(want) < 255)
                            continue;
                        sum += std::abs(qRed(want) - qRed(got)) + std::abs(qGreen(want) - qGreen(got)) +
                               std::abs(qBlue(want) - qBlue(got));
                        ++count;
                    }
                if (count > 0)
                    least = std::min(least, sum / count);
            }
        QVERIFY2(least < 3, qPrintable(QString::number(least)));
    }

    void theCatalogueAndAboutFit()
    {
        run->click(run->board.paysButton);
        QVERIFY(run->catalogue.isVisible());
        VERIFY_FITS(&run->catalogue);
        saveScreenshot(&run->catalogue, shotName("catalogue"));
        QTest::mouseClick(control<QPushButton>(run->catalogue, "aboutButton"), Qt::LeftButton);
        auto* about = run->catalogue.findChild<QDialog*>("aboutDialog");
        QVERIFY(about && about->isVisible());
        VERIFY_FITS(about);
        saveScreenshot(about, shotName("about"));
        // Its one button, OK, closes it from the keyboard.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(!about->isVisible());
    }

    void theSimulationAndPlannerFit()
    {
        openSimulation();
        VERIFY_FITS(&run->simulation);
        saveScreenshot(&run->simulation, shotName("simulation"));
        QTest::mouseClick(control<QPushButton>(run->simulation, "plannerButton"), Qt::LeftButton);
        QWidget& planner = run->app.planner();
        QVERIFY(planner.isVisible());
        VERIFY_FITS(&planner);
        saveScreenshot(&planner, shotName("planner"));
    }

    void theChartsOpenBesideTheSimulationOnTheScreen()
    {
        openSimulation();
        run->dialogs.inputs = {"20000"};
        run->dialogs.answers = {false};
        QTest::mouseClick(control<QPushButton>(run->simulation, "simulateButton"), Qt::LeftButton);
        run->simulation.waitForRun();
        QTest::mouseClick(control<QPushButton>(run->simulation, "chartsButton"), Qt::LeftButton);
        auto* charts = run->simulation.findChild<ChartsWindow*>("chartsWindow");
        QVERIFY(charts && charts->isVisible());
        VERIFY_FITS(charts);
        // Beside the simulation where the screen has room for both.
        const QRect simulation = run->simulation.frameGeometry(), beside = charts->frameGeometry();
        if (charts->screen()->availableGeometry().width() >= simulation.width() + beside.width())
            QVERIFY(!simulation.intersects(beside));
        saveScreenshot(charts, shotName("charts"));

        // One number style on every axis: plain decimals, the log scale's decades too. Ten of ten,
        // by hand C(20, 10) / C(80, 10) = 1.1221e-7 of the games (1.1221e-5 %), is the rarest
        // catch: the scale starts a decade below its own, at 0.000001 %, and ends at 100 %.
        const QRegularExpression fixedDecimals("^%\\.\\d+f$");
        QStringList decades;
        for (const char* name : {"sessionsChartView", "catchesChartView"})
            for (QAbstractAxis* axis : control<QChartView>(*charts, name)->chart()->axes()) {
                if (auto* labelled = qobject_cast<QCategoryAxis*>(axis); labelled && axis->isVisible())
                    decades = labelled->categoriesLabels();
                else if (const auto* value = qobject_cast<QValueAxis*>(axis); value && axis->isVisible())
                    QVERIFY2(fixedDecimals.match(value->labelFormat()).hasMatch(),
                             qPrintable(value->labelFormat()));
            }
        QCOMPARE(decades,
                 (QStringList{"0.000001", "0.00001", "0.0001", "0.001", "0.01", "0.1", "1", "10", "100"}));
        // The session histogram says its wins are gross and marks break-even at 100 credits.
        QChart* sessions = control<QChartView>(*charts, "sessionsChartView")->chart();
        QVERIFY(sessions->axes(Qt::Horizontal).first()->titleText().contains("gross"));
        QList<QPointF> breakEven;
        for (QAbstractSeries* series : sessions->series())
            if (series->name().startsWith("break-even"))
                breakEven = static_cast<QLineSeries*>(series)->points();
        QVERIFY(breakEven.size() == 2 && breakEven[0].x() == 100 && breakEven[1].x() == 100);
    }

    void theOptionsDialogFitsAndItsCancelStoresNothing()
    {
        openSimulation();
        QTest::mouseClick(control<QPushButton>(run->simulation, "optionsButton"), Qt::LeftButton);
        OptionsDialog& options = run->app.options();
        QVERIFY(options.isVisible());
        VERIFY_FITS(&options);
        saveScreenshot(&options, shotName("options"));
        // The reset is a labelled button with a tooltip of its own.
        QVERIFY(!options.resetCreditsButton->text().isEmpty() &&
                options.resetCreditsButton->toolTip().contains("Reset Credit Total") &&
                options.startupCreditsEdit->toolTip() != options.resetCreditsButton->toolTip());
        QVERIFY(control<QLabel>(options, "seedNoteLabel")->text().contains("next start"));
        // Esc with nothing changed closes quietly; with a change it says that nothing is stored.
        const QStringList before = run->dialogs.messages();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!options.isVisible() && run->dialogs.messages() == before);
        QTest::mouseClick(control<QPushButton>(run->simulation, "optionsButton"), Qt::LeftButton);
        options.seedEdit->selectAll();
        QTest::keyClicks(options.seedEdit, "99");
        QTest::keyClick(options.seedEdit, Qt::Key_Escape);
        QVERIFY(!options.isVisible());
        QCOMPARE(run->dialogs.messages().mid(before.size()),
                 QStringList{"Nothing was stored: the program options stay as they were."});
        // Reopened, the dialog shows the stored seed again; Cancel, reached by Tab, stores nothing.
        QTest::mouseClick(control<QPushButton>(run->simulation, "optionsButton"), Qt::LeftButton);
        QCOMPARE(options.seedEdit->text(), QString("4242"));
        options.soundCheckBox->click();
        options.cancelButton->setFocus();
        QTest::keyClick(options.cancelButton, Qt::Key_Space);
        QVERIFY(!options.isVisible() && run->dialogs.messages().size() == before.size() + 2);
        QTest::mouseClick(control<QPushButton>(run->simulation, "optionsButton"), Qt::LeftButton);
        QVERIFY(options.soundCheckBox->isChecked() == run->app.programOptions().soundOn);
        QTest::keyClick(options.cancelButton, Qt::Key_Space);
    }

    void aLongSummaryKeepsItsQuestionAndButtonsInView()
    {
        QStringList lines{"Session Statistics", ""};
        for (int i = 1; i <= 60; ++i)
            lines << QStringLiteral("Figure %1 of the run = %2").arg(i).arg(i * 37);
        lines << ""
              << "Do You Wish to Save or Print These Results?";
        QtDialogs desktop;
        Dialogs& dialogs = desktop; // the interface, with its default button
        openSimulation();
        QStringList faults;
        QTimer::singleShot(0, [&faults] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box)
                return faults.append("no box");
            const auto* question = box->findChild<QLabel*>("questionLabel");
            if (!question || question->text() != "Do You Wish to Save or Print These Results?")
                faults << "no question of its own";
            else if (question->visibleRegion().boundingRect() != question->rect() ||
                     !box->screen()->availableGeometry().contains(globalRect(question)))
                faults << "the question is out of view";
            if (box->findChild<QLabel*>("textLabel")->text().contains("Do You Wish"))
                faults << "the question scrolls with the figures";
            faults << faultsOnScreen(box);
            saveScreenshot(box, shotName("summary"));
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QVERIFY(
            !dialogs.askYesNo(&run->simulation, lines.join('\n'), "Simulation Summary", Dialogs::Icon::None));
        QCOMPARE(faults, QStringList());
    }

    void aWindowOpensBesideItsOwnerWhereThereIsRoom_data()
    {
        QTest::addColumn<QRect>("owner");    // the owner's frame
        QTest::addColumn<QSize>("size");     // the window's size, its frame included
        QTest::addColumn<QRect>("expected"); // where its frame goes
        const QRect screen(0, 0, 1280, 1024);
        QTest::newRow("room on the right")
            << QRect(100, 50, 600, 500) << QSize(400, 300) << QRect(700, 50, 400, 300);
        QTest::newRow("room on the left only")
            << QRect(600, 50, 600, 500) << QSize(400, 300) << QRect(200, 50, 400, 300);
        QTest::newRow("no room: over the owner, at the screen's right edge")
            << QRect(200, 50, 700, 500) << QSize(400, 300) << QRect(880, 50, 400, 300);
        QTest::newRow("too tall: moved up onto the screen")
            << QRect(100, 800, 600, 200) << QSize(400, 300) << QRect(700, 724, 400, 300);
        QTest::newRow("larger than the screen: shrunk to it")
            << QRect(100, 50, 600, 500) << QSize(1400, 1100) << screen;
    }

    void aWindowOpensBesideItsOwnerWhereThereIsRoom()
    {
        QFETCH(QRect, owner);
        QFETCH(QSize, size);
        QFETCH(QRect, expected);
        const QRect screen(0, 0, 1280, 1024);
        QWidget ownerWindow, window;
        ownerWindow.setGeometry(owner);
        ownerWindow.show();
        // The owner's frame as the test names it, whatever frame the platform draws.
        const QMargins ownerFrame = framesOf(ownerWindow);
        ownerWindow.setGeometry(owner.marginsRemoved(ownerFrame));
        window.show();
        const QMargins frame = framesOf(window);
        window.resize(size.shrunkBy(frame));
        PlaceWithin(&window, screen, &ownerWindow);
        QCOMPARE(QRect(window.pos(), window.size().grownBy(frame)), expected);
    }

private:
    static QString shotName(const QString& window)
    {
        const QScreen* screen = QApplication::primaryScreen();
        const QSize size = screen->size() * screen->devicePixelRatio();
        return QStringLiteral("%1-on-%2x%3-at-%4")
            .arg(window)
            .arg(size.width())
            .arg(size.height())
            .arg(screen->devicePixelRatio());
    }

    static QMargins framesOf(const QWidget& window)
    {
        const QRect outer = window.frameGeometry(), inner = window.geometry();
        return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                outer.bottom() - inner.bottom()};
    }

    void openSimulation()
    {
        run->ticket(1, {3, 9, 27, 33, 48, 51, 62, 70, 75, 80});
        run->click(run->board.advancedButton);
        QVERIFY(run->simulation.isVisible());
    }
};

int main(int argc, char** argv)
{
    // The offscreen platform's one screen, of the size asked for.
    // The screen's size in its own pixels; QT_SCALE_FACTOR may scale the windows on it.
    const QString size = qEnvironmentVariable("TALLYHAWK_TEST_SCREEN", "640x480");
    const QStringList sides = size.split('x');
    QJsonObject screen{{"name", "screen"},
                       {"x", 0},
                       {"y", 0},
                       {"width", sides.value(0).toInt()},
                       {"height", sides.value(1).toInt()},
                       {"logicalDpi", 96},
                       {"logicalBaseDpi", 96},
                       {"dpr", 1}};
    QTemporaryFile config;
    if (!config.open())
        qFatal("no room for the screen's description");
    config.write(QJsonDocument(QJsonObject{{"screens", QJsonArray{screen}}}).toJson());
    config.flush();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config.fileName()).toLocal8Bit());
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tallyhawk");
    const QScreen* shown = QApplication::primaryScreen();
    if (shown->size() * shown->devicePixelRatio() != QSize(sides.value(0).toInt(), sides.value(1).toInt()))
        qFatal("the offscreen platform did not take the screen size %s", qPrintable(size));
    ScreenFitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_screenfit.moc"
