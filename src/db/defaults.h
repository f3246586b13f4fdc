#pragma once
// The single row of program defaults. The program always works on the first row.

#include "app/paytypes.h"

#include <QSqlDatabase>
#include <QString>

namespace tallyhawk {

// Reads the first row of [Defaults]. False with a sentence for the user when there is none.
bool ReadDefaults(QSqlDatabase db, ProgramDefaults* defaults, QString* error);

// What the board saves on quitting: the selected game's entry and the credit total.
bool SaveStartupState(QSqlDatabase db, const QString& startupGame, double saveCredits, QString* error);

} // namespace tallyhawk
