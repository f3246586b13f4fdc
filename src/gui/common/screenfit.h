// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// Windows that fit the screen they open on: their content scrolls when the screen is smaller
// than they are, and they open wholly on it, centred or beside the window they belong to.

class QLayout;
class QRect;
class QScrollArea;
class QWidget;

namespace tallyhawk {

// Lays `content` out in `window` inside a frameless scroll area, in place of a layout of the
// window's own: the window may then shrink below its content's size, which scrolls, and a
// control the keyboard moves to scrolls into view.
QScrollArea* SetScrollingLayout(QWidget* window, QLayout* content);

// Makes `window` no larger than its screen's available area (room kept for the window
// manager's frame) and moves it wholly onto it: beside `owner` when there is one (to its
// right, else to its left, else where it overlaps least), centred otherwise.
void PlaceOnScreen(QWidget* window, const QWidget* owner = nullptr);

// The same within `available`, the area of the screen free for windows.
void PlaceWithin(QWidget* window, const QRect& available, const QWidget* owner = nullptr);

} // namespace tallyhawk
