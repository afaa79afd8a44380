#pragma once

#include <cstdint>

#include "Geometry.h"

namespace qm::interp {

enum class MoveKind : std::uint8_t { Rapid, Feed, Arc };

// One move of the tool, as held for a whole program: its end in machine coordinates after
// every offset, and for an arc its centre and signed turns (positive counter-clockwise).
struct Move {
    Axes end{};
    std::array<double, 3> centre{};  // arcs only; X Y Z
    double feed = 0;                 // mm/min in effect; 0 for rapids
    std::uint32_t line = 0;          // 1-based source line of the block that made it
    std::int32_t turns = 0;          // arcs only
    MoveKind kind = MoveKind::Rapid;
    Plane plane = Plane::XY;
    // Made in a subprogram file: the line of the call in the program; 0 for the program's own.
    std::uint32_t callLine = 0;
    // The line of the program shown with the move: its own, or its call's.
    std::uint32_t ShownLine() const { return callLine != 0 ? callLine : line; }
    bool operator==(const Move&) const = default;
};
static_assert(sizeof(Move) <= 96, "a move held for a whole program stays small");

}  // namespace qm::interp
