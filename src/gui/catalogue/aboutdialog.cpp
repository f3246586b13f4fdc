// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "aboutdialog.h"

#include "gui/common/screenfit.h"
#include "gui/common/uifonts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace tallyhawk {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName("aboutDialog");
    setWindowTitle("About Tallyhawk");
    auto* title = new QLabel(
        QStringLiteral("Tallyhawk %1.%2").arg(TALLYHAWK_VERSION_MAJOR).arg(TALLYHAWK_VERSION_MINOR), this);
    title->setFont(uiFont("Arial", 16, true));
    auto* text =
        new QLabel("A study tool for the casino game of keno.\n\n"
                   "Play tickets against the pay schedules of real casino games, bonus features included; "
                   "simulate a ticket over up to a billion games and read how 100-game sessions end; "
                   "test the draw for randomness; and keep your own catalogue of pay tables.\n\n"
                   "The pay tables of the catalogue are facts gathered from public pay schedules; their "
                   "sources are listed in SOURCES.md, installed with the documentation in "
                   "share/doc/tallyhawk (/usr/share/doc/tallyhawk from the Debian package).\n\n"
                   "Copyright (C) 2026 The Tallyhawk developers. Tallyhawk is free software under the GNU "
                   "General Public License, version 3 or later (GPL-3.0-or-later), and comes with no "
                   "warranty.\n\n"
                   "Keno pays back less than it takes in the long run. Play for fun, never for money you "
                   "cannot afford to lose.",
                   this);
    text->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout;
    layout->addWidget(title);
    layout->addWidget(text);
    layout->addWidget(buttons);
    SetScrollingLayout(this, layout);
    resize(420, 300);
}

} // namespace tallyhawk
