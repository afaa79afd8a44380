#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>

#include "Dictionary.h"
#include "TableOf.h"

namespace qm::test {

// Each entry doubles the line: Q00 -> "Q01 Q01", Q01 -> "Q02 Q02", ... "Q00" grows to
// 2^entries words.
inline DictionaryTable DoublingTable(int entries) {
    DictionaryTable table;
    const auto word = [](int i) {
        return "Q" + std::string(i < 10 ? "0" : "") + std::to_string(i);
    };
    for (int i = 0; i < entries; ++i)
        table.Append({0, word(i), word(i + 1) + " " + word(i + 1)});
    return table;
}

// Text with its line ends and quotes shown, for messages.
inline std::string Escaped(const std::string& text) {
    std::string shown = "\"";
    for (const char ch : text) {
        shown += ch == '\n' ? "\\n" : ch == '\r' ? "\\r" : ch == '"' ? "\\\"" : std::string(1, ch);
    }
    return shown + "\"";
}

inline std::string Describe(const DictionaryTable& table) {
    std::ostringstream out;
    for (int i = 0; i <= table.LastIndex; ++i) {
        const DictionaryEntry& e = table.entries[std::size_t(i)];
        out << "  [" << i << "] " << Escaped(e.word) << " -> " << Escaped(e.comment) << "\n";
    }
    return out.str();
}

// Whether a message holds the given text; the message is shown when it does not.
inline ::testing::AssertionResult Holds(const std::string& message, std::string_view text) {
    if (message.find(text) != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << message << "\" lacks \"" << text << "\"";
}

}  // namespace qm::test
