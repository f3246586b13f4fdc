// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "paytablefile.h"

#include <charconv>
#include <system_error>

namespace tallyhawk {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// What spreadsheets save as "Unicode text": UTF-16, little-endian on Windows, with its mark.
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";
constexpr char32_t kReplacementCharacter = 0xFFFD;

// The whole text as a number, or no value. Written out and read back with <charconv>, which
// ignores the C locale: a program under a German locale still reads and writes "12.275".
// Like ParseNumber, letters ("inf", "nan", hexadecimal forms) and values out of range are no
// number; unlike strtod, a leading "+" has to be allowed by hand.
std::optional<double> readNumber(std::string_view text)
{
    for (char c : text) {
        const bool allowed =
            (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E';
        if (!allowed)
            return std::nullopt;
    }
    if (text.size() > 1 && text[0] == '+' && text[1] != '+' && text[1] != '-')
        text.remove_prefix(1);
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, value);
    if (status != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

// Fifteen significant digits when they read back as the same number (12.275, 0.5, 50000),
// otherwise the shortest form that does (0.30000000000000004).
std::string numberText(double value)
{
    char buffer[64];
    auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    if (written.ec == std::errc()) {
        const std::string text(buffer, written.ptr);
        if (const auto back = readNumber(text); back && *back == value)
            return text;
    }
    written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, written.ptr);
}

// A text the reader gives back unchanged when it is written bare: it holds a double quote
// (which the quoted form cannot carry), but nothing the reader would cut, trim or skip.
bool readsBackBare(const std::string& text)
{
    if (text.empty() || text.front() == '"')
        return false;
    const auto isBlank = [](char c) {
        return c == ' ' || c == '\t';
    };
    if (isBlank(text.front()) || isBlank(text.back()))
        return false;
    return text.find_first_of(",\r\n") == std::string::npos && !readNumber(text);
}

// Texts are written between double quotes with nothing escaped, so a text that holds a double
// quote is written bare when it reads back so; the rare one that cannot (a quote and a comma,
// say) is written with apostrophes in place of its double quotes.
void appendText(std::string& out, const std::string& text)
{
    if (text.find('"') == std::string::npos) {
        out += '"';
        out += text;
        out += '"';
    } else if (readsBackBare(text)) {
        out += text;
    } else {
        out += '"';
        for (char c : text)
            out += c == '"' ? '\'' : c;
        out += '"';
    }
}

class ValueReader
{
public:
    explicit ValueReader(std::string_view text) : m_text(text)
    {
        if (m_text.starts_with(kByteOrderMark))
            m_pos = kByteOrderMark.size();
    }

    // Skips blanks and line ends; true when nothing but them is left.
    bool atEndOfRecords()
    {
        while (m_pos < m_text.size() && isSpace(m_text[m_pos]))
            ++m_pos;
        return m_pos >= m_text.size();
    }

    bool atEnd() const { return m_pos >= m_text.size(); }

    enum class Delimiter
    {
        Comma,
        LineEnd,
        End
    };

    // Reads one value and the comma or line end after it; `after` says which it was.
    bool read(PayTableFileValue& value, Delimiter& after, std::string& error)
    {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t'))
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '"') {
            const auto close = m_text.find('"', m_pos + 1);
            if (close == std::string_view::npos) {
                error = "opens a quoted text that is not closed";
                return false;
            }
            value = std::string(m_text.substr(m_pos + 1, close - m_pos - 1));
            m_pos = close + 1;
            skipToDelimiter(); // anything between the closing quote and the delimiter is ignored
        } else {
            const auto start = m_pos;
            skipToDelimiter();
            const std::string_view trimmed = trim(m_text.substr(start, m_pos - start));
            if (trimmed.empty())
                value = std::monostate{};
            else if (const auto number = readNumber(trimmed))
                value = *number;
            else
                value = std::string(trimmed);
        }
        if (const auto* text = std::get_if<std::string>(&value);
            text && text->find('\0') != std::string::npos) {
            error = "holds a NUL character, which no text file of comma-separated values does";
            return false;
        }
        after = consumeDelimiter();
        return true;
    }

private:
    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    static std::string_view trim(std::string_view text)
    {
        const auto begin = text.find_first_not_of(" \t");
        if (begin == std::string_view::npos)
            return {};
        return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
    }

    void skipToDelimiter()
    {
        while (m_pos < m_text.size() && m_text[m_pos] != ',' && m_text[m_pos] != '\r' &&
               m_text[m_pos] != '\n')
            ++m_pos;
    }

    Delimiter consumeDelimiter()
    {
        if (m_pos >= m_text.size())
            return Delimiter::End;
        const char c = m_text[m_pos];
        if (c == '\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\n')
            m_pos += 2;
        else
            ++m_pos;
        return c == ',' ? Delimiter::Comma : Delimiter::LineEnd;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

// The length of the well-formed UTF-8 sequence at the start of the bytes (RFC 3629: no
// overlong forms, no surrogates, nothing above U+10FFFF), or 0 when there is none.
std::size_t utf8SequenceLength(std::string_view bytes)
{
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned char>(bytes[i]);
    };
    const auto continuation = [&](std::size_t i, unsigned char low = 0x80, unsigned char high = 0xBF) {
        return i < bytes.size() && byte(i) >= low && byte(i) <= high;
    };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return continuation(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
        return continuation(1, low, high) && continuation(2) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
        return continuation(1, low, high) && continuation(2) && continuation(3) ? 4 : 0;
    }
    return 0;
}

bool isUtf8(std::string_view bytes)
{
    while (!bytes.empty()) {
        const std::size_t length = utf8SequenceLength(bytes);
        if (length == 0)
            return false;
        bytes.remove_prefix(length);
    }
    return true;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// UTF-16 text (after its mark) as UTF-8. A lone surrogate or an odd last byte becomes the
// replacement character, so the reader sees the rest of the file as it is.
std::string decodeUtf16(std::string_view bytes, bool bigEndian)
{
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? char32_t(first << 8 | second) : char32_t(second << 8 | first);
    };
    const auto isHigh = [](char32_t c) {
        return c >= 0xD800 && c <= 0xDBFF;
    };
    const auto isLow = [](char32_t c) {
        return c >= 0xDC00 && c <= 0xDFFF;
    };
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (isHigh(c) && i + 3 < bytes.size() && isLow(unit(i + 2))) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (isHigh(c) || isLow(c)) {
            c = kReplacementCharacter;
        }
        appendUtf8(out, c);
    }
    if (i < bytes.size())
        appendUtf8(out, kReplacementCharacter);
    return out;
}

// Windows-1252 at 0x80 to 0x9F; the five bytes it leaves undefined stay the C1 controls of the
// same value, as Windows itself converts them. Every other byte is the code point of its value.
constexpr char32_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The separator that the file's first line seems to use instead of commas: "semicolons" or
// "tabs" when the line, outside quoted texts, holds more of them than commas; else empty.
// Spreadsheets in many languages save "CSV" with semicolons, and "text" with tabs.
std::string otherSeparator(std::string_view contents)
{
    int commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (char c : contents.substr(0, contents.find_first_of("\r\n"))) {
        quoted = quoted != (c == '"');
        if (!quoted) {
            commas += c == ',' ? 1 : 0;
            semicolons += c == ';' ? 1 : 0;
            tabs += c == '\t' ? 1 : 0;
        }
    }
    if (semicolons > commas && semicolons >= tabs)
        return "semicolons";
    if (tabs > commas)
        return "tabs";
    return {};
}

} // namespace

std::string FormatPayTableFile(const std::vector<PayTableFileRecord>& records)
{
    std::string out;
    for (const PayTableFileRecord& record : records) {
        for (int i = 0; i < kPayTableFileValues; ++i) {
            if (i > 0)
                out += ',';
            const PayTableFileValue& value = record[i];
            if (const auto* number = std::get_if<double>(&value))
                out += numberText(*number);
            else if (const auto* text = std::get_if<std::string>(&value))
                appendText(out, *text);
            else
                out += "\"\""; // Null, whatever the column
        }
        out += "\r\n";
    }
    // The reader skips one byte order mark at the start: a bare first text that begins with
    // one keeps it behind a second.
    if (out.starts_with(kByteOrderMark))
        out.insert(0, kByteOrderMark);
    return out;
}

std::string DecodePayTableBytes(std::string_view bytes)
{
    if (bytes.starts_with(kUtf16LittleEndianMark))
        return decodeUtf16(bytes.substr(kUtf16LittleEndianMark.size()), false);
    if (bytes.starts_with(kUtf16BigEndianMark))
        return decodeUtf16(bytes.substr(kUtf16BigEndianMark.size()), true);
    // A byte order mark says UTF-8 whatever follows; it stays for the reader to skip.
    std::string out;
    if (bytes.starts_with(kByteOrderMark)) {
        out = kByteOrderMark;
        bytes.remove_prefix(kByteOrderMark.size());
    }
    if (isUtf8(bytes))
        return out.append(bytes);
    out.reserve(out.size() + bytes.size() * 2);
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte <= 0x9F)
            appendUtf8(out, kWindows1252High[byte - 0x80]);
        else
            appendUtf8(out, byte);
    }
    return out;
}

PayTableFileContents ReadPayTableFile(std::string_view contents)
{
    PayTableFileContents result;
    ValueReader reader(contents);
    const auto refuse = [&](const std::string& reason) {
        result.error = "Record " + std::to_string(result.records.size() + 1) + reason + ".";
        if (const std::string separator = otherSeparator(contents); !separator.empty())
            result.error += " Its values seem to be separated by " + separator +
                            ": a pay-table file separates them by commas.";
        result.records.clear();
        return result;
    };
    while (result.records.size() < kPayTableFileMaxRecords && !reader.atEndOfRecords()) {
        PayTableFileRecord record;
        ValueReader::Delimiter after = ValueReader::Delimiter::End;
        for (int i = 0; i < kPayTableFileValues; ++i) {
            if (i > 0 && reader.atEnd())
                return refuse(" ends after " + std::to_string(i) + " of its " +
                              std::to_string(kPayTableFileValues) + " values");
            std::string error;
            if (!reader.read(record[i], after, error))
                return refuse(", value " + std::to_string(i + 1) + " " + error);
        }
        // A record may spread over lines, but its line ends with its last value: a comma after
        // it means a line of more values than a pay-table record has (or a header line's shift).
        if (after == ValueReader::Delimiter::Comma)
            return refuse(" has more than " + std::to_string(kPayTableFileValues) +
                          " values: its line goes on after the last");
        result.records.push_back(std::move(record));
    }
    if (result.records.empty())
        result.error = "The file holds no pay table record.";
    return result;
}

} // namespace tallyhawk
