#pragma once

#include "uifonts.h"

#include <QComboBox>
#include <QLineEdit>

namespace tallyhawk {

// A game list: one 75-character entry per game in a fixed-pitch font, so the columns line
// up. Its text may name a game that is not listed (a saved game since deleted), so it is an
// editable box whose text the user cannot type into.
inline QComboBox* makeGameListCombo(QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName("ComboGameList");
    combo->setEditable(true);
    combo->lineEdit()->setReadOnly(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setFont(uiFont("Courier New", 10));
    combo->setMaxVisibleItems(20);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return combo;
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
