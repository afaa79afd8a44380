#include "AcFromStart.h"

#include <string.h>

#include <algorithm>

namespace qm {
namespace {

void AppendKept(std::string_view line, std::size_t from, std::size_t to, std::string& out,
                std::vector<KeptRun>* runs) {
    if (to == from) return;
    const bool joins = runs != nullptr && !runs->empty() && runs->back().newStart + runs->back().length == out.size() &&
                       runs->back().oldStart + runs->back().length == from;
    if (joins) {
        runs->back().length += to - from;
    } else if (runs != nullptr) {
        runs->push_back({out.size(), from, to - from});
    }
    out.append(line.substr(from, to - from));
}

void Truncate(std::size_t size, std::string& out, std::vector<KeptRun>* runs) {
    while (runs != nullptr && !runs->empty() && runs->back().newStart >= size) runs->pop_back();
    if (runs != nullptr && !runs->empty() && runs->back().newStart + runs->back().length > size) {
        runs->back().length = size - runs->back().newStart;
    }
    out.resize(size);
}

}  // namespace

std::size_t FindWord(std::string_view text, std::string_view word, std::size_t from) {
    if (from > text.size() || word.size() > text.size() - from) return std::string_view::npos;
    // glibc's memmem is the two-way search: no quadratic worst case.
    const void* hit = ::memmem(text.data() + from, text.size() - from, word.data(), word.size());
    return hit == nullptr ? std::string_view::npos : std::size_t(static_cast<const char*>(hit) - text.data());
}

void FromStartReplacer::SetAside(std::string_view text) {
    if (text.empty()) return;
    if (pendingStart_ < text.size()) {  // room in front for this and as much again
        const std::string rest(Pending());
        const std::size_t room = std::max<std::size_t>(64, text.size() + rest.size());
        pending_.assign(room, '\0');
        pending_ += rest;
        pendingStart_ = room;
    }
    pendingStart_ -= text.size();
    pending_.replace(pendingStart_, text.size(), text);
}

void FromStartReplacer::TakePending(std::size_t count, std::string& out) {
    out.append(Pending().substr(0, count));
    pendingStart_ += std::min(count, pending_.size() - pendingStart_);
}

// The first count bytes of what follows out: pending text, then the line from taken.
std::string FromStartReplacer::Head(std::string_view line, std::size_t taken, std::size_t count) const {
    std::string head(Pending().substr(0, count));
    head.append(line.substr(taken, count - head.size()));
    return head;
}

FromStartReplacer::Outcome FromStartReplacer::Apply(std::string_view line, std::string_view word,
                                                    std::string_view insert,
                                                    const std::vector<std::size_t>* oldStarts,
                                                    std::size_t sizeLimit, std::string& out,
                                                    std::vector<KeptRun>* runs) {
    out.clear();
    if (runs != nullptr) runs->clear();
    pending_.clear();
    pendingStart_ = 0;
    const std::size_t reach = word.size() - 1;
    std::size_t taken = 0;    // the old line's bytes before it are in out or were replaced
    std::size_t settled = 0;  // no occurrence starts before it
    std::size_t replacements = 0;
    std::size_t nextKnown = 0;
    const auto nextOld = [&]() {
        if (oldStarts == nullptr) return FindWord(line, word, taken);
        while (nextKnown < oldStarts->size() && (*oldStarts)[nextKnown] < taken) ++nextKnown;
        return nextKnown < oldStarts->size() ? (*oldStarts)[nextKnown] : std::string_view::npos;
    };
    // Removes an occurrence's bytes that lie beyond out: pending text first, then the line's.
    const auto consume = [&](std::size_t count) {
        const std::size_t fromPending = std::min(count, Pending().size());
        pendingStart_ += fromPending;
        taken += count - fromPending;
    };
    for (;;) {
        std::size_t at = std::string_view::npos;
        if (settled < out.size()) {  // starting in out, reaching into what was inserted last
            window_.assign(out, settled);
            window_ += Head(line, taken, reach);
            const std::size_t found = FindWord(window_, word);
            if (found != std::string_view::npos) at = settled + found;
        }
        if (at != std::string_view::npos) {
            const std::size_t end = at + word.size();
            if (end <= out.size()) {
                SetAside(std::string_view(out).substr(end));
            } else {
                consume(end - out.size());
            }
            Truncate(at, out, runs);
        } else if (!Pending().empty()) {  // starting in pending text
            std::size_t found = FindWord(Pending(), word);
            if (found == std::string_view::npos) {
                const std::size_t from = Pending().size() - std::min(Pending().size(), reach);
                window_.assign(Pending().substr(from));
                window_.append(line.substr(taken, reach));
                found = FindWord(window_, word);
                if (found != std::string_view::npos) found += from;
            }
            if (found == std::string_view::npos) {
                TakePending(Pending().size(), out);
                settled = out.size();
                continue;
            }
            TakePending(found, out);
            at = out.size();
            consume(word.size());
        } else {
            const std::size_t old = nextOld();
            if (old == std::string_view::npos) break;
            AppendKept(line, taken, old, out, runs);
            taken = old + word.size();
            at = out.size();
        }
        if (++replacements > line.size()) return Outcome::NeverEnds;
        out.append(insert);
        if (out.size() + Pending().size() > sizeLimit) return Outcome::TooLarge;
        settled = at - std::min(at, reach);
    }
    AppendKept(line, taken, line.size(), out, runs);
    return out.size() > sizeLimit ? Outcome::TooLarge : Outcome::Done;
}

}  // namespace qm
