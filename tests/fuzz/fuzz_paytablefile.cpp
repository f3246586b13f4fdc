// libFuzzer target for the pay-table file. Any bytes, decoded and read, must neither crash nor
// touch memory outside their own; what was read must come back the same when it is written
// and read again, so an export of an imported game gives the game that was imported.

#include "engine/catalogue/paytablefile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace tallyhawk;

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "pay-table file: %s\n", what);
        std::abort();
    }
}

// Null is written as an empty text, so it reads back as one.
PayTableFileRecord nullAsEmptyText(PayTableFileRecord record)
{
    for (PayTableFileValue& value : record)
        if (std::holds_alternative<std::monostate>(value))
            value = std::string();
    return record;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = DecodePayTableBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    check(DecodePayTableBytes(text) == text, "the decoded text is not UTF-8");

    const PayTableFileContents contents = ReadPayTableFile(text);
    if (!contents.ok()) {
        check(contents.records.empty(), "a refused file gave records");
        return 0;
    }
    check(!contents.records.empty() && contents.records.size() <= kPayTableFileMaxRecords,
          "the number of records read is out of range");

    const std::string written = FormatPayTableFile(contents.records);
    check(DecodePayTableBytes(written) == written, "the written file is not UTF-8");
    const PayTableFileContents again = ReadPayTableFile(written);
    check(again.ok(), "the written file is refused");
    check(again.records.size() == contents.records.size(), "the written file has another number of records");
    for (std::size_t r = 0; r < contents.records.size(); ++r) {
        const PayTableFileRecord expected = nullAsEmptyText(contents.records[r]);
        for (int i = 0; i < kPayTableFileValues; ++i) {
            if (again.records[r][i] != expected[i]) {
                std::fprintf(stderr, "record %zu, value %d\n", r + 1, i + 1);
                check(false, "a value reads back differently");
            }
        }
    }
    check(FormatPayTableFile(again.records) == written, "writing what was read back gives another file");
    return 0;
}
