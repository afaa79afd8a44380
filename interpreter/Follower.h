#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "BlockPrereader.h"
#include "ControlFlow.h"
#include "Dialect.h"
#include "FollowListener.h"
#include "MachineContext.h"
#include "SubprogramFiles.h"

namespace qm::interp {

// Follows a whole program, line by line, as its controller would, telling the listener.
// Following stops at M2/M30, at a block that cannot be read, or after kBlockLimit blocks.
class Follower {
  public:
    static constexpr std::uint64_t kBlockLimit = 20'000'000;

    Follower(Dialect dialect, FollowListener& listener, SubprogramFiles* files = nullptr)
        : dialect_(dialect), listener_(listener), files_(files), context_(StartContext(dialect)) {}

    // Programs of at least this many lines are read ahead on a second thread (0: never).
    static constexpr std::size_t kReadAheadFrom = 65536;
    void SetReadAheadFrom(std::size_t lines) { readAheadFrom_ = lines; }

    // A smaller bound on the blocks followed (tests of runaway loops).
    void SetBlockLimit(std::uint64_t limit) { blockLimit_ = limit; }

    // Called after each line of the program itself with the context it leaves; following
    // stops when it returns false.
    using AfterLine = std::function<bool(std::uint32_t line, const MachineContext& context)>;
    void SetAfterLine(AfterLine afterLine) { afterLine_ = std::move(afterLine); }

    // Follows text from its first line; the result is the context it leaves.
    const MachineContext& Follow(std::string_view text);
    // Follows the rest of a program from the line after firstLine, with the context the lines
    // before it left: rest is the text from that line on. Only for programs without control
    // flow, which a part of the text can hold no partner of.
    const MachineContext& FollowFrom(std::string_view rest, std::uint32_t firstLine,
                                     const MachineContext& context);

  private:
    class SourceListener;
    enum class Step { GoOn, Ended, Stopped, Unended };
    Step RunLine(SourceListener& listener, std::uint32_t index);
    Step RunBlock(const Block& block, SourceListener& listener, std::uint32_t index);
    void FollowUnit(const ProgramUnit& main);

    Dialect dialect_;
    FollowListener& listener_;
    SubprogramFiles* files_;
    MachineContext context_;
    std::unique_ptr<ControlFlow> flow_;
    bool percentOpened_ = false;
    std::uint64_t blockLimit_ = kBlockLimit;
    AfterLine afterLine_;
    std::size_t readAheadFrom_ = kReadAheadFrom;
    const ProgramUnit* main_ = nullptr;
    std::unique_ptr<BlockPrereader> prereader_;
};

}  // namespace qm::interp
