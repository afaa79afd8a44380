#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AcAutomaton.h"
#include "Dictionary.h"

namespace qm {

// Bytes [from, to) of a line.
struct ByteSpan {
    std::size_t from = 0, to = 0;
    friend bool operator==(const ByteSpan&, const ByteSpan&) = default;
};

// One line converted by the conversion rule, with a flag per byte: true where the byte came
// from a dictionary comment.
struct MarkedLine {
    std::string text;
    std::vector<bool> inserted;
};

// Finds which parts of a converted line the dictionary inserted, one line at a time, so that a
// window can mark the comments of just the lines it shows. The comments in proper case are
// worked out once per dictionary and SpaceAdd and kept until either changes.
class CommentSpanFinder {
  public:
    // The dictionary and option the next lines were converted with; cheap when unchanged.
    void Use(const DictionaryTable& table, bool SpaceAdd);

    // Converts one source line (with or without its line end; a line without one gets the
    // CR LF that conversion appends to the text) and flags its inserted bytes.
    MarkedLine Mark(std::string_view sourceLine) const;

    // The inserted spans of convertedLine, when it is what sourceLine converts to; nothing
    // when it is not (the converted text is out of date, or was edited by hand), nor when the
    // line grows on the way far past convertedLine (a dictionary whose comments grow lines
    // without end, whose conversion was stopped).
    std::optional<std::vector<ByteSpan>> Spans(std::string_view sourceLine,
                                               std::string_view convertedLine) const;

  private:
    std::optional<MarkedLine> MarkWithin(std::string_view sourceLine, std::size_t sizeLimit) const;
    void IndexWords(const DictionaryTable& table);
    void WordsPresent(std::string_view line, std::vector<char>& present) const;

    const DictionaryTable* table_ = nullptr;
    std::uint64_t fingerprint_ = 0;
    bool spaceAdd_ = false;
    bool ready_ = false;
    std::vector<std::string> inserts_;
    // The dictionary's words, so that one scan of a line tells which entries can change it.
    std::shared_ptr<const AcAutomaton> words_;
    std::vector<std::uint32_t> entryWord_;  // per entry, its word's number in words_
};

// The runs of true flags.
std::vector<ByteSpan> FlaggedSpans(const std::vector<bool>& flags);

// The entry whose word the conversion would replace at byte offset of line: the first entry in
// table order with an occurrence covering that byte. Nothing when no word covers it.
std::optional<int> EntryCovering(const DictionaryTable& table, std::string_view line,
                                 std::size_t offset);

}  // namespace qm
