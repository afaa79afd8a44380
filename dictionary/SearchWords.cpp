#include "SearchWords.h"

namespace qm {
namespace {

// An empty search text is in every comment but an empty one.
bool Contains(std::string_view comment, std::string_view text) {
    return !comment.empty() && comment.find(text) != std::string_view::npos;
}

bool InScope(const DictionaryEntry& entry, char prefix) {
    return prefix == 0 || (!entry.word.empty() && entry.word.front() == prefix);
}

void AppendLine(std::string& list, const DictionaryEntry& entry) {
    list += entry.word;
    list += "\t    ";
    list += entry.comment;
    list += "\r\n";
}

}  // namespace

std::string SearchWords(const DictionaryTable& table, const WordQuery& query) {
    std::string list;
    if (query.text1.empty() && query.text2.empty()) return list;
    for (int i = 0; i <= table.LastIndex; ++i) {
        const DictionaryEntry& entry = table.entries[i];
        if (!InScope(entry, query.prefix)) continue;
        if (!query.orMode) {
            if (Contains(entry.comment, query.text1) && Contains(entry.comment, query.text2)) {
                AppendLine(list, entry);
            }
            continue;
        }
        // Either text: an entry holding both is listed twice, the line for text1 first.
        if (!query.text1.empty() && Contains(entry.comment, query.text1)) AppendLine(list, entry);
        if (!query.text2.empty() && Contains(entry.comment, query.text2)) AppendLine(list, entry);
    }
    return list;
}

}  // namespace qm
