// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The single row of program defaults. The program always works on the first row.

#include "engine/common/paytypes.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace tallyhawk {

// Reads the first row of [Defaults]. False with a sentence for the user when it cannot be read
// or there is none. A stored number that does not fit its field (a whole-number field beyond
// the range of a long integer, a credit total that is not a number or beyond what the board
// keeps) is never converted: the field takes the value a new database has, and `setAside`
// receives a sentence naming the field and what it holds. The stored row is left as it is.
[[nodiscard]] bool ReadDefaults(QSqlDatabase db, ProgramDefaults* defaults, QString* error,
                                QStringList* setAside = nullptr);

enum class SaveOutcome
{
    Saved,
    ReadOnly, // nothing written: the database was opened read-only, which the user was told
    Failed
};

struct [[nodiscard]] SaveResult
{
    SaveOutcome outcome = SaveOutcome::Saved;
    QString error; // when Failed: why, as a sentence for the user
    bool failed() const { return outcome == SaveOutcome::Failed; }
};

// Stores the credit total at once, so that a crash loses none of it. A total that is not a
// finite number is refused (Failed) and nothing changes.
SaveResult SaveCredits(QSqlDatabase db, double credits);

// What the board saves on quitting: the selected game's entry and the credit total. On a
// read-only database nothing is written and true is returned: the user was told at start.
[[nodiscard]] bool SaveStartupState(QSqlDatabase db, const QString& startupGame, double saveCredits,
                                    QString* error);

// What the options dialog saves: the start-up credits, the seed, the simulation games, the
// random picks, sound, the drawn-number display and the speed. The other fields stay.
[[nodiscard]] bool SaveOptions(QSqlDatabase db, const ProgramDefaults& options, QString* error);

// The speed names of [Speeds], in table order.
[[nodiscard]] bool ReadSpeeds(QSqlDatabase db, QStringList* speeds, QString* error);

} // namespace tallyhawk
