#include "AcLineRewriter.h"

#include <algorithm>
#include <functional>
#include <iterator>

namespace qm {
namespace {

// Past this many tracked occurrences per byte of line (words nesting inside long runs of one
// character), plain searching is cheaper than keeping them up to date.
constexpr std::size_t kOccurrencesPerByte = 8;
constexpr std::size_t kOccurrenceAllowance = 1024;
// Tracking may cost at most this many times what searching the line once per entry would
// (a long line holding thousands of different words), so it is never much slower than that.
constexpr std::size_t kWorkPerPlainSearch = 4;

constexpr auto kByStart = [](const auto& a, const auto& b) { return a.start < b.start; };

std::size_t OccurrenceLimit(std::size_t lineLength) {
    return kOccurrencesPerByte * lineLength + kOccurrenceAllowance;
}

}  // namespace

AcLineRewriter::AcLineRewriter(const AcRules& rules, bool spaceAdd)
    : rules_(rules), spaceAdd_(spaceAdd), seen_(rules.words.size(), 0) {}

void AcLineRewriter::Rewrite(std::string_view line, std::string& out) {
    if (!FindOccurrences(line)) {  // the common case: nothing to replace
        out.append(line);
        return;
    }
    line_.assign(line);
    StartLine();
    if (overflow_) {
        FinishPlainly(0);
    } else {
        ApplyPending();
    }
    out.append(line_);
}

// Scans the original line; false when no word occurs in it.
bool AcLineRewriter::FindOccurrences(std::string_view line) {
    occurrences_.clear();
    overflow_ = false;
    limit_ = OccurrenceLimit(line.size());
    rules_.automaton.Scan(line, [this](std::uint32_t word, std::size_t start) {
        if (occurrences_.size() < limit_) {
            occurrences_.push_back({start, word});
        } else {
            overflow_ = true;
        }
    });
    return !occurrences_.empty();
}

// Applies the entries whose words were seen, in table order, as new words keep turning up.
void AcLineRewriter::ApplyPending() {
    std::sort(occurrences_.begin(), occurrences_.end(), kByStart);
    for (const Occurrence& o : occurrences_) Notice(o.word);
    while (!pending_.empty()) {
        std::pop_heap(pending_.begin(), pending_.end(), std::greater<>());
        current_ = pending_.back();
        pending_.pop_back();
        if (!Apply(current_)) {
            FinishPlainly(current_ + 1);
            return;
        }
    }
}

void AcLineRewriter::StartLine() {
    if (++stamp_ == 0) {
        std::fill(seen_.begin(), seen_.end(), 0);
        stamp_ = 1;
    }
    pending_.clear();
    current_ = -1;
    work_ = 0;
    workLimit_ = kWorkPerPlainSearch * std::size_t(rules_.lastIndex + 1) * line_.size() + kOccurrenceAllowance;
}

// Makes the entries of a word that appeared in the line pending. Entries up to the current one
// are past; later ones stay pending even if the word disappears again, which costs only a look.
void AcLineRewriter::Notice(std::uint32_t word) {
    if (seen_[word] == stamp_) return;
    seen_[word] = stamp_;
    const auto first = rules_.wordEntries.begin() + rules_.wordEntryStart[word];
    const auto last = rules_.wordEntries.begin() + rules_.wordEntryStart[word + 1];
    for (auto entry = std::upper_bound(first, last, current_); entry != last; ++entry) {
        pending_.push_back(*entry);
        std::push_heap(pending_.begin(), pending_.end(), std::greater<>());
    }
}

// Replaces the entry's word where the reference search would; false when tracking the line's
// occurrences further costs more than plain search.
bool AcLineRewriter::Apply(int entry) {
    work_ += occurrences_.size();
    const std::uint32_t word = rules_.entryWord[std::size_t(entry)];
    const std::size_t length = rules_.automaton.WordLength(word);
    starts_.clear();
    std::size_t reach = 0;  // an occurrence overlapping a chosen one is skipped, like find() does
    for (const Occurrence& o : occurrences_) {
        if (o.word == word && o.start >= reach) {
            starts_.push_back(o.start);
            reach = o.start + length;
        }
    }
    if (starts_.empty()) return work_ <= workLimit_;
    const std::string_view insert = rules_.Insert(entry, spaceAdd_);
    Splice(length, insert);
    work_ += line_.size();
    KeepSurvivors(length, insert.size());
    limit_ = OccurrenceLimit(line_.size());
    if (!rules_.Inert(entry, spaceAdd_)) FindNew(insert.size());
    return !overflow_ && work_ <= workLimit_;
}

void AcLineRewriter::Splice(std::size_t wordLength, std::string_view insert) {
    next_.clear();
    inserted_.clear();
    std::size_t from = 0;
    for (const std::size_t start : starts_) {
        next_.append(line_, from, start - from);
        inserted_.push_back(next_.size());
        next_.append(insert);
        from = start + wordLength;
    }
    next_.append(line_, from);
    line_.swap(next_);
}

// Drops the occurrences a replacement cut into and those no later entry needs; moves the rest
// to their place in the new line.
void AcLineRewriter::KeepSurvivors(std::size_t wordLength, std::size_t insertLength) {
    std::size_t k = 0, kept = 0;
    for (Occurrence o : occurrences_) {
        while (k < starts_.size() && starts_[k] + wordLength <= o.start) ++k;
        const std::size_t stop = o.start + rules_.automaton.WordLength(o.word);
        if (k < starts_.size() && starts_[k] < stop) continue;
        if (rules_.LastEntryOf(o.word) <= current_) continue;
        o.start = o.start - k * wordLength + k * insertLength;
        occurrences_[kept++] = o;
    }
    occurrences_.resize(kept);
}

// Scans the neighbourhood of each inserted text (a word's length minus one on either side) for
// occurrences that touch it; neighbourhoods that overlap are scanned as one window.
void AcLineRewriter::FindNew(std::size_t insertLength) {
    fresh_.clear();
    const std::size_t reach = rules_.automaton.MaxWordLength() - 1;
    const auto windowStart = [&](std::size_t k) { return inserted_[k] - std::min(inserted_[k], reach); };
    const auto windowEnd = [&](std::size_t k) {
        return std::min(line_.size(), inserted_[k] + insertLength + reach);
    };
    for (std::size_t k = 0; k < inserted_.size();) {
        const std::size_t first = k;
        std::size_t to = windowEnd(k);
        while (++k < inserted_.size() && windowStart(k) < to) to = windowEnd(k);
        ScanWindow(windowStart(first), to, first, k, insertLength);
    }
    if (fresh_.empty()) return;
    std::sort(fresh_.begin(), fresh_.end(), kByStart);
    merged_.clear();
    std::merge(occurrences_.begin(), occurrences_.end(), fresh_.begin(), fresh_.end(),
               std::back_inserter(merged_), kByStart);
    occurrences_.swap(merged_);
}

// Keeps the occurrences in line_[from, to) that touch one of the inserted texts
// inserted_[firstInsert, endInsert). With empty inserted text, touching means spanning the join.
void AcLineRewriter::ScanWindow(std::size_t from, std::size_t to, std::size_t firstInsert,
                                std::size_t endInsert, std::size_t insertLength) {
    std::size_t k = firstInsert;  // the last insertion that starts before the occurrence ends
    const std::string_view window = std::string_view(line_).substr(from, to - from);
    rules_.automaton.Scan(window, [&](std::uint32_t word, std::size_t offset) {
        const std::size_t start = from + offset;
        const std::size_t stop = start + rules_.automaton.WordLength(word);
        while (k + 1 < endInsert && inserted_[k + 1] < stop) ++k;
        const bool touches = inserted_[k] < stop && inserted_[k] + insertLength > start;
        if (!touches || rules_.LastEntryOf(word) <= current_) return;
        if (occurrences_.size() + fresh_.size() >= limit_) {
            overflow_ = true;
            return;
        }
        fresh_.push_back({start, word});
        Notice(word);
    });
}

// The reference loop for the remaining entries, for lines where tracking occurrences costs more.
void AcLineRewriter::FinishPlainly(int fromEntry) {
    for (int i = fromEntry; i <= rules_.lastIndex; ++i) {
        const std::uint32_t word = rules_.entryWord[std::size_t(i)];
        if (word == AcAutomaton::kNoWord) continue;
        const std::string_view w = rules_.Word(word);
        std::size_t at = line_.find(w);
        if (at == std::string::npos) continue;
        const std::string_view insert = rules_.Insert(i, spaceAdd_);
        next_.clear();
        std::size_t from = 0;
        // Searching on behind the replaced word in the old line is searching on behind the
        // inserted text in the new one.
        for (; at != std::string::npos; at = line_.find(w, at + w.size())) {
            next_.append(line_, from, at - from);
            next_.append(insert);
            from = at + w.size();
        }
        next_.append(line_, from);
        line_.swap(next_);
    }
}

}  // namespace qm
