// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The windows' fonts by their classic names, with the metric-compatible Liberation fonts
// as fallbacks where the classic ones are not installed.

#include <QFont>

namespace tallyhawk {

inline QFont uiFont(const char* family, int points, bool bold = false)
{
    QFont font;
    const QString name = QString::fromLatin1(family);
    if (name == "Courier New")
        font.setFamilies({name, "Liberation Mono", "DejaVu Sans Mono", "Monospace"});
    else if (name == "Times New Roman")
        font.setFamilies({name, "Liberation Serif", "DejaVu Serif", "Serif"});
    else if (name == "MS Sans Serif")
        font.setFamilies({name, "Microsoft Sans Serif", "Arial", "Liberation Sans", "DejaVu Sans"});
    else
        font.setFamilies({name, "Liberation Sans", "DejaVu Sans", "Sans Serif"});
    if (name == "Courier New")
        font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

} // namespace tallyhawk
