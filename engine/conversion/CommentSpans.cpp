#include "CommentSpans.h"

#include <algorithm>
#include <unordered_map>

#include "AcFromStart.h"
#include "Convert.h"

namespace qm {
namespace {

// Converts a line as ConvertLineReference does, keeping a flag per byte, but builds the line
// anew once per entry that occurs in it instead of moving all of it for every replacement: a
// long line full of words is marked in about the time the conversion takes.
class MarkedLineConverter {
  public:
    MarkedLineConverter(std::string& line, std::vector<bool>& flags, std::size_t sizeLimit)
        : line_(line), flags_(flags), sizeLimit_(sizeLimit) {}

    // False when the line grew past the size limit.
    bool Apply(const std::string& word, const std::string& insert) {
        if (FindWord(line_, word) == std::string::npos)
            return true;
        switch (InsertHoldsWord(word, insert) ? FromStartReplacer::Outcome::NeverEnds : FromStart(word, insert)) {
            case FromStartReplacer::Outcome::Done:
                return true;
            case FromStartReplacer::Outcome::NeverEnds:
                return Behind(word, insert);
            case FromStartReplacer::Outcome::TooLarge:
                break;
        }
        return false;
    }

  private:
    // Searching again from the line's start after every replacement; unless Done, the line is
    // untouched.
    FromStartReplacer::Outcome FromStart(const std::string& word, const std::string& insert) {
        const auto outcome = replacer_.Apply(line_, word, insert, nullptr, sizeLimit_, next_, &runs_);
        if (outcome != FromStartReplacer::Outcome::Done)
            return outcome;
        nextFlags_.assign(next_.size(), true);  // what the entry inserted
        for (const KeptRun& run : runs_) {
            std::copy_n(flags_.begin() + std::ptrdiff_t(run.oldStart), run.length,
                        nextFlags_.begin() + std::ptrdiff_t(run.newStart));
        }
        Take();
        return outcome;
    }

    // Every occurrence left to right, the search going on behind each inserted comment; false
    // when the line would grow past the limit.
    bool Behind(const std::string& word, const std::string& insert) {
        next_.clear();
        nextFlags_.clear();
        std::size_t from = 0;
        for (std::size_t at = FindWord(line_, word); at != std::string::npos;
             at = FindWord(line_, word, at + word.size())) {
            Keep(from, at);
            next_.append(insert);
            nextFlags_.insert(nextFlags_.end(), insert.size(), true);
            from = at + word.size();
            if (next_.size() > sizeLimit_)
                return false;
        }
        Keep(from, line_.size());
        Take();
        return true;
    }

    void Keep(std::size_t from, std::size_t to) {
        next_.append(line_, from, to - from);
        nextFlags_.insert(nextFlags_.end(), flags_.begin() + std::ptrdiff_t(from),
                          flags_.begin() + std::ptrdiff_t(to));
    }

    void Take() {
        line_.swap(next_);
        flags_.swap(nextFlags_);
    }

    std::string& line_;
    std::vector<bool>& flags_;
    const std::size_t sizeLimit_;
    FromStartReplacer replacer_;
    std::string next_;
    std::vector<bool> nextFlags_;
    std::vector<KeptRun> runs_;
};

}  // namespace

void CommentSpanFinder::Use(const DictionaryTable& table, bool SpaceAdd) {
    const std::uint64_t fingerprint = Fingerprint(table);
    table_ = &table;
    if (ready_ && fingerprint == fingerprint_ && SpaceAdd == spaceAdd_)
        return;
    inserts_ = EntryInserts(table, SpaceAdd);
    if (!ready_ || fingerprint != fingerprint_)
        IndexWords(table);
    fingerprint_ = fingerprint;
    spaceAdd_ = SpaceAdd;
    ready_ = true;
}

MarkedLine CommentSpanFinder::Mark(std::string_view sourceLine) const {
    return *MarkWithin(sourceLine, std::string::npos);
}

std::optional<MarkedLine> CommentSpanFinder::MarkWithin(std::string_view sourceLine, std::size_t sizeLimit) const {
    MarkedLine marked{std::string(sourceLine), {}};
    if (marked.text.empty() || marked.text.back() != '\n')
        marked.text += "\r\n";
    marked.inserted.assign(marked.text.size(), false);
    if (table_ == nullptr)
        return marked;
    MarkedLineConverter converter(marked.text, marked.inserted, sizeLimit);
    std::vector<char> present;
    WordsPresent(marked.text, present);
    for (int i = 0; i <= table_->LastIndex; ++i) {
        const std::uint32_t word = entryWord_[std::size_t(i)];
        if (word == AcAutomaton::kNoWord || !present[word])
            continue;
        if (!converter.Apply(table_->entries[i].word, inserts_[std::size_t(i)]))
            return std::nullopt;
        WordsPresent(marked.text, present);  // the entry changed the line
    }
    return marked;
}

void CommentSpanFinder::IndexWords(const DictionaryTable& table) {
    std::unordered_map<std::string_view, std::uint32_t> numbers;
    std::vector<std::string_view> words;
    entryWord_.assign(std::size_t(table.LastIndex + 1), AcAutomaton::kNoWord);
    for (int i = 0; i <= table.LastIndex; ++i) {
        const std::string& word = table.entries[i].word;
        if (word.empty())
            continue;
        const auto [found, added] = numbers.try_emplace(word, std::uint32_t(words.size()));
        if (added)
            words.push_back(word);
        entryWord_[std::size_t(i)] = found->second;
    }
    words_ = std::make_shared<const AcAutomaton>(words);
}

void CommentSpanFinder::WordsPresent(std::string_view line, std::vector<char>& present) const {
    present.assign(words_->WordCount(), 0);
    words_->Scan(line, [&present](std::uint32_t word, std::size_t) { present[word] = 1; });
}

std::optional<std::vector<ByteSpan>> CommentSpanFinder::Spans(
    std::string_view sourceLine, std::string_view convertedLine) const {
    // Far more than a line grows on the way to its result with any real dictionary.
    const std::size_t sizeLimit = 64 * (sourceLine.size() + convertedLine.size()) + (std::size_t(64) << 10);
    const std::optional<MarkedLine> marked = MarkWithin(sourceLine, sizeLimit);
    if (!marked || marked->text != convertedLine)
        return std::nullopt;
    return FlaggedSpans(marked->inserted);
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
