#include "Arcs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qm::interp {
namespace {

// How far the end may lie off the start's circle: beyond the absolute tolerance when it is
// also beyond a thousandth of the radius, or beyond a hundred times the absolute tolerance.
// Measured against LinuxCNC 2.9, whose reading is followed here.
constexpr double kAbsoluteToleranceMm = 0.0283;
constexpr double kAbsoluteToleranceInch = 0.00285;
constexpr double kRelativeTolerance = 0.001;

ArcPath FromCentre(const ArcWords& words, const PlaneAxes& axes) {
    ArcPath path;
    const double unit = words.inches ? kMmPerInch : 1.0;
    const double tolerance = (words.inches ? kAbsoluteToleranceInch : kAbsoluteToleranceMm) * unit;
    const double c1 = words.centre[axes.first], c2 = words.centre[axes.second];
    const double r1 = std::hypot(words.start[axes.first] - c1, words.start[axes.second] - c2);
    const double r2 = std::hypot(words.end[axes.first] - c1, words.end[axes.second] - c2);
    if (r1 < 1e-9 || r2 < 1e-9) {
        path.problem = "an arc of zero radius";
        return path;
    }
    const double absolute = std::fabs(r1 - r2);
    const double relative = absolute / std::max(r1, r2);
    if (absolute > 100 * tolerance || (absolute > tolerance && relative > kRelativeTolerance)) {
        char text[160];
        std::snprintf(
            text, sizeof text,
            "the arc's end is not on its circle: radius %.4f at the start, %.4f at the end",
            r1 / unit, r2 / unit);
        path.problem = text;
        return path;
    }
    path.centre = words.centre;
    return path;
}

ArcPath FromRadius(const ArcWords& words, const PlaneAxes& axes) {
    ArcPath path;
    const double unit = words.inches ? kMmPerInch : 1.0;
    const double tolerance = (words.inches ? kAbsoluteToleranceInch : kAbsoluteToleranceMm) * unit;
    const double s1 = words.start[axes.first], s2 = words.start[axes.second];
    const double d1 = words.end[axes.first] - s1, d2 = words.end[axes.second] - s2;
    const double chord = std::hypot(d1, d2);
    if (chord < 1e-9) {
        path.problem = "an arc with R cannot be a full circle: its end is its start";
        return path;
    }
    const double radius = *words.radius;
    const double half = chord / 2;
    if (std::fabs(radius) < half - tolerance) {
        path.problem = "the arc's radius is too small to reach its end";
        return path;
    }
    const double height = std::sqrt(std::max(0.0, radius * radius - half * half));
    // Counter-clockwise, a positive R (the shorter arc) has its centre left of the chord; a
    // clockwise one right of it; a negative R (beyond half a circle) the other side.
    double side = words.clockwise ? -1.0 : 1.0;
    if (radius < 0)
        side = -side;
    path.centre = {words.start[kX], words.start[kY], words.start[kZ]};  // along the axis: the start
    path.centre[axes.first] = s1 + d1 / 2 - side * height * d2 / chord;
    path.centre[axes.second] = s2 + d2 / 2 + side * height * d1 / chord;
    return path;
}

}  // namespace

ArcPath PlanArc(const ArcWords& words) {
    const PlaneAxes axes = AxesOf(words.plane);
    ArcPath path;
    if (words.turns < 1) {
        path.problem = "an arc's P (turns) must be a whole number of at least 1";
        return path;
    }
    if (words.radius) {
        path = FromRadius(words, axes);
    } else if (!words.centreGiven[axes.first] && !words.centreGiven[axes.second]) {
        path.problem = "an arc needs R or the centre words of its plane";
        return path;
    } else {
        path = FromCentre(words, axes);
    }
    if (path.problem.empty())
        path.turns = words.clockwise ? -words.turns : words.turns;
    return path;
}

}  // namespace qm::interp
