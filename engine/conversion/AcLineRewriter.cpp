#include "AcLineRewriter.h"

#include <algorithm>
#include <functional>
#include <iterator>

namespace qm {
namespace {

// Past this many tracked occurrences per byte of line (words nesting inside long runs of one
// character), plain searching is cheaper than keeping them up to date.
constexpr std::size_t kOccurrencesPerByte = 2;
constexpr std::size_t kOccurrenceAllowance = 1024;
// Tracking may cost at most this many times what searching the line once per entry would
// (a long line holding thousands of different words), so it is never much slower than that.
constexpr std::size_t kWorkPerPlainSearch = 4;
// Bytes and occurrences gone through between two looks at the conversion's watch.
constexpr std::size_t kPollEvery = std::size_t(1) << 20;

// Tracking a line's occurrences holds several copies of them (about a hundred bytes each, with
// room to grow). Beyond one occurrence per this many bytes of the result limit, as in a line
// that a runaway dictionary doubles again and again, the line goes on by plain search, which
// holds no more than the line itself: memory stays within a few times the limit.
constexpr std::size_t kLimitBytesPerOccurrence = 256;

constexpr auto kByStart = [](const auto& a, const auto& b) { return a.start < b.start; };

}  // namespace

std::size_t AcLineRewriter::OccurrenceLimit(std::size_t lineLength) const {
    return std::min(kOccurrencesPerByte * lineLength, watch_.Limit() / kLimitBytesPerOccurrence) +
           kOccurrenceAllowance;
}

AcLineRewriter::AcLineRewriter(const AcRules& rules, bool spaceAdd, ConversionWatch& watch)
    : rules_(rules), spaceAdd_(spaceAdd), watch_(watch), seen_(rules.words.size(), 0) {}

void AcLineRewriter::Rewrite(std::string_view line, std::string& out) {
    if (!FindOccurrences(line)) {  // the common case: nothing to replace
        out.append(line);
        return;
    }
    line_.assign(line);
    const int end = rules_.lastIndex + 1;
    for (int from = 0;;) {  // entries before from are applied
        StartLine(from - 1);
        if (!overflow_) from = ApplyPending();
        if (from < end) from = FinishPlainly(from);
        if (from >= end) break;
    }
    out.append(line_);
}

// Scans the line; false when no word occurs in it. Stops at the first occurrence
// beyond what is worth tracking.
bool AcLineRewriter::FindOccurrences(std::string_view line) {
    occurrences_.clear();
    overflow_ = false;
    limit_ = OccurrenceLimit(line.size());
    rules_.automaton.Scan(line, [this](std::uint32_t word, std::size_t start) {
        // Measured against the bytes scanned so far, so that a line which starts with a long
        // run of nesting words gives up at once.
        const std::size_t scanned = start + rules_.automaton.WordLength(word);
        if (occurrences_.size() >= OccurrenceLimit(scanned)) return !(overflow_ = true);
        occurrences_.push_back({start, word});
        return true;
    });
    return !occurrences_.empty();
}

// Applies the entries after current_ whose words were seen, in table order, as new words keep
// turning up. Returns the first entry left to plain search: one past the last when none is.
int AcLineRewriter::ApplyPending() {
    std::sort(occurrences_.begin(), occurrences_.end(), kByStart);
    for (const Occurrence& o : occurrences_) Notice(o.word);
    while (!pending_.empty()) {
        std::pop_heap(pending_.begin(), pending_.end(), std::greater<>());
        current_ = pending_.back();
        pending_.pop_back();
        if (!Apply(current_)) return current_ + 1;
    }
    return rules_.lastIndex + 1;
}

// Starts tracking the occurrences found in line_ for the entries after entry.
void AcLineRewriter::StartLine(int entry) {
    if (++stamp_ == 0) {
        std::fill(seen_.begin(), seen_.end(), 0);
        stamp_ = 1;
    }
    pending_.clear();
    current_ = entry;
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
    Tick(occurrences_.size());
    const std::uint32_t word = rules_.entryWord[std::size_t(entry)];
    const std::size_t length = rules_.automaton.WordLength(word);
    starts_.clear();
    allStarts_.clear();
    std::size_t reach = 0;  // an occurrence overlapping a chosen one is skipped, like find() does
    for (const Occurrence& o : occurrences_) {
        if (o.word != word) continue;
        allStarts_.push_back(o.start);
        if (o.start >= reach) {
            starts_.push_back(o.start);
            reach = o.start + length;
        }
    }
    if (starts_.empty()) return work_ <= workLimit_;
    const std::string_view insert = rules_.Insert(entry, spaceAdd_);
    const std::size_t sizeBefore = line_.size();
    if (rules_.Inert(entry, spaceAdd_) || rules_.HoldsWord(entry, spaceAdd_)) {
        ReplaceBehind(length, insert);
    } else {
        switch (fromStart_.Apply(line_, rules_.Word(word), insert, &allStarts_, watch_.Limit(), next_, &runs_)) {
            case FromStartReplacer::Outcome::Done:
                line_.swap(next_);
                break;
            case FromStartReplacer::Outcome::NeverEnds:
                watch_.NoteNeverEnding();
                ReplaceBehind(length, insert);
                break;
            case FromStartReplacer::Outcome::TooLarge:
                TooLarge(entry);
        }
    }
    Replaced(entry, sizeBefore);
    work_ += line_.size();
    Tick(line_.size());
    KeepSurvivors();
    limit_ = OccurrenceLimit(line_.size());
    if (!rules_.Inert(entry, spaceAdd_)) FindNew();
    return !overflow_ && work_ <= workLimit_;
}

// Replaces at starts_, noting what stays of the line.
void AcLineRewriter::ReplaceBehind(std::size_t wordLength, std::string_view insert) {
    const std::size_t room = watch_.Limit() - std::min(watch_.Limit(), line_.size());
    if (insert.size() > wordLength && insert.size() - wordLength > room / starts_.size()) TooLarge(current_);
    next_.clear();
    next_.reserve(line_.size() + starts_.size() * insert.size());  // no doubling past what it needs
    runs_.clear();
    std::size_t from = 0;
    for (const std::size_t start : starts_) {
        if (start > from) runs_.push_back({next_.size(), from, start - from});
        next_.append(line_, from, start - from);
        next_.append(insert);
        from = start + wordLength;
    }
    if (from < line_.size()) runs_.push_back({next_.size(), from, line_.size() - from});
    next_.append(line_, from);
    line_.swap(next_);
}

// Drops the occurrences a replacement cut into and those no later entry needs; moves the rest
// to their place in the new line.
void AcLineRewriter::KeepSurvivors() {
    std::size_t r = 0, kept = 0;
    for (Occurrence o : occurrences_) {
        if (rules_.LastEntryOf(o.word) <= current_) continue;
        while (r < runs_.size() && runs_[r].oldStart + runs_[r].length <= o.start) ++r;
        if (r == runs_.size()) break;
        const KeptRun& run = runs_[r];
        const std::size_t stop = o.start + rules_.automaton.WordLength(o.word);
        if (o.start < run.oldStart || stop > run.oldStart + run.length) continue;
        o.start = run.newStart + (o.start - run.oldStart);
        occurrences_[kept++] = o;
    }
    occurrences_.resize(kept);
}

// Scans the neighbourhood (a word's length minus one on either side) of every stretch the
// entry changed, including the joins where it removed a word and inserted nothing, for
// occurrences that do not lie within a kept stretch; neighbourhoods that overlap are scanned
// as one window.
void AcLineRewriter::FindNew() {
    fresh_.clear();
    const std::size_t reach = rules_.automaton.MaxWordLength() - 1;
    constexpr std::size_t kNone = std::string::npos;
    std::size_t windowFrom = kNone, windowTo = 0;
    const auto changed = [&](std::size_t from, std::size_t to) {
        from -= std::min(from, reach);
        to = std::min(line_.size(), to + reach);
        if (windowFrom != kNone && from <= windowTo) {
            windowTo = std::max(windowTo, to);
            return;
        }
        if (windowFrom != kNone) ScanWindow(windowFrom, windowTo);
        windowFrom = from;
        windowTo = to;
    };
    std::size_t keptEnd = 0;
    for (std::size_t r = 0; r < runs_.size(); ++r) {
        if (r > 0 || runs_[r].newStart > 0) changed(keptEnd, runs_[r].newStart);
        keptEnd = runs_[r].newStart + runs_[r].length;
    }
    if (runs_.empty() || keptEnd < line_.size()) changed(keptEnd, line_.size());
    if (windowFrom != kNone) ScanWindow(windowFrom, windowTo);
    if (fresh_.empty()) return;
    std::sort(fresh_.begin(), fresh_.end(), kByStart);
    merged_.clear();
    std::merge(occurrences_.begin(), occurrences_.end(), fresh_.begin(), fresh_.end(),
               std::back_inserter(merged_), kByStart);
    occurrences_.swap(merged_);
}

bool AcLineRewriter::InsideOneRun(std::size_t start, std::size_t stop) const {
    const auto after = std::upper_bound(runs_.begin(), runs_.end(), start,
                                        [](std::size_t at, const KeptRun& run) { return at < run.newStart; });
    if (after == runs_.begin()) return false;
    const KeptRun& run = *std::prev(after);
    return stop <= run.newStart + run.length;
}

// Keeps the occurrences in line_[from, to) that are new: not within one kept stretch.
void AcLineRewriter::ScanWindow(std::size_t from, std::size_t to) {
    const std::string_view window = std::string_view(line_).substr(from, to - from);
    rules_.automaton.Scan(window, [&](std::uint32_t word, std::size_t offset) {
        const std::size_t start = from + offset;
        if (rules_.LastEntryOf(word) <= current_ ||
            InsideOneRun(start, start + rules_.automaton.WordLength(word))) {
            return true;
        }
        if (occurrences_.size() + fresh_.size() >= limit_) return !(overflow_ = true);
        fresh_.push_back({start, word});
        Notice(word);
        return true;
    });
}

// The reference loop for the entries from fromEntry on, for lines where tracking occurrences
// costs more. Once an entry has changed the line so that tracking is cheap again (it replaced
// the long runs of nesting words), returns the entry after it with the line's occurrences
// found; one past the last entry when the line is done.
int AcLineRewriter::FinishPlainly(int fromEntry) {
    for (int i = fromEntry; i <= rules_.lastIndex; ++i) {
        if (!ReplacePlainly(i)) continue;
        if (!FindOccurrences(line_)) break;  // no word is left
        if (!overflow_) return i + 1;
    }
    return rules_.lastIndex + 1;
}

// Applies one entry by plain search; false when its word is not in the line.
bool AcLineRewriter::ReplacePlainly(int entry) {
    const std::uint32_t word = rules_.entryWord[std::size_t(entry)];
    if (word == AcAutomaton::kNoWord) return false;
    Tick(line_.size());
    const std::string_view w = rules_.Word(word);
    std::size_t at = FindWord(line_, w);
    if (at == std::string::npos) return false;
    const std::string_view insert = rules_.Insert(entry, spaceAdd_);
    const std::size_t sizeBefore = line_.size();
    if (!rules_.Inert(entry, spaceAdd_) && !rules_.HoldsWord(entry, spaceAdd_)) {
        switch (fromStart_.Apply(line_, w, insert, nullptr, watch_.Limit(), next_, nullptr)) {
            case FromStartReplacer::Outcome::Done:
                line_.swap(next_);
                Replaced(entry, sizeBefore);
                return true;
            case FromStartReplacer::Outcome::NeverEnds:
                watch_.NoteNeverEnding();
                break;
            case FromStartReplacer::Outcome::TooLarge:
                TooLarge(entry);
        }
    }
    next_.clear();
    std::size_t from = 0;
    // Searching on behind the replaced word in the old line is searching on behind the
    // inserted text in the new one.
    for (; at != std::string::npos; at = FindWord(line_, w, at + w.size())) {
        next_.append(line_, from, at - from);
        next_.append(insert);
        from = at + w.size();
        if (next_.size() > watch_.Limit()) TooLarge(entry);
    }
    next_.append(line_, from);
    line_.swap(next_);
    Replaced(entry, sizeBefore);
    return true;
}

// Keeps account of which entry grows lines most, and stops a line that outgrows the limit.
void AcLineRewriter::Replaced(int entry, std::size_t sizeBefore) {
    if (line_.size() > sizeBefore && line_.size() - sizeBefore > mostGrowth_) {
        mostGrowth_ = line_.size() - sizeBefore;
        mostGrowing_ = entry;
    }
    if (line_.size() > watch_.Limit()) TooLarge(entry);
}

void AcLineRewriter::TooLarge(int entry) const {
    throw ConversionTooLarge(TooLargeMessage(watch_.Limit(), rules_.Word(rules_.entryWord[std::size_t(entry)]),
                                             rules_.Insert(entry, spaceAdd_)));
}

void AcLineRewriter::Tick(std::size_t work) {
    sincePoll_ += work;
    if (sincePoll_ < kPollEvery) return;
    sincePoll_ = 0;
    watch_.Poll();
}

}  // namespace qm
