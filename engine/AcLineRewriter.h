#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "AcRules.h"

namespace qm {

// Converts lines with compiled rules, giving exactly what ConvertReference gives for the line.
//
// Entry i replaces, left to right, every occurrence of its word that does not overlap one it
// already replaced, so all it needs are the occurrences of its word in the line as it finds it.
// The line is scanned once; afterwards only the neighbourhood of inserted text is scanned
// again, since any occurrence that touches no inserted text was there before (shifted).
//
// Holds scratch space that is reused from line to line: one rewriter per thread.
class AcLineRewriter {
public:
    AcLineRewriter(const AcRules& rules, bool spaceAdd);

    // Appends the converted line to out. line is one line including its LF, or the last line
    // of the text including the CR LF that conversion appends.
    void Rewrite(std::string_view line, std::string& out);

private:
    struct Occurrence {
        std::size_t start;
        std::uint32_t word;
    };

    bool FindOccurrences(std::string_view line);
    void StartLine();
    void ApplyPending();
    void Notice(std::uint32_t word);
    bool Apply(int entry);
    void Splice(std::size_t wordLength, std::string_view insert);
    void KeepSurvivors(std::size_t wordLength, std::size_t insertLength);
    void FindNew(std::size_t insertLength);
    void ScanWindow(std::size_t from, std::size_t to, std::size_t firstInsert,
                    std::size_t endInsert, std::size_t insertLength);
    void FinishPlainly(int fromEntry);

    const AcRules& rules_;
    const bool spaceAdd_;
    std::string line_, next_;
    std::vector<Occurrence> occurrences_, fresh_, merged_;  // sorted by start
    std::vector<std::size_t> starts_;    // where the current entry replaces, in the old line
    std::vector<std::size_t> inserted_;  // where its text went, in the new line
    std::vector<int> pending_;           // min-heap of entries whose word was seen
    std::vector<std::uint32_t> seen_;    // per word: stamp_ once its entries are pending
    std::uint32_t stamp_ = 0;
    int current_ = -1;                   // the entry being applied
    std::size_t limit_ = 0;              // most occurrences worth tracking for this line
    std::size_t work_ = 0;               // bytes and occurrences gone through for this line
    std::size_t workLimit_ = 0;          // beyond it plain search is cheaper
    bool overflow_ = false;
};

}  // namespace qm
