// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "boardgrid.h"

#include "engine/common/numberforms.h"
#include "engine/play/boardgeometry.h"
#include "gui/common/uifonts.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace tallyhawk {

namespace {

// Sizes in pixels at 96 dots per inch: 840 twips a column, 600 a row, 240 the separator.
constexpr int kColumnWidth = 56;
constexpr int kRowHeight = 40;
constexpr int kSeparatorHeight = 16;
// The keyboard cursor's frame.
constexpr int kCursorWidth = 3;

// Paints a cell as the board shows it: background, then the picture, then the text.
class BoardCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        const QRect cell = option.rect;
        painter->fillRect(cell, index.data(Qt::BackgroundRole).value<QBrush>());
        const QPixmap picture = index.data(Qt::DecorationRole).value<QPixmap>();
        if (!picture.isNull()) {
            const QRect area = cell.adjusted(2, 2, -2, -2);
            // Scaled in the screen's pixels, so that a display scaled up keeps the pictures sharp.
            const qreal ratio = painter->device()->devicePixelRatioF();
            QPixmap scaled =
                picture.scaled(area.size() * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            scaled.setDevicePixelRatio(ratio);
            const QSize shown = scaled.deviceIndependentSize().toSize();
            painter->drawPixmap(area.x() + (area.width() - shown.width()) / 2,
                                area.y() + (area.height() - shown.height()) / 2, scaled);
        }
        painter->setFont(option.font);
        painter->setPen(index.data(Qt::ForegroundRole).value<QBrush>().color());
        painter->drawText(cell, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(QPen(Qt::white, kCursorWidth));
            painter->setBrush(Qt::NoBrush);
            const int inset = kCursorWidth / 2 + 1;
            painter->drawRect(cell.adjusted(inset, inset, -inset - 1, -inset - 1));
        }
        painter->restore();
    }
};

} // namespace

BoardGrid::BoardGrid(QWidget* parent) : QTableWidget(kBoardRows, kBoardColumns, parent)
{
    setObjectName("MSFlexBoard");
    setItemDelegate(new BoardCellDelegate(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::StrongFocus);
    setTabKeyNavigation(false); // Tab leaves the board for the next control
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFont(uiFont("Times New Roman", 18));
    setGridStyle(Qt::SolidLine);
    setStyleSheet("QTableWidget { background: #000080; gridline-color: #4040a0; }");
    for (int row = 0; row < kBoardRows; ++row) {
        for (int column = 0; column < kBoardColumns; ++column) {
            auto* item = new QTableWidgetItem;
            // The separator row holds no numbers: the keyboard's cursor passes over it.
            item->setFlags(row == kSeparatorRow ? Qt::NoItemFlags : Qt::ItemIsEnabled);
            item->setForeground(kNumberColour);
            item->setTextAlignment(Qt::AlignCenter);
            setItem(row, column, item);
        }
    }
    showNumbers();
    applyGeometry();
}

void BoardGrid::showNumbers()
{
    for (int row = 0; row < kBoardRows; ++row) {
        for (int column = 0; column < kBoardColumns; ++column) {
            const int number = NumberOfCell(row, column);
            setCellText(row, column, number ? QString::fromStdString(PlainForm(number)) : QString());
            setCellPicture(row, column, {});
            setCellBackground(row, column, kBoardColour);
        }
    }
}

void BoardGrid::applyGeometry()
{
    // The cells grow with the window; the separator keeps its thin height.
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    for (int column = 0; column < kBoardColumns; ++column) {
        horizontalHeader()->setSectionResizeMode(column, QHeaderView::Stretch);
        item(0, column)->setTextAlignment(Qt::AlignCenter);
    }
    for (int row = 0; row < kBoardRows; ++row) {
        if (row == kSeparatorRow) {
            verticalHeader()->setSectionResizeMode(row, QHeaderView::Fixed);
            verticalHeader()->resizeSection(row, kSeparatorHeight);
        } else {
            verticalHeader()->setSectionResizeMode(row, QHeaderView::Stretch);
        }
    }
    setVisible(true);
}

void BoardGrid::setCellText(int row, int column, const QString& text)
{
    item(row, column)->setText(text);
}

void BoardGrid::setCellPicture(int row, int column, const QPixmap& picture)
{
    item(row, column)->setData(Qt::DecorationRole, picture.isNull() ? QVariant() : QVariant(picture));
}

void BoardGrid::setCellBackground(int row, int column, const QColor& colour)
{
    item(row, column)->setBackground(colour);
}

QString BoardGrid::cellText(int row, int column) const
{
    return item(row, column)->text();
}

QPixmap BoardGrid::cellPicture(int row, int column) const
{
    return item(row, column)->data(Qt::DecorationRole).value<QPixmap>();
}

QColor BoardGrid::cellBackground(int row, int column) const
{
    return item(row, column)->background().color();
}

QSize BoardGrid::sizeHint() const
{
    const int frame = 2 * frameWidth();
    return {kBoardColumns * kColumnWidth + frame, (kBoardRows - 1) * kRowHeight + kSeparatorHeight + frame};
}

QSize BoardGrid::minimumSizeHint() const
{
    return sizeHint() * 3 / 4;
}

void BoardGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && currentIndex().isValid()) {
        emit cellClicked(currentRow(), currentColumn());
        return;
    }
    QTableWidget::keyPressEvent(event);
}

} // namespace tallyhawk
