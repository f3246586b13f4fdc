// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once

#include <QColor>
#include <QPixmap>
#include <QTableWidget>

namespace tallyhawk {

// The keno board: 9 rows of 10 cells, row 4 a thin separator. Each cell shows a text, an
// optional picture (centred, scaled to fit) and a background colour. With the focus, a frame
// shows the cell the keyboard works on.
class BoardGrid : public QTableWidget
{
    Q_OBJECT
public:
    static inline const QColor kNumberColour{0xFF, 0xFF, 0x00}; // yellow
    static inline const QColor kBoardColour{0x00, 0x00, 0x80};  // navy

    explicit BoardGrid(QWidget* parent = nullptr);

    // Every cell back to its number on navy, without a picture.
    void showNumbers();
    // Column widths, row heights and alignment, as at the board's load and after an erase.
    void applyGeometry();

    void setCellText(int row, int column, const QString& text);
    void setCellPicture(int row, int column, const QPixmap& picture);
    void setCellBackground(int row, int column, const QColor& colour);

    QString cellText(int row, int column) const;
    QPixmap cellPicture(int row, int column) const;
    QColor cellBackground(int row, int column) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // Space marks or unmarks the number under the cursor, as a click does (the arrows move
    // the cursor).
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace tallyhawk
