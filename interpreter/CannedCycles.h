#pragma once

#include "Motion.h"

namespace qm::interp {

// One hole of a drilling cycle, in machine millimetres along the cycle's depth axis.
struct CycleHole {
    int code = 810;  // G81 ... G89, G73, G74, G76 (times ten)
    Axes at{};       // the hole's position; its depth-axis value is unused
    Axis depthAxis = kZ;
    double travel = 0;  // the depth the tool stands at when it moves to the hole
    double clear = 0, r = 0, bottom = 0, peck = 0, dwellSeconds = 0;
    double pullBack = 0.254;  // G73 retract and G83 re-entry clearance
    Axes shift{};             // G87: where the tool goes down off the centre (I J)
    double middle = 0;        // G87: the level bored back up to (K)
};

// The moves of one hole: to the hole at the depth the tool stands at, down to R, the cycle's own
// moves, and back to the clear level.
void DrillHole(Motion& motion, const CycleHole& hole);

}  // namespace qm::interp
