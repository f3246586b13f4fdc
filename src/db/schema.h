// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The tables of the database file and their fields. Text is compared without regard to
// case (COLLATE NOCASE), as players type game names in any case; Booleans are -1 and 0.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace tallyhawk {

// The pay table's columns in their stored order (the order of the pay-table file too).
QStringList payTableColumns();

// Creates every table of an empty database, at the current version. Returns false with the
// reason in error.
[[nodiscard]] bool createSchema(QSqlDatabase db, QString* error);

// Checks that every table exists with every field the program reads or writes.
// Returns false with a sentence naming the first missing table or field in error.
[[nodiscard]] bool checkSchema(QSqlDatabase db, QString* error);

} // namespace tallyhawk
