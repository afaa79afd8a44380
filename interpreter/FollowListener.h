#pragma once

#include <cstdint>

#include "Geometry.h"
#include "ModalState.h"
#include "Move.h"
#include "Problem.h"

namespace qm::interp {

// What following a program reports, call by call, in the order the machine would act: the
// narrow interface through which the toolpath, the summary and the states are gathered.
class FollowListener {
  public:
    virtual ~FollowListener() = default;
    virtual void OnMove(const Move& move) = 0;
    virtual void OnDwell(std::uint32_t /*line*/, double /*seconds*/) {}
    virtual void OnToolChange(std::uint32_t /*line*/, int /*tool*/) {}
    virtual void OnProblem(const Problem& problem) = 0;
    // A line of the program itself (not of a subprogram it calls) has been run, leaving this.
    virtual void OnLineDone(std::uint32_t /*line*/, const ModalState& /*state*/,
                            const Axes& /*position*/) {}
};

}  // namespace qm::interp
