// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "paygridview.h"

#include "paygridmodel.h"

#include <functional>
#include <optional>
#include <utility>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace tallyhawk {

namespace {

struct Step
{
    int rows = 0;
    int columns = 0;
};

// Where a key moves to, or nothing for a key that stays in the cell. An editor keeps Left and
// Right for its own text, except at the text's start and end.
std::optional<Step> stepOf(const QKeyEvent* key, const QLineEdit* editor)
{
    const bool shift = key->modifiers() & Qt::ShiftModifier;
    const Qt::KeyboardModifiers others = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (others != Qt::NoModifier)
        return std::nullopt;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Step{shift ? -1 : 1, 0};
    case Qt::Key_Up:
        return shift ? std::nullopt : std::optional<Step>(Step{-1, 0});
    case Qt::Key_Down:
        return shift ? std::nullopt : std::optional<Step>(Step{1, 0});
    case Qt::Key_Left:
        if (shift || (editor && (editor->cursorPosition() > 0 || editor->hasSelectedText())))
            return std::nullopt;
        return Step{0, -1};
    case Qt::Key_Right:
        if (shift ||
            (editor && (editor->cursorPosition() < editor->text().size() || editor->hasSelectedText())))
            return std::nullopt;
        return Step{0, 1};
    default:
        return std::nullopt;
    }
}

// The editor's keys: a move commits the typed text, closes the editor and moves; Tab, Shift+Tab
// and Escape keep Qt's meaning (commit and edit the next cell; drop the typing).
class CellDelegate : public QStyledItemDelegate
{
public:
    CellDelegate(PayGridView* view, std::function<void(Step)> move) : QStyledItemDelegate(view), m_move(move)
    {
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* editor = qobject_cast<QLineEdit*>(object);
        if (editor && event->type() == QEvent::KeyPress) {
            if (const auto step = stepOf(static_cast<QKeyEvent*>(event), editor)) {
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                m_move(*step);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    std::function<void(Step)> m_move;
};

} // namespace

PayGridView::PayGridView(PayGridModel* model, QWidget* parent) : QTableView(parent)
{
    setModel(model);
    setItemDelegate(new CellDelegate(this, [this](Step step) { moveBy(step.rows, step.columns); }));
    verticalHeader()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(true);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
}

void PayGridView::keyPressEvent(QKeyEvent* event)
{
    if (state() != EditingState) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            if (const auto step = stepOf(event, nullptr)) {
                moveBy(step->rows, step->columns);
                return;
            }
        }
        if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
            model()->setData(currentIndex(), QString());
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

QModelIndex PayGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // The table wraps Tab round to its first cell, which would keep the keyboard in the grid
    // for good: a move that wraps leaves it instead.
    const QModelIndex from = currentIndex();
    const QModelIndex to = QTableView::moveCursor(action, modifiers);
    const auto order = [](const QModelIndex& index) { return std::pair(index.row(), index.column()); };
    const bool wrapped = (action == MoveNext && order(to) <= order(from)) ||
                         (action == MovePrevious && order(to) >= order(from));
    if (from.isValid() && to.isValid() && wrapped)
        return {};
    return to;
}

void PayGridView::moveBy(int rows, int columns)
{
    const QModelIndex current = currentIndex();
    const QModelIndex next = model()->index(current.row() + rows, current.column() + columns);
    if (next.isValid())
        setCurrentIndex(next);
}

} // namespace tallyhawk
