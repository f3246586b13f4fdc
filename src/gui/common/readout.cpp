// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "readout.h"

#include <algorithm>
#include <QFontMetricsF>
#include <QPainter>

namespace tallyhawk {

namespace {

// Room between the box's edge and its text, as a line edit keeps.
constexpr int kTextMargin = 3;

} // namespace

Readout::Readout(QWidget* parent, const QString& text) : QLineEdit(text, parent)
{
    setReadOnly(true);
    setFrame(false);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    setContextMenuPolicy(Qt::NoContextMenu);
}

void Readout::setColours(const QColor& background, const QColor& text)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Base, background);
    colours.setColor(QPalette::Text, text);
    setPalette(colours);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

QRect Readout::textArea() const
{
    return contentsRect().adjusted(kTextMargin, 0, -kTextMargin, 0);
}

QFont Readout::shownFont() const
{
    QFont shown = font();
    const double room = textArea().width();
    const QString shownText = text();
    // Half a point at a time: a text that fits stays in the box's own font.
    while (shown.pointSizeF() > kSmallestPoints && QFontMetricsF(shown).horizontalAdvance(shownText) > room)
        shown.setPointSizeF(std::max(kSmallestPoints, shown.pointSizeF() - 0.5));
    return shown;
}

bool Readout::showsWholeText() const
{
    return QFontMetricsF(shownFont()).horizontalAdvance(text()) <= textArea().width();
}

void Readout::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFont shown = shownFont();
    painter.setFont(shown);
    painter.setPen(palette().color(autoFillBackground() ? QPalette::Text : QPalette::WindowText));
    Qt::Alignment placement = (alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
    // A text that does not fit even in the smallest font keeps its start in view.
    if (QFontMetricsF(shown).horizontalAdvance(text()) > textArea().width())
        placement = Qt::AlignLeft | Qt::AlignVCenter;
    painter.drawText(textArea(), static_cast<int>(placement), text());
}

} // namespace tallyhawk
