#pragma once
// Typing into a window as a user does: keys go to whatever has the focus, the grid or the
// cell being edited in it. The window must be active.

#include <QApplication>
#include <QTableView>
#include <QTest>

namespace tallyhawk {

inline void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = QApplication::focusWidget();
    QVERIFY2(target, "nothing has the focus");
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

inline void type(const QString& text)
{
    for (const QChar c : text) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY2(target, "nothing has the focus");
        QTest::keyClick(target, c.toLatin1());
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
