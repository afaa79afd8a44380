#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "Block.h"
#include "Dialect.h"
#include "ProgramUnit.h"

namespace qm::interp {

// Reads the blocks of a long program ahead of following, on a thread of its own: a block
// without parameters ("#") reads the same whatever state following is in, so that following
// only has to run it. Lines are offered by index; one that was not read ahead (a parameter,
// an error) is read by the follower itself, and so is every line once following jumps back.
class BlockPrereader {
  public:
    static constexpr std::uint32_t kAhead = 4096;
    static constexpr std::uint32_t kAnnounceEvery = kAhead / 16;

    // unit's lines must all be known (LineCount called) before: the thread only reads them.
    BlockPrereader(const ProgramUnit& unit, Dialect dialect);
    ~BlockPrereader();
    BlockPrereader(const BlockPrereader&) = delete;
    BlockPrereader& operator=(const BlockPrereader&) = delete;

    // The block of the line at index, when it was read ahead; null when it was not. It is
    // lent, not copied: it stays as it is until a later line is asked for.
    const Block* Take(std::uint32_t index);

  private:
    struct Slot {
        std::atomic<std::uint32_t> line{0};  // index + 1 of the block held, 0 while none
        bool usable = false;
        Block block;
    };
    void ReadAhead();
    void Stop();  // ends reading ahead (following went back)

    const ProgramUnit& unit_;
    Dialect dialect_;
    std::unique_ptr<Slot[]> slots_;
    std::atomic<std::uint32_t> following_{0};  // the index following has reached, or before
    std::uint32_t taken_ = 0, announced_ = 0;  // following's own: the last taken, announced
    std::atomic<bool> stop_{false};
    std::thread thread_;  // last: it starts once everything it uses is there
};

}  // namespace qm::interp
