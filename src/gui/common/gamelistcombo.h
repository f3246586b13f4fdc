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

// Shows an entry in a game list: as its current item when it is listed, so that the open list
// highlights it; otherwise as its text alone.
inline void showGameListEntry(QComboBox* combo, const QString& entry)
{
    const int index = combo->findText(entry);
    combo->setCurrentIndex(index);
    if (index < 0)
        combo->setEditText(entry);
}

} // namespace tallyhawk
