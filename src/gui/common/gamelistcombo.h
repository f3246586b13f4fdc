#pragma once

#include "uifonts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QWheelEvent>

namespace tallyhawk {

// A game list: one 75-character entry per game in a fixed-pitch font, so the columns line
// up. Its text may name a game that is not listed (a saved game since deleted), so it is an
// editable box whose text the user cannot type into.
//
// Choosing a game erases the ticket, so the list changes only when the user means it: by a
// click, or by a key while it has the focus. A wheel turned over it scrolls the window
// instead.
class GameListCombo : public QComboBox
{
public:
    explicit GameListCombo(QWidget* parent) : QComboBox(parent)
    {
        setObjectName("ComboGameList");
        setEditable(true);
        lineEdit()->setReadOnly(true);
        setInsertPolicy(QComboBox::NoInsert);
        setFont(uiFont("Courier New", 10));
        setMaxVisibleItems(20);
        setSizeAdjustPolicy(QComboBox::AdjustToContents);
        setFocusPolicy(Qt::StrongFocus);
        // The entry shows from its start (a line edit shows where its cursor is).
        connect(this, &QComboBox::currentTextChanged, this, [this] { lineEdit()->setCursorPosition(0); });
    }

protected:
    void wheelEvent(QWheelEvent* event) override { event->ignore(); }
};

inline QComboBox* makeGameListCombo(QWidget* parent)
{
    return new GameListCombo(parent);
}

} // namespace tallyhawk
