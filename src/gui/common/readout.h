// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once

#include <QLineEdit>

namespace tallyhawk {

// A box that shows a value and takes no input: no frame, no caret, no focus, and its text
// always from its start. A text wider than the box is drawn in a smaller font (down to
// kSmallestPoints), so that the whole of it shows. It stays a QLineEdit for the code that
// reads and writes it (text(), setText(), textChanged).
class Readout : public QLineEdit
{
public:
    static constexpr double kSmallestPoints = 6;

    explicit Readout(QWidget* parent = nullptr, const QString& text = {});

    // A meter: the text in `text` on a `background` panel. Without it, the box is see-through
    // and its text is drawn in the window's text colour, as a label is.
    void setColours(const QColor& background, const QColor& text);

    // The font the text is drawn in, and whether the whole text fits the box in it.
    QFont shownFont() const;
    bool showsWholeText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect textArea() const;
};

} // namespace tallyhawk
