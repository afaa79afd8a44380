#pragma once

#include "Block.h"
#include "Dialect.h"
#include "MachineContext.h"
#include "Motion.h"

namespace qm::interp {

// Runs one block read by ReadBlock in the order a controller runs it: feed, speed, tool,
// spindle, coolant, dwell, plane, units, compensation, tool length, work offset, distance
// modes, return level, offset commands and homes, motion, and last the program stops.
class BlockExecutor {
  public:
    BlockExecutor(MachineContext& context, Dialect dialect, FollowListener& listener)
        : context_(context), dialect_(dialect), motion_(context, listener) {}

    void Execute(const Block& block, std::uint32_t line);
    bool Ended() const { return ended_; }

  private:
    void CheckCodes(const Block& block);
    void Settings(const Block& block);
    void Modes(const Block& block);
    void OffsetCommands(const Block& block);
    void Homes(const Block& block, int code);
    void MotionOf(const Block& block);
    void Straight(const Block& block, bool rapid);
    void ArcMove(const Block& block, bool clockwise);
    void CannedCycle(const Block& block);
    void Stops(const Block& block);
    void ReportNoFeed();
    Axes Target(const Block& block, bool machine) const;
    void ApplyPolar(const Block& block, const Axes& offsets, Axes& target) const;
    int NonModal(const Block& block) const;

    MachineContext& context_;
    Dialect dialect_;
    Motion motion_;
    bool ended_ = false;
};

}  // namespace qm::interp
