// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// Shared set-up of the window tests: the offscreen platform, set before the application exists
// (test discovery runs the binaries too); a window as a person sees it; typing as a user does.

#include <QApplication>
#include <QDir>
#include <QTableView>
#include <QTest>
#include <QWidget>

namespace tallyhawk {

// With TALLYHAWK_SCREENSHOTS=folder, saves what a window looks like, for a person to check.
inline void saveScreenshot(QWidget* window, const QString& name)
{
    const QString folder = qEnvironmentVariable("TALLYHAWK_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    // Charts lay themselves out again on a timer after a redraw; a grab at once shows the axes
    // of both drawings over each other.
    QTest::qWait(300);
    window->grab().save(QDir(folder).filePath(name + ".png"));
}

// A window's control by its object name. A name the window lacks stops the tests: they were
// written for another window.
template <typename T> T* control(const QObject& window, const char* name)
{
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("%s has no %s named %s", qPrintable(window.objectName()), T::staticMetaObject.className(),
               name);
    return found;
}

// Keys go to whatever has the focus, a grid or the cell being edited in it; the window must be
// active.
inline void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = QApplication::focusWidget();
    QVERIFY2(target, "nothing has the focus");
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

inline void type(const QString& text)
{
    for (const QChar c : text) {
        QVERIFY2(QApplication::focusWidget(), "nothing has the focus");
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
}

// Makes a cell current with a click, as a user picks it.
inline void clickCell(QTableView* grid, int row, int column)
{
    const QModelIndex index = grid->model()->index(row, column);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
    QCOMPARE(grid->currentIndex(), index);
}

} // namespace tallyhawk

#define TALLYHAWK_WINDOW_TEST_MAIN(TestClass)                                                                \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                             \
        QApplication app(argc, argv);                                                                        \
        QApplication::setApplicationName("Tallyhawk");                                                       \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
