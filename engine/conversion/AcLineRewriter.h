#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "AcFromStart.h"
#include "AcRules.h"
#include "ConversionWatch.h"

namespace qm {

// Converts lines with compiled rules, giving exactly what ConvertReference gives for the line.
//
// The line is scanned once for the occurrences of every word; afterwards only the
// neighbourhood of what an entry changed is scanned again, since any occurrence that lies
// within a stretch the entry kept was there before (shifted). An entry whose inserted text
// holds no word byte, or holds its own word, replaces the occurrences of its word left to
// right, each search going on behind the last inserted text; any other entry searches again
// from the line's start after each replacement (FromStartReplacer), and falls back to going on
// behind when it needs more replacements than the line had bytes.
//
// Holds scratch space that is reused from line to line: one rewriter per thread.
class AcLineRewriter {
public:
    AcLineRewriter(const AcRules& rules, bool spaceAdd, ConversionWatch& watch);

    // Appends the converted line to out. line is one line including its LF, or the last line
    // of the text including the CR LF that conversion appends.
    void Rewrite(std::string_view line, std::string& out);
    // The entry that has grown a line the most so far, to blame when the result grows too
    // large; -1 when none has.
    int MostGrowing() const { return mostGrowing_; }

private:
    struct Occurrence {
        std::size_t start;
        std::uint32_t word;
    };

    bool FindOccurrences(std::string_view line);
    void StartLine(int entry);
    int ApplyPending();
    void Notice(std::uint32_t word);
    bool Apply(int entry);
    void ReplaceBehind(std::size_t wordLength, std::string_view insert);
    void KeepSurvivors();
    void FindNew();
    void ScanWindow(std::size_t from, std::size_t to);
    bool InsideOneRun(std::size_t start, std::size_t stop) const;
    int FinishPlainly(int fromEntry);
    bool ReplacePlainly(int entry);
    void Replaced(int entry, std::size_t sizeBefore);
    [[noreturn]] void TooLarge(int entry) const;
    std::size_t OccurrenceLimit(std::size_t lineLength) const;
    void Tick(std::size_t work);

    const AcRules& rules_;
    const bool spaceAdd_;
    ConversionWatch& watch_;
    FromStartReplacer fromStart_;
    std::string line_, next_;
    std::vector<Occurrence> occurrences_, fresh_, merged_;  // sorted by start
    std::vector<std::size_t> starts_;     // where the current entry replaces going on behind
    std::vector<std::size_t> allStarts_;  // every occurrence of its word, overlapping ones too
    std::vector<KeptRun> runs_;           // what it kept of the line
    std::vector<int> pending_;            // min-heap of entries whose word was seen
    std::vector<std::uint32_t> seen_;     // per word: stamp_ once its entries are pending
    std::uint32_t stamp_ = 0;
    int current_ = -1;                    // the entry being applied
    std::size_t limit_ = 0;               // most occurrences worth tracking for this line
    std::size_t work_ = 0;                // bytes and occurrences gone through for this line
    std::size_t workLimit_ = 0;           // beyond it plain search is cheaper
    std::size_t sincePoll_ = 0;           // work since the watch was last polled
    bool overflow_ = false;
    int mostGrowing_ = -1;
    std::size_t mostGrowth_ = 0;
};

}  // namespace qm
