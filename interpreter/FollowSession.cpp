#include "FollowSession.h"

#include <algorithm>
#include <utility>

#include "BlockReader.h"
#include "Follower.h"
#include "LineFeeds.h"

namespace qm::interp {

// What following a part of the program again gives, kept apart until it is spliced in.
class FollowSession::PartResult : public FollowListener {
  public:
    explicit PartResult(const ModalState& before) : state_(before) {}

    void OnMove(const Move& move) override { moves.push_back(move); }
    void OnProblem(const Problem& problem) override { problems.push_back(problem); }
    void OnLineDone(std::uint32_t line, const ModalState& state, const Axes&) override {
        if (!(state == state_))
            runs.push_back({line, state_ = state});
        movesAfterLine.push_back(std::uint32_t(moves.size()));
    }

    struct Run {
        std::uint32_t firstLine;
        ModalState state;
    };
    std::vector<Move> moves;
    std::vector<Problem> problems;
    std::vector<Run> runs;
    std::vector<std::uint32_t> movesAfterLine;  // counted from the first move of the part

  private:
    ModalState state_;
};

namespace {

// Puts with in the place of items [from, to) of items: in place when the sizes agree, so that
// an edit that changes no count moves no later item.
template <typename T, typename U, typename Convert>
void ReplaceRange(std::vector<T>& items, std::size_t from, std::size_t to,
                  const std::vector<U>& with, Convert convert) {
    const std::size_t common = std::min(to - from, with.size());
    for (std::size_t i = 0; i < common; ++i)
        items[from + i] = convert(with[i]);
    if (common < to - from) {
        items.erase(items.begin() + std::ptrdiff_t(from + common),
                    items.begin() + std::ptrdiff_t(to));
    } else if (common < with.size()) {
        std::vector<T> rest;
        rest.reserve(with.size() - common);
        for (std::size_t i = common; i < with.size(); ++i)
            rest.push_back(convert(with[i]));
        items.insert(items.begin() + std::ptrdiff_t(to), rest.begin(), rest.end());
    }
}

template <typename T>
T Same(const T& item) {
    return item;
}

}  // namespace

std::size_t FollowSession::CheckpointBytes() const {
    std::size_t bytes = checkpoints_.capacity() * sizeof(Checkpoint);
    for (const Checkpoint& checkpoint : checkpoints_)
        bytes += checkpoint.context.parameters.EntryCount() * 48;
    return bytes;
}

namespace {

std::size_t RoomForEdits(std::size_t size) {
    return size + size / 16 + 4096;
}

}  // namespace

std::string FollowSession::WithRoomForEdits(std::string_view text) {
    std::string copy;
    copy.reserve(RoomForEdits(text.size()));
    copy.assign(text);
    return copy;
}

bool FollowSession::Follow(std::string text) {
    std::string before = std::exchange(text_, std::move(text));
    std::vector<std::size_t> startsBefore = std::move(lineStarts_);
    std::vector<std::uint8_t> flowsBefore = std::move(flowLine_);
    const std::size_t flowLinesBefore = flowLines_;
    std::size_t lines = 0;
    std::future<void> read = ReadLines(lines);
    const bool followed = FollowAll(lines);
    read.get();
    if (followed)
        return true;
    text_ = std::move(before);
    lineStarts_ = std::move(startsBefore);
    flowLine_ = std::move(flowsBefore);
    flowLines_ = flowLinesBefore;
    return false;
}

// The lines are counted at once; where each starts and whether it may hold control flow, which
// only edits need, is found on another core while the text is followed (40-55 ms of a
// million lines). Their room is made here, so that the other thread only writes into it.
std::future<void> FollowSession::ReadLines(std::size_t& lines) {
    text_.reserve(RoomForEdits(text_.size()));  // edits do not copy it all
    lineStarts_.clear();
    flowLine_.clear();
    lines = CountLineFeeds(text_) + 1;
    lineStarts_.reserve(lines + lines / 16 + 1024);
    flowLine_.reserve(lines + lines / 16 + 1024);
    flowLines_ = 0;
    return std::async(std::launch::async, [this] {
        for (std::size_t start = 0; start < text_.size();) {
            const std::size_t end = std::min(text_.find('\n', start), text_.size());
            lineStarts_.push_back(start);
            flowLine_.push_back(
                HasControlFlow(std::string_view(text_).substr(start, end - start), dialect_));
            flowLines_ += flowLine_.back();
            start = end + 1;
        }
    });
}

// Follows the whole text into a result of its own, which takes the old one's place only once
// it is complete.
bool FollowSession::FollowAll(std::size_t lines) {
    FollowResult result;
    std::vector<Checkpoint> checkpoints(1, Checkpoint{0, StartContext(dialect_)});
    bool cancelled = false;
    Follower follower(dialect_, result, files_);
    follower.SetAfterLine([&](std::uint32_t line, const MachineContext& context) {
        if (keepGoing_ && !keepGoing_(line))
            return !(cancelled = true);
        if (line % every_ == 0)
            checkpoints.push_back({line, context});
        return true;
    });
    result.Reserve(lines);
    follower.Follow(text_);
    if (cancelled)
        return false;
    result.Trim();
    lastChange_ = {0, result_.moves_.size(), result.moves_.size()};
    result_ = std::move(result);
    checkpoints_ = std::move(checkpoints);
    linesFollowedLast_ = result_.LineCount();
    return true;
}

std::uint32_t FollowSession::EditText(std::uint32_t first, std::uint32_t removed,
                                      std::string_view lines) {
    const std::size_t count = lineStarts_.size();
    const std::size_t from = std::clamp<std::size_t>(first, 1, count + 1) - 1;
    const std::size_t to = std::min(count, from + removed);
    const std::size_t byteFrom = from < count ? lineStarts_[from] : text_.size();
    const std::size_t byteTo = to < count ? lineStarts_[to] : text_.size();
    text_.replace(byteFrom, byteTo - byteFrom, lines);

    std::vector<std::size_t> starts;
    std::vector<std::uint8_t> flows;
    for (std::size_t start = 0; start < lines.size();) {
        const std::size_t end = std::min(lines.find('\n', start), lines.size());
        starts.push_back(byteFrom + start);
        flows.push_back(HasControlFlow(lines.substr(start, end - start), dialect_));
        start = end + 1;
    }
    for (std::size_t i = from; i < to; ++i)
        flowLines_ -= flowLine_[i];
    for (const std::uint8_t flow : flows)
        flowLines_ += flow;
    const std::ptrdiff_t byteShift =
        std::ptrdiff_t(lines.size()) - std::ptrdiff_t(byteTo - byteFrom);
    ReplaceRange(lineStarts_, from, to, starts, &Same<std::size_t>);
    ReplaceRange(flowLine_, from, to, flows, &Same<std::uint8_t>);
    if (byteShift != 0) {
        for (std::size_t i = from + starts.size(); i < lineStarts_.size(); ++i)
            lineStarts_[i] = std::size_t(std::ptrdiff_t(lineStarts_[i]) + byteShift);
    }
    return std::uint32_t(starts.size());
}

bool FollowSession::Replace(std::uint32_t first, std::uint32_t removed, std::string_view lines) {
    first = std::clamp<std::uint32_t>(first, 1, std::uint32_t(lineStarts_.size()) + 1);
    removed = std::min<std::uint32_t>(removed, std::uint32_t(lineStarts_.size()) - (first - 1));
    const std::size_t byteFrom =
        first - 1 < lineStarts_.size() ? lineStarts_[first - 1] : text_.size();
    const std::size_t byteTo =
        first - 1 + removed < lineStarts_.size() ? lineStarts_[first - 1 + removed] : text_.size();
    const std::string removedLines = text_.substr(byteFrom, byteTo - byteFrom);
    const std::uint32_t added = EditText(first, removed, lines);
    // A jump may reach any line: with control flow, everything is followed again.
    if (flowLines_ > 0 ? FollowAll(lineStarts_.size()) : FollowAgain(first, removed, added))
        return true;
    EditText(first, added, removedLines);
    return false;
}

bool FollowSession::FollowAgain(std::uint32_t first, std::uint32_t removed, std::uint32_t added) {
    const std::int64_t shift = std::int64_t(added) - std::int64_t(removed);
    // The last context kept before the edited lines: every line up to it is unchanged.
    const auto start = std::prev(
        std::upper_bound(checkpoints_.begin(), checkpoints_.end(), first - 1,
                         [](std::uint32_t line, const Checkpoint& c) { return line < c.line; }));
    const std::uint32_t kept = start->line;
    // Contexts kept after the old edited lines, where following may find it can stop.
    const std::uint32_t oldEnd = first + removed - 1;
    std::size_t candidate = std::size_t(start - checkpoints_.begin()) + 1;
    while (candidate < checkpoints_.size() && checkpoints_[candidate].line < oldEnd)
        ++candidate;

    PartResult part(result_.StateAfter(kept));
    std::vector<Checkpoint> fresh;
    std::optional<std::uint32_t> oldStop;
    Follower follower(dialect_, part, files_);
    follower.SetReadAheadFrom(0);  // a part of a thousand lines or so: not worth a thread
    const std::uint32_t lastLine = std::uint32_t(lineStarts_.size());
    bool cancelled = false;
    follower.SetAfterLine([&](std::uint32_t line, const MachineContext& context) {
        if (keepGoing_ && !keepGoing_(line - kept))
            return !(cancelled = true);
        if (line == lastLine)
            return true;  // the end of the text is followed: it may bring a problem of its own
        while (candidate < checkpoints_.size() &&
               std::int64_t(checkpoints_[candidate].line) + shift < std::int64_t(line)) {
            ++candidate;
        }
        if (candidate < checkpoints_.size() &&
            std::int64_t(checkpoints_[candidate].line) + shift == std::int64_t(line)) {
            if (checkpoints_[candidate].context == context) {
                oldStop = checkpoints_[candidate].line;
                return false;
            }
            ++candidate;
        }
        if (line % every_ == 0)
            fresh.push_back({line, context});
        return true;
    });
    const std::size_t byteFrom = kept < lineStarts_.size() ? lineStarts_[kept] : text_.size();
    follower.FollowFrom(std::string_view(text_).substr(byteFrom), kept, start->context);
    if (cancelled)
        return false;
    linesFollowedLast_ = std::uint32_t(part.movesAfterLine.size());

    const std::size_t keptIndex = std::size_t(start - checkpoints_.begin()) + 1;
    std::size_t keepFrom = checkpoints_.size();
    if (oldStop) {
        keepFrom = std::size_t(std::lower_bound(checkpoints_.begin(), checkpoints_.end(), *oldStop,
                                                [](const Checkpoint& c, std::uint32_t line) {
                                                    return c.line < line;
                                                }) -
                               checkpoints_.begin());
    }
    ReplaceRange(checkpoints_, keptIndex, keepFrom, fresh, &Same<Checkpoint>);
    for (std::size_t i = keptIndex + fresh.size(); i < checkpoints_.size(); ++i)
        checkpoints_[i].line = std::uint32_t(std::int64_t(checkpoints_[i].line) + shift);
    Splice(kept, oldStop, shift, part);
    return true;
}

void FollowSession::Splice(std::uint32_t kept, std::optional<std::uint32_t> oldStop,
                           std::int64_t shift, PartResult& part) {
    auto& moves = result_.moves_;
    auto& after = result_.movesAfterLine_;
    const auto shifted = [shift](std::uint32_t line) {
        return std::uint32_t(std::int64_t(line) + shift);
    };

    const std::size_t head = kept == 0 ? 0 : after[kept - 1];
    const std::size_t tail = oldStop ? after[*oldStop - 1] : moves.size();
    lastChange_ = {head, tail - head, part.moves.size()};
    ReplaceRange(moves, head, tail, part.moves, &Same<Move>);
    if (shift != 0) {
        for (std::size_t i = head + part.moves.size(); i < moves.size(); ++i) {
            moves[i].line = shifted(moves[i].line);
            if (moves[i].callLine != 0)
                moves[i].callLine = shifted(moves[i].callLine);
        }
    }

    for (std::uint32_t& count : part.movesAfterLine)
        count += std::uint32_t(head);
    const std::int64_t moveShift = std::int64_t(head + part.moves.size()) - std::int64_t(tail);
    ReplaceRange(after, kept, oldStop ? *oldStop : after.size(), part.movesAfterLine,
                 &Same<std::uint32_t>);
    if (moveShift != 0) {
        for (std::size_t i = kept + part.movesAfterLine.size(); i < after.size(); ++i)
            after[i] = std::uint32_t(std::int64_t(after[i]) + moveShift);
    }

    auto& problems = result_.problems_;
    const auto firstAfter = [](const auto& items, std::uint32_t line, auto lineOf) {
        return std::size_t(std::find_if(items.begin(), items.end(),
                                        [&](const auto& item) { return lineOf(item) > line; }) -
                           items.begin());
    };
    const auto problemLine = [](const Problem& p) { return p.line; };
    const std::size_t p0 = firstAfter(problems, kept, problemLine);
    const std::size_t p1 = oldStop ? firstAfter(problems, *oldStop, problemLine) : problems.size();
    ReplaceRange(problems, p0, p1, part.problems, &Same<Problem>);
    if (shift != 0) {
        for (std::size_t i = p0 + part.problems.size(); i < problems.size(); ++i)
            problems[i].line = shifted(problems[i].line);
    }

    auto& runs = result_.runs_;
    const auto runLine = [](const FollowResult::Run& r) { return r.firstLine; };
    const std::size_t r0 = firstAfter(runs, kept, runLine);
    const std::size_t r1 = oldStop ? firstAfter(runs, *oldStop, runLine) : runs.size();
    ReplaceRange(runs, r0, r1, part.runs, [this](const PartResult::Run& r) {
        return FollowResult::Run{r.firstLine, result_.Intern(r.state)};
    });
    if (shift != 0) {
        for (std::size_t i = r0 + part.runs.size(); i < runs.size(); ++i)
            runs[i].firstLine = shifted(runs[i].firstLine);
    }
}

}  // namespace qm::interp
