#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "CodeWords.h"

namespace qm {

// The code words of a text that is edited and tallied again and again. The text is kept in
// blocks of whole lines, each with its own tallies; a new text is compared with the last one,
// and only the blocks where they differ are read again, so an edit in a large program costs a
// comparison of the texts, not a new reading of them. The result is always exactly
// TallyCodeWords(text).
class CodeWordTracker {
  public:
    // blockBytes: about how large a block is; tests make it small.
    explicit CodeWordTracker(std::size_t blockBytes = std::size_t(256) << 10)
        : blockBytes_(blockBytes) {}

    const std::vector<CodeWordTally>& Update(std::string_view text);

  private:
    struct Block {
        std::size_t size = 0;
        PartTally tally;
    };

    // Tallies the lines of text in blocks.
    std::vector<Block> ReadBlocks(std::string_view text) const;
    void JoinBlocks();

    std::size_t blockBytes_;
    std::string previous_;
    std::vector<Block> blocks_;
    std::vector<CodeWordTally> tallies_;
};

}  // namespace qm
