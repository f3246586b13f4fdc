#pragma once
// The single row of program defaults. The program always works on the first row.

#include "engine/common/paytypes.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace tallyhawk {

// Reads the first row of [Defaults]. False with a sentence for the user when there is none.
[[nodiscard]] bool ReadDefaults(QSqlDatabase db, ProgramDefaults* defaults, QString* error);

// What the board saves on quitting: the selected game's entry and the credit total.
[[nodiscard]] bool SaveStartupState(QSqlDatabase db, const QString& startupGame, double saveCredits,
                                    QString* error);

// What the options dialog saves: the start-up credits, the seed, the simulation games, the
// random picks, sound, the drawn-number display and the speed. The other fields stay.
[[nodiscard]] bool SaveOptions(QSqlDatabase db, const ProgramDefaults& options, QString* error);

// The speed names of [Speeds], in table order.
[[nodiscard]] bool ReadSpeeds(QSqlDatabase db, QStringList* speeds, QString* error);

} // namespace tallyhawk
