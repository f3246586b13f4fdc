// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The pay-table file: one game's rows as comma-separated values, 20 values a record in the
// column order of the pay table, texts in double quotes, "" for Null, CR LF line ends.
// The reader takes values, not lines: a line end separates values like a comma.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tallyhawk {

constexpr int kPayTableFileValues = 20;
constexpr int kPayTableFileMaxRecords = 11;

// A value as read: nothing (an empty unquoted value), a text (anything quoted, and unquoted
// values that do not read as numbers) or a number.
using PayTableFileValue = std::variant<std::monostate, std::string, double>;
using PayTableFileRecord = std::array<PayTableFileValue, kPayTableFileValues>;

struct PayTableFileContents
{
    std::vector<PayTableFileRecord> records; // at most kPayTableFileMaxRecords
    std::string error;                       // why nothing was read, a sentence; empty on success
    bool ok() const { return error.empty(); }
};

// The file's text for the records: each value as written (texts in double quotes, numbers
// bare with a period, nothing as ""), separated by commas, each record ended by CR LF.
// Numbers read back exactly. A text holding a double quote, which the quoted form cannot
// carry, is written bare when it reads back so, otherwise with apostrophes for its quotes.
std::string FormatPayTableFile(const std::vector<PayTableFileRecord>& records);

// A file's bytes as UTF-8 text. UTF-16 with its byte order mark (a spreadsheet's "Unicode
// text") is decoded; valid UTF-8 stays as it is; anything else is read as Windows-1252, the
// character set of files written by older installations (the cent sign). A UTF-8 byte order
// mark stays, for the reader to skip.
std::string DecodePayTableBytes(std::string_view bytes);

// Reads at most kPayTableFileMaxRecords records; anything after them is ignored. A file that
// ends inside a record, holds no record, leaves a quoted text open, holds a NUL character or
// a line that goes on after a record's last value is refused whole, with a sentence naming the
// record ("Record 6 ends after 9 of its 20 values.").
[[nodiscard]] PayTableFileContents ReadPayTableFile(std::string_view contents);

} // namespace tallyhawk
