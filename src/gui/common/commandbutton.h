// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The windows' command buttons: a name tests find them by, the program's caption font and the
// height each window gives its row of buttons.

#include "uifonts.h"

#include <QPushButton>

namespace tallyhawk {

inline QPushButton* makeCommandButton(QWidget* parent, const char* name, const QString& caption,
                                      const QString& tooltip, int minimumHeight)
{
    auto* command = new QPushButton(caption, parent);
    command->setObjectName(name);
    command->setToolTip(tooltip);
    command->setFont(uiFont("Arial", 9, true));
    command->setMinimumHeight(minimumHeight);
    return command;
}

} // namespace tallyhawk
