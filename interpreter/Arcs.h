#pragma once

#include <array>
#include <optional>
#include <string>

#include "Geometry.h"

namespace qm::interp {

// An arc block's words, already in machine millimetres.
struct ArcWords {
    Axes start{}, end{};
    Plane plane = Plane::XY;
    bool clockwise = false;
    std::optional<double> radius;    // R
    std::array<double, 3> centre{};  // from I J K: absolute machine coordinates
    std::array<bool, 3> centreGiven{};
    int turns = 1;        // P
    bool inches = false;  // which tolerances apply
};

struct ArcPath {
    std::array<double, 3> centre{};
    int turns = 0;        // signed: positive counter-clockwise
    std::string problem;  // why the arc cannot be made; empty when it can
};

// The centre and turns of an arc, checked as the controller checks it: an end that is not on
// the circle of the start (beyond the tolerances), a radius too small to reach the end.
ArcPath PlanArc(const ArcWords& words);

}  // namespace qm::interp
