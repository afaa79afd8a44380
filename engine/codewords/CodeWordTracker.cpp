#include "CodeWordTracker.h"

#include <algorithm>
#include <cstring>
#include <thread>
#include <unordered_map>

namespace qm {
namespace {

constexpr std::size_t kCompareStep = 4096;

std::size_t CommonPrefix(std::string_view a, std::string_view b) {
    const std::size_t most = std::min(a.size(), b.size());
    std::size_t same = 0;
    while (same + kCompareStep <= most &&
           std::memcmp(a.data() + same, b.data() + same, kCompareStep) == 0) {
        same += kCompareStep;
    }
    while (same < most && a[same] == b[same])
        ++same;
    return same;
}

// At most `most` bytes.
std::size_t CommonSuffix(std::string_view a, std::string_view b, std::size_t most) {
    const auto end = [](std::string_view text, std::size_t back) {
        return text.data() + text.size() - back;
    };
    std::size_t same = 0;
    while (same + kCompareStep <= most &&
           std::memcmp(end(a, same + kCompareStep), end(b, same + kCompareStep), kCompareStep) ==
               0) {
        same += kCompareStep;
    }
    while (same < most && a[a.size() - 1 - same] == b[b.size() - 1 - same])
        ++same;
    return same;
}

}  // namespace

// Blocks before the first difference are kept if they end a line there; blocks that start after
// the last difference, behind a line end that did not change, are kept too. The lines between
// are read again.
const std::vector<CodeWordTally>& CodeWordTracker::Update(std::string_view text) {
    const std::string_view old = previous_;
    const std::size_t prefix = CommonPrefix(old, text);
    if (prefix == old.size() && prefix == text.size())
        return tallies_;
    const std::size_t suffix = CommonSuffix(old, text, std::min(old.size(), text.size()) - prefix);
    const std::size_t changedEnd = old.size() - suffix;  // in the old text

    std::size_t first = 0, start = 0;
    while (first < blocks_.size() && start + blocks_[first].size <= prefix &&
           old[start + blocks_[first].size - 1] == '\n') {
        start += blocks_[first++].size;
    }
    const std::size_t from = start;
    std::size_t last = first;
    while (last < blocks_.size() && start <= changedEnd)
        start += blocks_[last++].size;
    const std::size_t to = text.size() - (old.size() - start);  // in the new text

    std::vector<Block> fresh = ReadBlocks(text.substr(from, to - from));
    blocks_.erase(blocks_.begin() + std::ptrdiff_t(first), blocks_.begin() + std::ptrdiff_t(last));
    blocks_.insert(blocks_.begin() + std::ptrdiff_t(first), std::make_move_iterator(fresh.begin()),
                   std::make_move_iterator(fresh.end()));
    JoinBlocks();
    // Room to grow, so that typing into a large program does not move all of its copy.
    if (previous_.capacity() < text.size())
        previous_.reserve(text.size() + text.size() / 8 + 4096);
    previous_.replace(prefix, changedEnd - prefix,
                      text.substr(prefix, text.size() - suffix - prefix));
    return tallies_;
}

std::vector<CodeWordTracker::Block> CodeWordTracker::ReadBlocks(std::string_view text) const {
    std::vector<Block> blocks;
    std::vector<std::size_t> starts;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t lineEnd = text.find('\n', std::min(pos + blockBytes_, text.size()) - 1);
        const std::size_t end = lineEnd == std::string_view::npos ? text.size() : lineEnd + 1;
        starts.push_back(pos);
        blocks.push_back({end - pos, {}});
        pos = end;
    }
    const auto read = [&](std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to; ++k)
            blocks[k].tally = TallyPart(text.substr(starts[k], blocks[k].size));
    };
    // A new program, or a large paste, is read on two cores.
    const std::size_t half = blocks.size() / 2;
    if (half == 0 || std::thread::hardware_concurrency() < 2) {
        read(0, blocks.size());
    } else {
        std::jthread helper([&] { read(half, blocks.size()); });
        read(0, half);
    }
    return blocks;
}

void CodeWordTracker::JoinBlocks() {
    std::size_t most = 0;
    for (const Block& block : blocks_)
        most += block.tally.tallies.size();
    tallies_.clear();
    tallies_.reserve(most);
    std::unordered_map<std::string_view, std::size_t> index;  // views into the blocks' words
    index.reserve(most);
    std::size_t offset = 0, lineEnds = 0;
    for (const Block& block : blocks_) {
        for (const CodeWordTally& tally : block.tally.tallies) {
            const auto [at, added] = index.try_emplace(tally.word, tallies_.size());
            if (added) {
                tallies_.push_back({tally.word, tally.count, lineEnds + tally.firstLine,
                                    offset + tally.firstOffset});
            } else {
                tallies_[at->second].count += tally.count;
            }
        }
        offset += block.size;
        lineEnds += block.tally.lineEnds;
    }
}

}  // namespace qm
