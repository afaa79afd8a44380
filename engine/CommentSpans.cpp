#include "CommentSpans.h"

#include "Convert.h"

namespace qm {

void CommentSpanFinder::Use(const DictionaryTable& table, bool SpaceAdd) {
    const std::uint64_t fingerprint = Fingerprint(table);
    table_ = &table;
    if (ready_ && fingerprint == fingerprint_ && SpaceAdd == spaceAdd_)
        return;
    inserts_ = EntryInserts(table, SpaceAdd);
    fingerprint_ = fingerprint;
    spaceAdd_ = SpaceAdd;
    ready_ = true;
}

MarkedLine CommentSpanFinder::Mark(std::string_view sourceLine) const {
    MarkedLine marked{std::string(sourceLine), {}};
    if (marked.text.empty() || marked.text.back() != '\n')
        marked.text += "\r\n";
    marked.inserted.assign(marked.text.size(), false);
    if (table_ != nullptr)
        ConvertLineReference(marked.text, *table_, inserts_, &marked.inserted);
    return marked;
}

std::optional<std::vector<ByteSpan>> CommentSpanFinder::Spans(
    std::string_view sourceLine, std::string_view convertedLine) const {
    const MarkedLine marked = Mark(sourceLine);
    if (marked.text != convertedLine)
        return std::nullopt;
    return FlaggedSpans(marked.inserted);
}

std::vector<ByteSpan> FlaggedSpans(const std::vector<bool>& flags) {
    std::vector<ByteSpan> spans;
    for (std::size_t i = 0; i < flags.size(); ++i) {
        if (!flags[i])
            continue;
        if (!spans.empty() && spans.back().to == i) {
            spans.back().to = i + 1;
        } else {
            spans.push_back({i, i + 1});
        }
    }
    return spans;
}

std::optional<int> EntryCovering(const DictionaryTable& table, std::string_view line,
                                 std::size_t offset) {
    for (int i = 0; i <= table.LastIndex; ++i) {
        const std::string& word = table.entries[i].word;
        if (word.empty() || word.size() > line.size())
            continue;
        const std::size_t earliest = offset + 1 >= word.size() ? offset + 1 - word.size() : 0;
        const std::size_t found = line.find(word, earliest);
        if (found != std::string_view::npos && found <= offset)
            return i;
    }
    return std::nullopt;
}

}  // namespace qm
