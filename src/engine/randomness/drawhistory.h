// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers
#pragma once
// A player's own draw history: a text or CSV file of one keno draw per line, as lotteries publish
// them and players note them down. Each line holds the draw's 20 numbers among its fields; a
// date, a draw number, a multiplier or any other column beside them is ignored.
//
// The file is read whole before anything is kept: a line that does not hold 20 different numbers
// from 1 to 80 refuses the file, with its line number and why, and a refused file gives no draw.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tallyhawk {

// The 20 numbers of one draw, each from 1 to 80 and all different, in the order the line gave them.
using KenoDraw = std::array<std::uint8_t, 20>;

// Draws a history may hold: the tests count in 32 bits per number and pair, and the chi-square
// of the counts takes a 32-bit number of games.
constexpr std::int64_t kMaxHistoryDraws = 100'000'000;

// Reads the draws of `text`, the whole content of a file. Fields are separated by commas,
// semicolons, tabs or blanks (runs of them count once); double quotes around a field are dropped.
// The draw is 20 consecutive fields that are whole numbers from 1 to 80, all different. When a line
// offers more than one such run (a draw number or multiplier from 1 to 80 beside the draw), the
// run at the place where the file's other lines hold theirs is taken. Blank lines are skipped, and
// so is a first line that holds a letter and no draw (a header). Lines end in LF or CR LF; a UTF-8
// byte order mark is skipped.
//
// On success `draws` holds the draws in the order of the file. On failure it is left as it was and
// `error` says what is wrong: the first refused line's number and reason (and how many more lines
// are refused), or that the file holds no draw.
[[nodiscard]] bool ParseDrawHistory(std::string_view text, std::vector<KenoDraw>* draws, std::string* error);

// ParseDrawHistory of the file at `path`; a file that cannot be read is refused with the reason.
[[nodiscard]] bool ReadDrawHistory(const std::filesystem::path& path, std::vector<KenoDraw>* draws,
                                   std::string* error);

} // namespace tallyhawk
