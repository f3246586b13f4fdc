// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// Where the program's files lie. The program and the command line both ask here, so that a
// build and an installed copy find the same things.

#include <QString>

namespace tallyhawk {

// The folder of the files that come with the program and are only read: the seed database,
// images/ and Help/. In a build they lie beside the executable; an installed copy keeps them
// in ../share/tallyhawk relative to its bin/ folder. The folder that holds the seed database
// wins, beside the executable first; when neither does, the folder beside the executable is
// returned, so that the missing seed is reported there.
QString programDataFolder(const QString& executableFolder);

// The user's own data folder, where the database is installed and the reports are written:
// C:\$ProgramData\Tallyhawk on Windows, the platform's per-user data folder for the
// application elsewhere (~/.local/share/Tallyhawk on Linux).
QString userDataFolder();

} // namespace tallyhawk
