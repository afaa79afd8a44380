#pragma once

#include <algorithm>
#include <cmath>

#include "PathGeometry.h"

namespace qm {

struct Point {
    double x, y, z;
};

// How far the point lies from the segment a-b.
inline double DistanceToSegment(const Point& p, const PathVertex& a, const PathVertex& b) {
    const double d[3] = {b.x - a.x, b.y - a.y, b.z - a.z};
    const double w[3] = {p.x - a.x, p.y - a.y, p.z - a.z};
    const double length = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
    const double t =
        length == 0 ? 0 : std::clamp((w[0] * d[0] + w[1] * d[1] + w[2] * d[2]) / length, 0.0, 1.0);
    return std::hypot(w[0] - t * d[0], w[1] - t * d[1], w[2] - t * d[2]);
}

}  // namespace qm
