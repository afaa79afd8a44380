#pragma once

#include <cstdint>

#include "FollowListener.h"
#include "MachineContext.h"

namespace qm::interp {

// Sends the moves of one block to the listener and moves the tool: every end is in machine
// coordinates, millimetres and degrees.
class Motion {
  public:
    Motion(MachineContext& context, FollowListener& listener)
        : context_(context), listener_(listener) {}

    void SetLine(std::uint32_t line) { line_ = line; }
    std::uint32_t Line() const { return line_; }

    void Rapid(const Axes& end);
    void Feed(const Axes& end);
    void Arc(const Axes& end, const std::array<double, 3>& centre, int turns, Plane plane);
    void Dwell(double seconds) { listener_.OnDwell(line_, seconds); }
    void Report(const std::string& reason, bool stopped = false) {
        listener_.OnProblem({line_, reason, stopped, {}});
    }
    FollowListener& Listener() { return listener_; }

    // The feed rate of the modes in effect, mm/min; 0 when none is set.
    double FeedRate(double moveLength) const;

  private:
    void Send(Move move);

    MachineContext& context_;
    FollowListener& listener_;
    std::uint32_t line_ = 0;
};

// The length of an arc move with its helix, for times and totals.
double ArcLength(const Axes& start, const Move& arc);

}  // namespace qm::interp
