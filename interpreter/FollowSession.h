#pragma once

#include <cstdint>
#include <functional>
#include <future>
#include <string>
#include <string_view>
#include <vector>

#include "Dialect.h"
#include "FollowResult.h"
#include "MachineContext.h"
#include "SubprogramFiles.h"

namespace qm::interp {

// A program followed and kept followed while it is edited. The context is kept every
// kCheckpointEvery lines; after an edit, a program without control flow is followed again
// from the last kept context before the edit, only until the context after a line past the
// edit equals the one kept there before, and the rest of the old result is kept. The result
// is always the one following the whole new text would give.
class FollowSession {
  public:
    static constexpr std::uint32_t kCheckpointEvery = 1024;

    explicit FollowSession(Dialect dialect, SubprogramFiles* files = nullptr,
                           std::uint32_t checkpointEvery = kCheckpointEvery)
        : dialect_(dialect), files_(files), every_(checkpointEvery) {}

    // Called after each line followed with the lines followed so far; following stops when it
    // returns false, and the session is then left as it was before the call, which returns false.
    using KeepGoing = std::function<bool(std::uint32_t linesFollowed)>;
    void SetKeepGoing(KeepGoing keepGoing) { keepGoing_ = std::move(keepGoing); }

    bool Follow(std::string text);
    // A copy of text with the room the session keeps for edits: Follow then copies it no more.
    static std::string WithRoomForEdits(std::string_view text);
    // Lines first ... first + removed - 1 (1-based) are replaced by lines: whole lines, each
    // ending in a line feed but the text's last one.
    bool Replace(std::uint32_t first, std::uint32_t removed, std::string_view lines);

    const FollowResult& Result() const { return result_; }
    const std::string& Text() const { return text_; }
    // The memory the kept contexts hold (an estimate: parameters count by their entries).
    std::size_t CheckpointBytes() const;
    // Which moves the last follow changed: moves [first, first + added) of the result took the
    // place of [first, first + removed) of the one before; those after are the same moves,
    // their lines shifted as the lines were. Following from the start changes them all.
    struct MoveChange {
        std::size_t first = 0, removed = 0, added = 0;
    };
    const MoveChange& LastMoveChange() const { return lastChange_; }
    // How many lines the last follow ran: the whole program, or the part re-followed.
    std::uint32_t LinesFollowedLast() const { return linesFollowedLast_; }

  private:
    struct Checkpoint {
        std::uint32_t line;  // the context after this line (0: before the first)
        MachineContext context;
    };
    class PartResult;

    bool FollowAll(std::size_t lines);
    std::future<void> ReadLines(std::size_t& lines);
    std::uint32_t EditText(std::uint32_t first, std::uint32_t removed, std::string_view lines);
    bool FollowAgain(std::uint32_t first, std::uint32_t removed, std::uint32_t added);
    void Splice(std::uint32_t kept, std::optional<std::uint32_t> oldStop, std::int64_t shift,
                PartResult& part);

    Dialect dialect_;
    SubprogramFiles* files_;
    std::uint32_t every_;
    std::string text_;
    std::vector<std::size_t> lineStarts_;
    std::vector<std::uint8_t> flowLine_;  // per line: it may hold control flow
    std::size_t flowLines_ = 0;
    FollowResult result_;
    std::vector<Checkpoint> checkpoints_;
    std::uint32_t linesFollowedLast_ = 0;
    MoveChange lastChange_;
    KeepGoing keepGoing_;
};

}  // namespace qm::interp
