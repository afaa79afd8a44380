#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>
#include <vector>

namespace qm {

// Aho-Corasick automaton over a set of distinct, non-empty byte strings ("words").
//
// Shallow states (in breadth-first order) get a full transition row over byte classes, so the
// hot loop is one table load per byte; deeper states beyond a memory budget keep only their own
// sorted transitions plus a failure link. A state reference carries, in its lowest bit, whether
// some word ends at that state, so scanning tests one bit to know that there is nothing to report.
class AcAutomaton {
public:
    static constexpr std::uint32_t kNoWord = UINT32_MAX;
    // Cells of the full-row table; 4 MiB cells are 16 MiB, far more than real vocabularies need.
    static constexpr std::size_t kDefaultDenseCells = std::size_t(1) << 22;

    AcAutomaton() : AcAutomaton(std::vector<std::string_view>{}) {}
    // words[i] gets the id i. Words must be distinct and non-empty.
    explicit AcAutomaton(const std::vector<std::string_view>& words,
                         std::size_t denseCells = kDefaultDenseCells);

    std::size_t WordCount() const { return wordLength_.size(); }
    std::size_t WordLength(std::uint32_t word) const { return wordLength_[word]; }
    std::size_t MaxWordLength() const { return maxWordLength_; }
    // True when the byte occurs in some word; text made only of other bytes never takes part in
    // a match.
    bool IsWordByte(unsigned char b) const { return byteClass_[b] != 0; }

    // Calls onMatch(word, start) for every occurrence of every word inside text (start is the
    // offset in text), in order of end position; at one end position longer words come first.
    // A callback that returns bool stops the scan by returning false.
    template <class OnMatch>
    void Scan(std::string_view text, OnMatch&& onMatch) const;

private:
    struct BuildTrie;

    std::uint32_t Step(std::uint32_t ref, unsigned char b) const {
        const std::uint32_t cell = ref >> 1;
        if (cell < denseCells_) [[likely]] return dense_[cell + byteClass_[b]];
        return SparseStep(cell - denseCells_ + denseStates_, b);
    }
    std::uint32_t SparseStep(std::uint32_t state, unsigned char b) const;
    std::uint32_t StateOf(std::uint32_t ref) const;
    std::uint32_t Encode(std::uint32_t state) const;

    void AssignClasses(const std::vector<std::string_view>& words);
    void LinkFailures();
    void FillDenseRows();
    std::uint32_t Child(std::uint32_t state, unsigned char b) const;  // or 0 (the root)

    unsigned char byteClass_[256] = {};  // 0: the byte occurs in no word
    bool startsWord_[256] = {};
    unsigned classShift_ = 0;            // a full row has 1 << classShift_ cells
    std::uint32_t denseStates_ = 0;      // states 0 .. denseStates_-1 have full rows
    std::uint32_t denseCells_ = 0;       // denseStates_ << classShift_
    std::vector<std::uint32_t> dense_;   // full rows: references of the next state

    // Per state, in breadth-first order (0 is the root).
    std::vector<std::uint32_t> childStart_;   // children of s: childStart_[s] .. childStart_[s+1]
    std::vector<unsigned char> childByte_;    // sorted within a state
    std::vector<std::uint32_t> childState_;
    std::vector<std::uint32_t> childRef_;     // childState_ encoded as references
    std::vector<std::uint32_t> fail_;
    std::vector<std::uint32_t> word_;     // the word ending exactly here, or kNoWord
    std::vector<std::uint32_t> outLink_;  // nearest proper suffix state with a word, or 0

    std::vector<std::uint32_t> wordLength_;
    std::size_t maxWordLength_ = 0;
};

template <class OnMatch>
void AcAutomaton::Scan(std::string_view text, OnMatch&& onMatch) const {
    const auto* const begin = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = begin + text.size();
    const auto* p = begin;
    std::uint32_t ref = 0;  // the root: no word ends there
    while (p < end) {
        if (ref == 0) {  // from the root, bytes that start no word lead back to it
            while (p < end && !startsWord_[*p]) ++p;
            if (p == end) break;
        }
        ref = Step(ref, *p++);
        if (ref & 1) [[unlikely]] {
            const std::size_t stop = std::size_t(p - begin);
            std::uint32_t state = StateOf(ref);
            if (word_[state] == kNoWord) state = outLink_[state];
            for (; state != 0; state = outLink_[state]) {
                if constexpr (std::is_same_v<decltype(onMatch(kNoWord, stop)), bool>) {
                    if (!onMatch(word_[state], stop - wordLength_[word_[state]])) return;
                } else {
                    onMatch(word_[state], stop - wordLength_[word_[state]]);
                }
            }
        }
    }
}

}  // namespace qm
