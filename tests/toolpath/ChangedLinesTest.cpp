#include <gtest/gtest.h>

#include <string>

#include "ProgramFollow.h"

namespace qm {
namespace {

// Lines "N1 G1 X1\n" ... of the program, long enough that its comparison runs over many
// blocks; an edit at a line's start, or at a byte picked to fall on a block's edge. Some
// lines hold comments in Shift-JIS and UTF-8, whose bytes a line count must not take for
// line feeds.
std::string Program(int lines) {
    std::string text;
    for (int i = 1; i <= lines; ++i)
        text += "N" + std::to_string(i) + " G1 X" + std::to_string(i % 97) +
                (i % 7 == 0 ? " (\x8a\x8b\x82\xa0 \xe3\x81\x8a)\n" : "\n");
    return text;
}

TEST(ChangedLines, OnlyTheLinesAnEditTouchedAreNamedWhereverItFalls) {
    const std::string before = Program(3000);
    struct Edit {
        const char* name;
        std::size_t at, erase;
        std::string insert;
        std::int64_t removed, added;  // whole lines the edit removed and added
    };
    const Edit edits[] = {
        {"the first byte", 0, 1, "M", 1, 1},
        {"just before a block's edge", 4095, 1, "7", 1, 1},
        {"on a block's edge", 4096, 1, "7", 1, 1},
        {"just after a block's edge", 4097, 0, "7", 1, 1},
        {"a line inserted", before.find("\nN2000 ") + 1, 0, "G0 Z5\n", 0, 1},
        {"a line deleted", before.find("\nN1500 ") + 1,
         before.find("\nN1501 ") - before.find("\nN1500 "), "", 1, 0},
        {"the last byte", before.size() - 2, 1, "9", 1, 1},
        {"a line added at the end", before.size(), 0, "M30\n", 0, 1},
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.name);
        std::string after = before;
        after.replace(edit.at, edit.erase, edit.insert);
        const LineChange change = ChangedLines(before, after);
        // At most the line after the edit is named beside those it touched.
        EXPECT_LE(change.removed, edit.removed + 1);
        const std::string now = after.substr(change.from, change.to - change.from);
        EXPECT_EQ(std::count(now.begin(), now.end(), '\n') - std::int64_t(change.removed),
                  edit.added - edit.removed);
        // The old text with its lines first .. first + removed - 1 replaced gives the new one.
        std::size_t start = 0;
        for (std::uint32_t line = 1; line < change.first; ++line)
            start = before.find('\n', start) + 1;
        std::size_t end = start;
        for (std::uint32_t line = 0; line < change.removed; ++line)
            end = before.find('\n', end) + 1;
        EXPECT_EQ(start, change.from);
        EXPECT_EQ(before.substr(0, start) + now + before.substr(end), after);
    }
    const LineChange none = ChangedLines(before, before);
    EXPECT_EQ(none.removed, 0u);
    EXPECT_EQ(none.from, none.to);
}

}  // namespace
}  // namespace qm
