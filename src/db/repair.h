// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The catalogue's repair at start. Older versions could store rows that no window can list or
// reach; this removes or mends them, in one transaction, and says what it did. It stands apart
// from opening the database so that it can become one of the database's upgrade steps.

#include <QSqlDatabase>
#include <QString>

namespace tallyhawk {

struct CatalogueRepair
{
    int rowsRemoved = 0;  // a Catch that is not a whole number from 0 to 10, or a NUL in the key
    int gamesTrimmed = 0; // keys stored with blanks around a part (or a part missing), mended

    bool repaired() const { return rowsRemoved > 0 || gamesTrimmed > 0; }
    // What was repaired, for the user; empty when nothing was.
    QString description() const;
};

// Removes the rows that can never be listed and gives each key stored with blanks around a
// part (or without a part) its trimmed form, unless another game already has that key.
// All or nothing; false with the engine's message.
[[nodiscard]] bool RepairCatalogue(QSqlDatabase db, CatalogueRepair* report, QString* error);

} // namespace tallyhawk
