// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "screenfit.h"

#include <algorithm>
#include <QApplication>
#include <QLayout>
#include <QMargins>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tallyhawk {

namespace {

// The window manager's frame is not known before a window first shows: room is kept for a
// usual one (a title bar and thin borders).
constexpr QMargins kUsualFrame(8, 32, 8, 8);

constexpr char kScrollAreaName[] = "windowScrollArea";

QMargins frameOf(const QWidget* window)
{
    if (window->isVisible()) {
        const QRect outer = window->frameGeometry();
        const QRect inner = window->geometry();
        const QMargins known(inner.left() - outer.left(), inner.top() - outer.top(),
                             outer.right() - inner.right(), outer.bottom() - inner.bottom());
        if (!known.isNull())
            return known;
    }
    return kUsualFrame;
}

// The least of `value` and `highest`, then the most of that and `lowest`: a window larger
// than the screen keeps its top-left corner on it.
int within(int value, int lowest, int highest)
{
    return std::max(lowest, std::min(value, highest));
}

} // namespace

QScrollArea* SetScrollingLayout(QWidget* window, QLayout* content)
{
    auto* inner = new QWidget;
    inner->setObjectName("scrolledContent");
    inner->setLayout(content);
    auto* scroll = new QScrollArea(window);
    scroll->setObjectName(kScrollAreaName);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(inner);
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    // Tab scrolls the control it reaches into view by itself; a click, a shortcut or the window
    // moving the focus does not.
    QObject::connect(qApp, &QApplication::focusChanged, scroll, [scroll](QWidget*, QWidget* now) {
        if (now && scroll->widget() && scroll->widget()->isAncestorOf(now))
            scroll->ensureWidgetVisible(now);
    });
    return scroll;
}

void PlaceOnScreen(QWidget* window, const QWidget* owner)
{
    const QScreen* screen = owner ? owner->screen() : window->screen();
    if (!screen)
        screen = QApplication::primaryScreen();
    if (screen)
        PlaceWithin(window, screen->availableGeometry(), owner);
}

void PlaceWithin(QWidget* window, const QRect& available, const QWidget* owner)
{
    // A window opens at least as large as its content needs, where the screen allows: the
    // scroll area would otherwise let it open smaller, scrolling on a screen with room to spare.
    QSize size = window->size();
    if (const auto* scroll = window->findChild<QScrollArea*>(kScrollAreaName, Qt::FindDirectChildrenOnly);
        scroll && scroll->widget()) {
        const QWidget* content = scroll->widget();
        size = size.expandedTo(content->minimumSizeHint());
        // Wrapped text needs more height than its least: as much as it takes at this width.
        if (content->hasHeightForWidth())
            size.setHeight(std::max(size.height(), content->heightForWidth(size.width())));
    }
    const QMargins frame = frameOf(window);
    window->resize(size.boundedTo(available.marginsRemoved(frame).size()));
    const QSize outer = window->size().grownBy(frame);

    int x = available.left() + (available.width() - outer.width()) / 2;
    int y = available.top() + (available.height() - outer.height()) / 2;
    if (owner && owner->isVisible()) {
        const QRect beside = owner->frameGeometry();
        const int roomRight = available.right() - beside.right();
        const int roomLeft = beside.left() - available.left();
        if (outer.width() <= roomRight)
            x = beside.right() + 1;
        else if (outer.width() <= roomLeft)
            x = beside.left() - outer.width();
        else // over the owner, from the side with more room
            x = roomRight >= roomLeft ? available.right() + 1 - outer.width() : available.left();
        y = beside.top();
    }
    window->move(within(x, available.left(), available.right() + 1 - outer.width()),
                 within(y, available.top(), available.bottom() + 1 - outer.height()));
}

} // namespace tallyhawk
