#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "Geometry.h"
#include "Move.h"

namespace qm {

// One point of the drawn path: where it is, and what the segment ending at it belongs to.
// The path is one line strip; each segment takes the style and line of its end point.
struct PathVertex {
    float x, y, z;
    std::uint32_t line;   // 1-based program line of the move; what a click on it selects
    std::uint32_t style;  // the move's kind (MoveKind) in the low byte, its tool colour above
};

// Lowest and highest X Y Z the path reaches, in millimetres; empty when it has no move.
struct Extents {
    std::array<double, 3> low{}, high{};
    bool empty = true;
};

// The moves of a program as a line strip: rapids and feeds as one segment each, arcs and
// helices as chords no further than chordTolerance (mm) from the true arc.
//   moves {G0 X10, G2 X20 Y0 I5 J0}, start {0,0,0}, tolerance 0.01 ->
//   vertices: start, (10,0,0), then the half circle in chords ending at (20,0,0);
//   firstVertex {1, 2, n}: move i's segments end at vertices firstVertex[i] .. firstVertex[i+1]-1.
struct PathGeometry {
    std::vector<PathVertex> vertices;
    std::vector<std::uint32_t> firstVertex;  // one per move, and one past the last
    Extents extents;
};

// tools: the tool colour index of each move (empty: all the same).
PathGeometry BuildPathGeometry(const std::vector<interp::Move>& moves, const interp::Axes& start,
                               double chordTolerance, const std::vector<std::uint8_t>& tools = {});

// The chord count an arc of this radius (mm) and sweep (radians) needs to stay within
// tolerance of it (at most a quarter turn a chord, and never more than 65536 chords).
std::uint32_t ChordsFor(double radius, double sweep, double chordTolerance);

// How an arc move turns from its start: radii at both ends (mm), the start's angle in the
// plane and the signed sweep (radians, positive counter-clockwise, whole turns included).
struct ArcSweep {
    double startRadius = 0, endRadius = 0, startAngle = 0, angle = 0;
};
ArcSweep SweepOf(const interp::Axes& start, const interp::Move& arc);

// Appends the chords' ends of an arc or helix from start, the arc's end last.
void AppendArcVertices(const interp::Axes& start, const interp::Move& arc, double chordTolerance,
                       std::uint32_t style, std::vector<PathVertex>& out);

// Which moves an edit changed: moves [first, first + added) took the place of [first,
// first + removed); those after are the same moves (their lines and tools may be others).
struct MoveChange {
    std::size_t first = 0, removed = 0, added = 0;
};

// Makes the geometry BuildPathGeometry would make of the moves after a change, from the one
// before it, making only the changed moves' vertices again. window: the old vertices from
// windowStart (before the first changed move's first vertex) to the end, replaced by the
// new ones from there; firstVertex is replaced whole. False, leaving both as they were, when
// the change does not fit the geometry or the moves after it start elsewhere than before.
// tailRestyled, when given, tells whether a move after the change took another style.
bool ApplyMoveChange(const std::vector<interp::Move>& moves, const interp::Axes& start,
                     double chordTolerance, const std::vector<std::uint8_t>& tools,
                     const MoveChange& change, std::vector<std::uint32_t>& firstVertex,
                     std::uint32_t windowStart, std::vector<PathVertex>& window,
                     bool* tailRestyled = nullptr);

// The vertices BuildPathGeometry makes of these moves.
std::size_t CountPathVertices(const std::vector<interp::Move>& moves, const interp::Axes& start,
                              double chordTolerance);

// A vertex's style: moves[i]'s kind in the low byte, its tool colour tools[i] above (0 when
// tools is shorter).
inline std::uint32_t StyleOfMove(const std::vector<interp::Move>& moves,
                                 const std::vector<std::uint8_t>& tools, std::size_t i) {
    return std::uint32_t(moves[i].kind) | (std::uint32_t(i < tools.size() ? tools[i] : 0) << 8);
}
inline interp::MoveKind KindOfStyle(std::uint32_t style) {
    return interp::MoveKind(style & 0xff);
}
inline std::uint32_t ToolOfStyle(std::uint32_t style) {
    return style >> 8;
}

}  // namespace qm
