#include "paytablefile.h"

#include "app/numberforms.h"

namespace tallyhawk {

namespace {

class ValueReader
{
public:
    explicit ValueReader(std::string_view text) : m_text(text)
    {
        if (m_text.substr(0, 3) == "\xEF\xBB\xBF") // a UTF-8 byte order mark
            m_pos = 3;
    }

    // Skips blanks and line ends; true when nothing but them is left.
    bool atEndOfRecords()
    {
        while (m_pos < m_text.size() && isSpace(m_text[m_pos]))
            ++m_pos;
        return m_pos >= m_text.size();
    }

    bool atEnd() const { return m_pos >= m_text.size(); }

    // Reads one value and the comma or line end after it.
    bool read(PayTableFileValue& value, std::string& error)
    {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t'))
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '"') {
            const auto close = m_text.find('"', m_pos + 1);
            if (close == std::string_view::npos) {
                error = "a quoted text is not closed";
                return false;
            }
            value = std::string(m_text.substr(m_pos + 1, close - m_pos - 1));
            m_pos = close + 1;
            skipToDelimiter(); // anything between the closing quote and the delimiter is ignored
        } else {
            const auto start = m_pos;
            skipToDelimiter();
            const std::string raw(m_text.substr(start, m_pos - start));
            const std::string trimmed = trim(raw);
            if (trimmed.empty())
                value = std::monostate{};
            else if (const auto number = ParseNumber(trimmed))
                value = *number;
            else
                value = trimmed;
        }
        consumeDelimiter();
        return true;
    }

private:
    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    static std::string trim(const std::string& text)
    {
        const auto begin = text.find_first_not_of(" \t");
        if (begin == std::string::npos)
            return {};
        return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
    }

    void skipToDelimiter()
    {
        while (m_pos < m_text.size() && m_text[m_pos] != ',' && m_text[m_pos] != '\r' &&
               m_text[m_pos] != '\n')
            ++m_pos;
    }

    void consumeDelimiter()
    {
        if (m_pos >= m_text.size())
            return;
        if (m_text[m_pos] == '\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\n')
            m_pos += 2;
        else
            ++m_pos;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

} // namespace

PayTableFileContents ReadPayTableFile(std::string_view contents)
{
    PayTableFileContents result;
    ValueReader reader(contents);
    while (result.records.size() < kPayTableFileMaxRecords && !reader.atEndOfRecords()) {
        PayTableFileRecord record;
        for (int i = 0; i < kPayTableFileValues; ++i) {
            if (i > 0 && reader.atEnd()) {
                result.error = "record " + std::to_string(result.records.size() + 1) + " ends after " +
                               std::to_string(i) + " of its " + std::to_string(kPayTableFileValues) +
                               " values";
                break;
            }
            if (!reader.read(record[i], result.error))
                break;
        }
        if (!result.ok()) {
            result.records.clear();
            return result;
        }
        result.records.push_back(std::move(record));
    }
    if (result.records.empty())
        result.error = "the file holds no pay table record";
    return result;
}

} // namespace tallyhawk
