#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// A stretch of a line that a replacement left as it was: length bytes at oldStart in the line
// before, at newStart in the line after.
struct KeptRun {
    std::size_t newStart, oldStart, length;
};

// Applies one entry to a line with the search starting again at the line's first character
// after every replacement, without going through the line again each time.
//
// Before a replacement at p the line held no occurrence that starts before p, so afterwards one
// can start no earlier than p - (word length - 1): it must reach into the inserted text. The
// line is built from left to right in out: the next occurrence starts in the last bytes of out
// and reaches into what was inserted last, or starts in what is left of earlier inserted text
// (pending), or is the next occurrence of the line as it was. What lies more than a word's
// length before the last insertion is final; inserted text behind an occurrence that a
// replacement cut out is set aside as pending instead of being shifted.
class FromStartReplacer {
public:
    enum class Outcome { Done, NeverEnds, TooLarge };

    // Builds in out the line after the entry, and in runs (unless null) what it kept of line,
    // in order.
    // oldStarts: every start of word in line, ascending, when known (else they are searched for).
    // NeverEnds (out unusable): more replacements than line has bytes; TooLarge: out grew past
    // sizeLimit.
    Outcome Apply(std::string_view line, std::string_view word, std::string_view insert,
                  const std::vector<std::size_t>* oldStarts, std::size_t sizeLimit, std::string& out,
                  std::vector<KeptRun>* runs);

private:
    std::string_view Pending() const { return std::string_view(pending_).substr(pendingStart_); }
    void SetAside(std::string_view text);
    void TakePending(std::size_t count, std::string& out);
    std::string Head(std::string_view line, std::size_t taken, std::size_t count) const;

    std::string window_;
    std::string pending_;  // inserted text not yet searched again: pending_[pendingStart_ ..)
    std::size_t pendingStart_ = 0;
};

// Where word first occurs in text at or after from; npos if nowhere. Linear in the text, also
// for long words in long runs of one character.
std::size_t FindWord(std::string_view text, std::string_view word, std::size_t from = 0);

}  // namespace qm
