#include "FollowResult.h"

#include <algorithm>

#include "Follower.h"

namespace qm::interp {

void FollowResult::OnLineDone(std::uint32_t line, const ModalState& state,
                              const Axes& /*position*/) {
    if (line <= LineCount())
        return;  // a line run again by a loop keeps its first run
    if (runs_.empty() || !(runs_.back().state == state))
        runs_.push_back({line, state});
    while (LineCount() < line)
        movesAfterLine_.push_back(std::uint32_t(moves_.size()));
}

const ModalState& FollowResult::StateAfter(std::uint32_t line) const {
    static const ModalState kStart;
    const auto after =
        std::upper_bound(runs_.begin(), runs_.end(), line,
                         [](std::uint32_t l, const Run& run) { return l < run.firstLine; });
    return after == runs_.begin() ? kStart : std::prev(after)->state;
}

Axes FollowResult::PositionAfter(std::uint32_t line) const {
    if (line == 0 || movesAfterLine_.empty())
        return {};
    const std::uint32_t count = movesAfterLine_[std::min<std::size_t>(line, LineCount()) - 1];
    return count == 0 ? Axes{} : moves_[count - 1].end;
}

std::size_t FollowResult::BytesHeld() const {
    std::size_t bytes = moves_.capacity() * sizeof(Move) +
                        movesAfterLine_.capacity() * sizeof(std::uint32_t) +
                        runs_.capacity() * sizeof(Run) + problems_.capacity() * sizeof(Problem);
    for (const Problem& problem : problems_)
        bytes += problem.reason.capacity() + problem.source.capacity();
    return bytes;
}

FollowResult FollowProgram(std::string_view text, Dialect dialect, SubprogramFiles* files) {
    FollowResult result;
    Follower(dialect, result, files).Follow(text);
    return result;
}

}  // namespace qm::interp
