// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// The number and text forms shared by every window. Display texts are built from these
// and from nothing else, so that each form is written (and tested) once.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tallyhawk {

// Str form: the decimal form preceded by one blank when the number is not negative,
// by a minus sign otherwise (0 -> " 0", 25 -> " 25", -3 -> "-3", 12.5 -> " 12.5").
std::string StrForm(double value);
// Plain form: the decimal form without the leading blank (25 -> "25", 0.5 -> "0.5").
std::string PlainForm(double value);

// The nearest whole number, a half going to the even neighbour (0.5 -> 0, 1.5 -> 2, 2.5 -> 2).
double RoundHalfEven(double value);
// RoundHalfEven, then range-checked: no value when the result does not fit or is not a number.
[[nodiscard]] std::optional<std::int16_t> ToInt16(double value);
[[nodiscard]] std::optional<std::int32_t> ToInt32(double value);
[[nodiscard]] std::optional<std::int64_t> ToInt64(double value);

// The whole text as a number (blanks around it allowed): "12.5", " -3 ", "1e3".
// No value for an empty text, letters, or anything after the number.
[[nodiscard]] std::optional<double> ParseNumber(std::string_view text);
// The leading number of a text, 0 when there is none: "12.5 credits" -> 12.5, "" -> 0,
// "abc" -> 0. Blanks, tabs and line feeds are skipped wherever they stand before the end
// of the number, so "MARKED   5" read from its 7th character gives 5.
double LeadingNumber(std::string_view text);

// The "###.00" pattern: two decimals, no digit before the point below 1, no thousands
// separator (98.7 -> "98.70", 0.5 -> ".50", 1234.5 -> "1234.50").
std::string FormatTwoDecimals(double value);
// A whole number short enough for a narrow cell: in full below 10,000 ("-2442", "812"), else
// in thousands, millions, billions or trillions to three significant digits, halves rounded away
// from zero ("12.3K", "-245M", "1.00M" for 999,999, "2.15B").
std::string ShortForm(double value);

// The "##0.0" pattern: one decimal, at least one digit before the point (0.25 -> "0.3").
std::string FormatOneDecimal(double value);

} // namespace tallyhawk
