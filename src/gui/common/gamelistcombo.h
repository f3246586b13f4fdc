// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once

#include "db/paytable.h"
#include "engine/common/gamekey.h"
#include "uifonts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QVariant>
#include <QWheelEvent>
#include <vector>

// A list item carries its game's key (Qt::UserRole): the text shown is never read back.
Q_DECLARE_METATYPE(tallyhawk::GameKey)

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

// Fills a game list: each item shows its game's list entry (a part too long for its column
// cut with an ellipsis) and carries the key as stored.
inline void fillGameList(QComboBox* combo, const std::vector<GameKey>& games)
{
    combo->clear();
    for (const GameKey& key : games)
        combo->addItem(GameListText(key), QVariant::fromValue(key));
}

// The keys of a game list's items, in its order.
inline std::vector<GameKey> gameListKeys(const QComboBox* combo)
{
    std::vector<GameKey> keys;
    for (int i = 0; i < combo->count(); ++i)
        keys.push_back(combo->itemData(i).value<GameKey>());
    return keys;
}

// The item of the game: the one spelt as the key if there is one, else the first that names the
// same game (SameGameKey); -1 when the game is not listed.
inline int findGame(const QComboBox* combo, const GameKey& key)
{
    int same = -1;
    for (int i = 0; i < combo->count(); ++i) {
        const GameKey listed = combo->itemData(i).value<GameKey>();
        if (listed == key)
            return i;
        if (same < 0 && SameGameKey(listed, key))
            same = i;
    }
    return same;
}

// The key of the game list's current item; an empty key when its text names no listed game.
inline GameKey currentGameKey(const QComboBox* combo)
{
    return combo->currentIndex() < 0 ? GameKey{} : combo->currentData().value<GameKey>();
}

// Shows a game in a game list: as its current item when it is listed, so that the open list
// highlights it; otherwise as its list entry alone.
inline void showGame(QComboBox* combo, const GameKey& key)
{
    const int index = findGame(combo, key);
    combo->setCurrentIndex(index);
    if (index < 0)
        combo->setEditText(key == GameKey{} ? QString() : GameListText(key));
}

} // namespace tallyhawk
