// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

// libFuzzer target for the pay-table file. Any bytes, decoded and read, must neither crash nor
// touch memory outside their own; what was read must come back the same when it is written
// and read again, so an export of an imported game gives the game that was imported; and what
// the import's checks let through is a game the catalogue can list and find, its values in range.

#include "engine/catalogue/paytablefile.h"
#include "engine/catalogue/paytableimport.h"
#include "engine/catalogue/payvalidation.h"

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

// An imported game: a bonus row first, one row per Catch, every value one the rules can hold,
// under a key that is stored as it is found.
void checkImported(const ImportedGame& game)
{
    if (!game.ok()) {
        check(game.rows.empty(), "a refused game gave rows");
        return;
    }
    check(!game.rows.empty() && game.rows.size() <= kPayTableFileMaxRecords,
          "the number of rows is out of range");
    check(game.rows.front().Catch == 0, "the first row is not the bonus row");
    check(!CheckCatches(game.rows) && !CheckValueRanges(game.rows), "a row the lock would refuse");
    const GameKeyNormalisation key = NormaliseGameKey(game.key);
    check(key.ok() && key.key == game.key, "the key is not in its stored form");
    const std::string entry = FormatGameListText(game.key);
    check(CharacterCount(entry) == kGameListWidth && entry.find(game.key.Casino) != std::string::npos &&
              entry.find(game.key.Game) != std::string::npos,
          "the list would not show the key whole");
    for (const PayScheduleRow& row : game.rows)
        check(row.key == game.key, "a row under another key");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = DecodePayTableBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    check(DecodePayTableBytes(text) == text, "the decoded text is not UTF-8");

    checkImported(ReadImportedGame(std::string_view(reinterpret_cast<const char*>(data), size)));
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
