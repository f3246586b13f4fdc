// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "numberforms.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tallyhawk {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Fifteen significant digits, as a double's display form conventionally has: 0.1 + 0.2 shows
// as 0.3, and whole numbers up to 10^15 show all their digits.
// (std::to_chars and std::from_chars ignore the locale: a period whatever the user's settings.)
std::string decimalForm(double magnitude)
{
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::general, 15).ptr;
    std::string text(buffer, end);
    // "1e+20" is written "1E+20", as number displays conventionally show it.
    for (char& c : text)
        if (c == 'e')
            c = 'E';
    return text;
}

// Fixed decimals with the half rounded away from zero, as display patterns round.
std::string fixedDecimals(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    double scaled = std::round(std::fabs(value) * scale);
    char buffer[400];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, scaled / scale, std::chars_format::fixed, decimals).ptr;
    std::string text(buffer, end);
    if (value < 0 && scaled != 0)
        text.insert(text.begin(), '-');
    return text;
}

} // namespace

std::string StrForm(double value)
{
    if (std::isnan(value))
        return " NaN";
    if (value < 0)
        return "-" + decimalForm(-value);
    return " " + decimalForm(value == 0 ? 0.0 : value); // no "-0"
}

std::string PlainForm(double value)
{
    std::string text = StrForm(value);
    return text[0] == ' ' ? text.substr(1) : text;
}

double RoundHalfEven(double value)
{
    return std::nearbyint(value);
} // default mode: to nearest, ties to even

std::optional<std::int16_t> ToInt16(double value)
{
    const double rounded = RoundHalfEven(value);
    if (!(rounded >= std::numeric_limits<std::int16_t>::min() &&
          rounded <= std::numeric_limits<std::int16_t>::max()))
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

std::optional<std::int32_t> ToInt32(double value)
{
    const double rounded = RoundHalfEven(value);
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
          rounded <= std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

std::optional<std::int64_t> ToInt64(double value)
{
    const double rounded = RoundHalfEven(value);
    // 2^63 is a double, the int64 maximum is not: the bound is exclusive.
    if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0))
        return std::nullopt;
    return static_cast<std::int64_t>(rounded);
}

std::optional<double> ParseNumber(std::string_view text)
{
    std::size_t begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    if (begin == end)
        return std::nullopt;
    const std::string trimmed(text.substr(begin, end - begin));
    // strtod also reads "inf", "nan" and hexadecimal forms, which are not numbers to a user.
    for (char c : trimmed) {
        const bool allowed =
            (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E';
        if (!allowed)
            return std::nullopt;
    }
    // from_chars takes no leading plus sign; a plus stands only before the exponent there.
    const char* first = trimmed.data();
    const char* last = first + trimmed.size();
    if (*first == '+')
        ++first;
    double value = 0;
    const auto [stop, error] = std::from_chars(first, last, value);
    if (stop != last || error != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double LeadingNumber(std::string_view text)
{
    std::string number;
    bool seenDigit = false, seenPoint = false, seenExponent = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (isBlank(c))
            continue;
        const char last = number.empty() ? '\0' : number.back();
        if (c >= '0' && c <= '9') {
            seenDigit = true;
        } else if ((c == '+' || c == '-') && (number.empty() || last == 'e' || last == 'E')) {
        } else if (c == '.' && !seenPoint && !seenExponent) {
            seenPoint = true;
        } else if ((c == 'e' || c == 'E') && seenDigit && !seenExponent) {
            seenExponent = true;
        } else {
            break;
        }
        number += c;
    }
    // Drop a dangling exponent or sign ("12e", "12e-") so that strtod reads what precedes it.
    while (!number.empty() &&
           (number.back() == 'e' || number.back() == 'E' || number.back() == '+' || number.back() == '-'))
        number.pop_back();
    if (!seenDigit || number.empty())
        return 0;
    return ParseNumber(number).value_or(0);
}

std::string FormatTwoDecimals(double value)
{
    std::string text = fixedDecimals(value, 2);
    // "###.00" shows no digit before the point when the whole part is zero.
    const std::size_t zero = text[0] == '-' ? 1 : 0;
    if (text.compare(zero, 2, "0.") == 0)
        text.erase(zero, 1);
    return text;
}

std::string ShortForm(double value)
{
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 9999.5) || std::isinf(magnitude))
        return PlainForm(value);
    const std::string sign = value < 0 ? "-" : "";
    const char* const units = "KMBT";
    double scaled = magnitude;
    for (int unit = 0; unit < 4; ++unit) {
        scaled /= 1000;
        // Three significant digits; a value that rounds up to 1000 takes the next unit.
        const int decimals = scaled < 9.995 ? 2 : scaled < 99.95 ? 1 : 0;
        if (scaled < 999.5 || unit == 3)
            return sign + fixedDecimals(scaled, decimals) + units[unit];
    }
    return PlainForm(value);
}

std::string FormatOneDecimal(double value)
{
    return fixedDecimals(value, 1);
}

} // namespace tallyhawk
