// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers
#pragma once
// tallyhawk-cli draws: the tests of a player's own draw history (a file of one draw per line), or
// of the program's own draw seeded as asked, with each test's statistic, p-value and verdict.

#include "clicommands.h"

#include <QStringList>

namespace tallyhawk::cli {

extern const char kDrawsHelp[];

// The command with its arguments after "draws": reads them, the file and the draws, and gives
// what to print. A wrong argument ends with kExitUsage, a file that cannot be read or is refused
// with kExitFailure and the reason (for a refused file, its line and why).
[[nodiscard]] CommandResult RunDrawsCommand(const QStringList& arguments);

} // namespace tallyhawk::cli
