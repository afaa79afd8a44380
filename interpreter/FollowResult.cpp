#include "FollowResult.h"

#include <algorithm>

#include "Follower.h"

namespace qm::interp {

namespace {

std::size_t HashOf(const ModalState& s) {
    std::size_t hash = std::size_t(s.motion) * 31 + std::size_t(s.plane);
    const auto mix = [&hash](double value) { hash = hash * 1000003 ^ std::hash<double>()(value); };
    mix(s.feed);
    mix(s.speed);
    mix(s.toolLength);
    mix(s.cycleInitial);
    mix(s.cycleR);
    mix(s.cycleZ);
    hash = hash * 31 + std::size_t(s.tool * 7 + s.toolInSpindle) + std::size_t(s.workOffset) +
           std::size_t(s.incremental) * 2 + std::size_t(s.inches) * 4 + std::size_t(s.spindle);
    return hash;
}

}  // namespace

std::uint32_t FollowResult::Intern(const ModalState& state) {
    if (!runs_.empty() && states_[runs_.back().state] == state)
        return runs_.back().state;
    const std::size_t hash = HashOf(state);
    const auto [from, to] = stateIndex_.equal_range(hash);
    for (auto known = from; known != to; ++known) {
        if (states_[known->second] == state)
            return known->second;
    }
    states_.push_back(state);
    stateIndex_.emplace(hash, std::uint32_t(states_.size() - 1));
    return std::uint32_t(states_.size() - 1);
}

void FollowResult::OnLineDone(std::uint32_t line, const ModalState& state,
                              const Axes& /*position*/) {
    if (line <= LineCount())
        return;  // a line run again by a loop keeps its first run
    if (runs_.empty() || !(states_[runs_.back().state] == state))
        runs_.push_back({line, Intern(state)});
    while (LineCount() < line)
        movesAfterLine_.push_back(std::uint32_t(moves_.size()));
}

const ModalState& FollowResult::StateAfter(std::uint32_t line) const {
    static const ModalState kStart;
    const auto after =
        std::upper_bound(runs_.begin(), runs_.end(), line,
                         [](std::uint32_t l, const Run& run) { return l < run.firstLine; });
    return after == runs_.begin() ? kStart : states_[std::prev(after)->state];
}

void FollowResult::Reserve(std::size_t lines) {
    moves_.reserve(lines + lines / 4);
    movesAfterLine_.reserve(lines);
}

namespace {

// Storage this large the C library maps afresh for each vector, and the system backs its pages
// with memory only once they are written: the room never written holds no memory.
constexpr std::size_t kMappedBytes = std::size_t(32) << 20;

// Gives back the room a vector does not use, keeping a little for edits that add to it.
template <typename T>
void Fit(std::vector<T>& items) {
    if (items.capacity() * sizeof(T) >= kMappedBytes)
        return;  // a copy would free nothing, and hold twice the items meanwhile
    if (items.capacity() <= items.size() + items.size() / 8 + 1024)
        return;
    std::vector<T> fitted;
    fitted.reserve(items.size() + items.size() / 32 + 1024);
    fitted.assign(items.begin(), items.end());
    items.swap(fitted);
}

// The bytes of a vector's storage that hold memory.
template <typename T>
std::size_t HeldBytes(const std::vector<T>& items) {
    const std::size_t room = items.capacity() * sizeof(T);
    return room >= kMappedBytes ? items.size() * sizeof(T) : room;
}

}  // namespace

void FollowResult::Trim() {
    Fit(moves_);
    Fit(movesAfterLine_);
}

Axes FollowResult::PositionAfter(std::uint32_t line) const {
    const std::uint32_t count = MovesUpTo(line);
    return count == 0 ? Axes{} : moves_[count - 1].end;
}

std::uint32_t FollowResult::MovesUpTo(std::uint32_t line) const {
    if (line == 0 || movesAfterLine_.empty())
        return 0;
    return movesAfterLine_[std::min<std::size_t>(line, LineCount()) - 1];
}

std::size_t FollowResult::BytesHeld() const {
    std::size_t bytes = HeldBytes(moves_) + HeldBytes(movesAfterLine_) +
                        runs_.capacity() * sizeof(Run) + states_.capacity() * sizeof(ModalState) +
                        stateIndex_.size() * 32 + problems_.capacity() * sizeof(Problem);
    for (const Problem& problem : problems_)
        bytes += problem.reason.capacity() + problem.source.capacity();
    return bytes;
}

FollowResult FollowProgram(std::string_view text, Dialect dialect, SubprogramFiles* files) {
    FollowResult result;
    result.Reserve(std::size_t(std::count(text.begin(), text.end(), '\n')) + 1);
    Follower(dialect, result, files).Follow(text);
    result.Trim();
    return result;
}

}  // namespace qm::interp
