#include "AcAutomaton.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace qm {

// The trie as it is first built from the sorted words: nodes in creation order, children as
// linked lists that come out sorted because the words are inserted in sorted order.
struct AcAutomaton::BuildTrie {
    std::vector<std::uint32_t> firstChild{0}, lastChild{0}, nextSibling{0}, word{kNoWord};
    std::vector<unsigned char> byte{0};

    std::uint32_t AddChild(std::uint32_t parent, unsigned char b) {
        const auto node = std::uint32_t(byte.size());
        firstChild.push_back(0);
        lastChild.push_back(0);
        nextSibling.push_back(0);
        word.push_back(kNoWord);
        byte.push_back(b);
        if (firstChild[parent] == 0) {
            firstChild[parent] = node;
        } else {
            nextSibling[lastChild[parent]] = node;
        }
        lastChild[parent] = node;
        return node;
    }

    explicit BuildTrie(const std::vector<std::string_view>& words) {
        std::vector<std::uint32_t> order(words.size());
        std::iota(order.begin(), order.end(), 0u);
        std::sort(order.begin(), order.end(),
                  [&](std::uint32_t a, std::uint32_t b) { return words[a] < words[b]; });
        std::vector<std::uint32_t> path{0};  // path[k]: node after k bytes of the previous word
        std::string_view previous;
        for (const std::uint32_t id : order) {
            const std::string_view w = words[id];
            const auto common = std::size_t(
                std::mismatch(w.begin(), w.end(), previous.begin(), previous.end()).first - w.begin());
            if (w.empty() || common == w.size()) {
                throw std::invalid_argument("AcAutomaton: words must be distinct and non-empty");
            }
            path.resize(common + 1);
            for (std::size_t i = common; i < w.size(); ++i) {
                path.push_back(AddChild(path.back(), static_cast<unsigned char>(w[i])));
            }
            word[path.back()] = id;
            previous = w;
        }
    }
};

AcAutomaton::AcAutomaton(const std::vector<std::string_view>& words, std::size_t denseCells) {
    for (const std::string_view w : words) {
        wordLength_.push_back(std::uint32_t(w.size()));
        maxWordLength_ = std::max(maxWordLength_, w.size());
    }
    AssignClasses(words);
    const BuildTrie trie(words);

    // Renumber breadth-first, so that a state's failure target always has a smaller number.
    std::vector<std::uint32_t> queue{0};
    childStart_.push_back(0);
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const std::uint32_t node = queue[head];
        word_.push_back(trie.word[node]);
        for (std::uint32_t c = trie.firstChild[node]; c != 0; c = trie.nextSibling[c]) {
            childByte_.push_back(trie.byte[c]);
            childState_.push_back(std::uint32_t(queue.size()));
            queue.push_back(c);
        }
        childStart_.push_back(std::uint32_t(childByte_.size()));
    }
    const std::size_t states = queue.size();
    denseStates_ = std::uint32_t(std::clamp<std::size_t>(denseCells >> classShift_, 1, states));
    denseCells_ = denseStates_ << classShift_;
    if (std::size_t(denseCells_) + states >= (std::size_t(1) << 31)) {
        throw std::length_error("AcAutomaton: too many states");
    }
    LinkFailures();
    FillDenseRows();
}

void AcAutomaton::AssignClasses(const std::vector<std::string_view>& words) {
    bool used[256] = {};
    for (const std::string_view w : words) {
        for (const char c : w) used[static_cast<unsigned char>(c)] = true;
        if (!w.empty()) startsWord_[static_cast<unsigned char>(w[0])] = true;
    }
    unsigned classes = 1;  // class 0 gathers every byte that occurs in no word
    for (int b = 0; b < 256; ++b) {
        if (used[b]) byteClass_[b] = static_cast<unsigned char>(classes++);
    }
    while ((1u << classShift_) < classes) ++classShift_;
}

std::uint32_t AcAutomaton::Child(std::uint32_t state, unsigned char b) const {
    const auto first = childByte_.begin() + childStart_[state];
    const auto last = childByte_.begin() + childStart_[state + 1];
    const auto found = std::lower_bound(first, last, b);
    return found != last && *found == b ? childState_[std::size_t(found - childByte_.begin())] : 0;
}

void AcAutomaton::LinkFailures() {
    const std::size_t states = word_.size();
    fail_.assign(states, 0);
    outLink_.assign(states, 0);
    for (std::uint32_t s = 0; s < states; ++s) {
        for (std::uint32_t k = childStart_[s]; k < childStart_[s + 1]; ++k) {
            const std::uint32_t child = childState_[k];
            std::uint32_t target = 0;
            for (std::uint32_t f = s; f != 0;) {
                f = fail_[f];
                target = Child(f, childByte_[k]);
                if (target != 0) break;
            }
            fail_[child] = target;
            outLink_[child] = word_[target] != kNoWord ? target : outLink_[target];
        }
    }
}

std::uint32_t AcAutomaton::Encode(std::uint32_t state) const {
    const std::uint32_t cell =
        state < denseStates_ ? state << classShift_ : denseCells_ + (state - denseStates_);
    const bool reports = word_[state] != kNoWord || outLink_[state] != 0;
    return cell << 1 | std::uint32_t(reports);
}

std::uint32_t AcAutomaton::StateOf(std::uint32_t ref) const {
    const std::uint32_t cell = ref >> 1;
    return cell < denseCells_ ? cell >> classShift_ : cell - denseCells_ + denseStates_;
}

void AcAutomaton::FillDenseRows() {
    childRef_.resize(childState_.size());
    for (std::size_t k = 0; k < childState_.size(); ++k) childRef_[k] = Encode(childState_[k]);
    const std::size_t rowCells = std::size_t(1) << classShift_;
    dense_.assign(denseCells_, 0);  // the root's row: every byte leads back to the root
    for (std::uint32_t s = 0; s < denseStates_; ++s) {
        const auto row = dense_.begin() + (std::size_t(s) << classShift_);
        // A state moves like its failure target (finished earlier: smaller number) except
        // where it has transitions of its own.
        if (s != 0) std::copy_n(dense_.begin() + (std::size_t(fail_[s]) << classShift_), rowCells, row);
        for (std::uint32_t k = childStart_[s]; k < childStart_[s + 1]; ++k) {
            row[byteClass_[childByte_[k]]] = childRef_[k];
        }
    }
}

std::uint32_t AcAutomaton::SparseStep(std::uint32_t state, unsigned char b) const {
    for (;;) {
        if (state < denseStates_) return dense_[(std::size_t(state) << classShift_) + byteClass_[b]];
        const auto first = childByte_.begin() + childStart_[state];
        const auto last = childByte_.begin() + childStart_[state + 1];
        const auto found = std::lower_bound(first, last, b);
        if (found != last && *found == b) return childRef_[std::size_t(found - childByte_.begin())];
        state = fail_[state];
    }
}

}  // namespace qm
