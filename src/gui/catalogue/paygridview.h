// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once

#include <QTableView>

namespace tallyhawk {

class PayGridModel;

// A grid that edits as data grids do: typing starts an edit; Tab and Shift+Tab move to the
// next and the previous cell, Enter and Shift+Enter to the cell below and above, the arrows to
// the neighbouring cell (Left and Right leave an edit only at the start or the end of its
// text); each move keeps what was typed. Delete blanks the current cell. Tab past the last
// cell, or Shift+Tab before the first, goes on to the window's next or previous control.
class PayGridView : public QTableView
{
    Q_OBJECT
public:
    PayGridView(PayGridModel* model, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    void moveBy(int rows, int columns);
};

} // namespace tallyhawk
