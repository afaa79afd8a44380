#include "PathGeometry.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <numbers>

namespace qm {
namespace {

using interp::Axes;
using interp::Move;
using interp::MoveKind;

constexpr double kTurn = 2 * std::numbers::pi;
// A quarter turn at most per chord, so that even an arc far smaller than the tolerance keeps
// the shape of its sweep; and a bound on the chords of one arc, so that an arc of a million
// turns cannot take all memory.
constexpr double kLongestStep = std::numbers::pi / 2;
constexpr std::uint32_t kMostChords = 1u << 16;
// From this many moves a path is made on two cores: below, starting a thread costs more.
constexpr std::size_t kHalvedFrom = 1 << 16;

void Widen(Extents& extents, const PathVertex& vertex) {
    const double point[3] = {vertex.x, vertex.y, vertex.z};
    for (int axis = 0; axis < 3; ++axis) {
        extents.low[axis] = std::min(extents.low[axis], point[axis]);
        extents.high[axis] = std::max(extents.high[axis], point[axis]);
    }
}

PathVertex VertexAt(const Axes& point, std::uint32_t line, std::uint32_t style) {
    return {float(point[interp::kX]), float(point[interp::kY]), float(point[interp::kZ]), line,
            style};
}

}  // namespace

ArcSweep SweepOf(const Axes& start, const Move& arc) {
    const interp::PlaneAxes axes = interp::AxesOf(arc.plane);
    const double c1 = arc.centre[axes.first], c2 = arc.centre[axes.second];
    ArcSweep sweep;
    sweep.startRadius = std::hypot(start[axes.first] - c1, start[axes.second] - c2);
    sweep.endRadius = std::hypot(arc.end[axes.first] - c1, arc.end[axes.second] - c2);
    sweep.startAngle = std::atan2(start[axes.second] - c2, start[axes.first] - c1);
    const double endAngle = std::atan2(arc.end[axes.second] - c2, arc.end[axes.first] - c1);
    // The end angle reached turning the arc's way, the whole turns beyond the first added;
    // an end on the start is a whole turn.
    double angle = arc.turns > 0 ? endAngle - sweep.startAngle : sweep.startAngle - endAngle;
    while (angle <= 1e-12)
        angle += kTurn;
    angle += kTurn * (std::abs(arc.turns) - 1);
    sweep.angle = arc.turns > 0 ? angle : -angle;
    return sweep;
}

std::uint32_t ChordsFor(double radius, double sweep, double chordTolerance) {
    sweep = std::fabs(sweep);
    double step = kLongestStep;
    if (chordTolerance > 0 && chordTolerance < radius)
        step = std::min(step, 2 * std::acos(1 - chordTolerance / radius));
    const double chords = std::ceil(sweep / step - 1e-9);
    if (!(chords < kMostChords))
        return kMostChords;  // also NaN
    return std::max<std::uint32_t>(1, std::uint32_t(chords));
}

void AppendArcVertices(const Axes& start, const Move& arc, double chordTolerance,
                       std::uint32_t style, std::vector<PathVertex>& out) {
    const interp::PlaneAxes axes = interp::AxesOf(arc.plane);
    const ArcSweep sweep = SweepOf(start, arc);
    const std::uint32_t chords =
        ChordsFor(std::max(sweep.startRadius, sweep.endRadius), sweep.angle, chordTolerance);
    const double c1 = arc.centre[axes.first], c2 = arc.centre[axes.second];
    const double rise = arc.end[axes.normal] - start[axes.normal];
    Axes point = arc.end;
    for (std::uint32_t i = 1; i < chords; ++i) {
        // The radius goes from the start's to the end's, so that an end a little off the
        // start's circle is still reached; the helix rises evenly along the plane's normal.
        const double t = double(i) / chords;
        const double angle = sweep.startAngle + t * sweep.angle;
        const double radius = sweep.startRadius + t * (sweep.endRadius - sweep.startRadius);
        point[axes.first] = c1 + radius * std::cos(angle);
        point[axes.second] = c2 + radius * std::sin(angle);
        point[axes.normal] = start[axes.normal] + t * rise;
        out.push_back(VertexAt(point, arc.ShownLine(), style));
    }
    out.push_back(VertexAt(arc.end, arc.ShownLine(), style));
}

std::size_t CountPathVertices(const std::vector<Move>& moves, const Axes& start,
                              double chordTolerance) {
    std::size_t count = 1;
    const Axes* from = &start;
    for (const Move& move : moves) {
        if (move.kind == MoveKind::Arc && move.turns != 0) {
            const ArcSweep sweep = SweepOf(*from, move);
            count += ChordsFor(std::max(sweep.startRadius, sweep.endRadius), sweep.angle,
                               chordTolerance);
        } else {
            ++count;
        }
        from = &move.end;
    }
    return count;
}

namespace {

// At least the vertices BuildPathGeometry makes of the moves, found without the arcs' angles,
// which would cost as much again as making the chords: each arc is taken to turn its whole
// turns, and its chords no longer than 2 sqrt(2 tolerance / radius), which is never more than
// ChordsFor's. Room never written to takes no memory.
std::size_t RoomForVertices(const std::vector<Move>& moves, std::size_t first, std::size_t end,
                            const Axes& start, double chordTolerance) {
    std::size_t room = 1;
    const Axes* from = &start;
    for (std::size_t i = first; i < end; ++i) {
        const Move& move = moves[i];
        if (move.kind == MoveKind::Arc && move.turns != 0) {
            const interp::PlaneAxes axes = interp::AxesOf(move.plane);
            const double c1 = move.centre[axes.first], c2 = move.centre[axes.second];
            const double d1 = (*from)[axes.first] - c1, d2 = (*from)[axes.second] - c2;
            const double e1 = move.end[axes.first] - c1, e2 = move.end[axes.second] - c2;
            const double radius = std::sqrt(std::max(d1 * d1 + d2 * d2, e1 * e1 + e2 * e2));
            double step = kLongestStep;
            if (chordTolerance > 0 && chordTolerance < radius)
                step = std::min(step, 2 * std::sqrt(2 * chordTolerance / radius));
            const double chords = std::ceil(kTurn * std::abs(move.turns) / step) + 1;
            room += chords < kMostChords ? std::size_t(chords) : kMostChords;
        } else {
            ++room;
        }
        from = &move.end;
    }
    return room;
}

// The vertices of moves [first, end), the first starting at `from`, appended to out; their
// first vertices' indices appended to firstVertex.
void AppendMoves(const std::vector<Move>& moves, std::size_t first, std::size_t end,
                 const Axes& from, double chordTolerance, const std::vector<std::uint8_t>& tools,
                 std::vector<PathVertex>& out, std::vector<std::uint32_t>& firstVertex,
                 std::uint32_t base) {
    const Axes* at = &from;
    for (std::size_t i = first; i < end; ++i) {
        const Move& move = moves[i];
        const std::uint32_t style = StyleOfMove(moves, tools, i);
        firstVertex.push_back(base + std::uint32_t(out.size()));
        if (move.kind == MoveKind::Arc && move.turns != 0)
            AppendArcVertices(*at, move, chordTolerance, style, out);
        else
            out.push_back(VertexAt(move.end, move.ShownLine(), style));
        at = &move.end;
    }
}

}  // namespace

PathGeometry BuildPathGeometry(const std::vector<Move>& moves, const Axes& start,
                               double chordTolerance, const std::vector<std::uint8_t>& tools) {
    PathGeometry geometry;
    geometry.vertices.reserve(RoomForVertices(moves, 0, moves.size(), start, chordTolerance));
    geometry.firstVertex.reserve(moves.size() + 1);
    geometry.vertices.push_back(VertexAt(start, 0, 0));
    // A large path is made in two halves at once, the second on another core (a million
    // moves: about 50 ms instead of 60-70); the second half's vertices then follow the first's.
    const std::size_t half = moves.size() >= kHalvedFrom ? moves.size() / 2 : moves.size();
    std::vector<PathVertex> later;
    std::vector<std::uint32_t> laterFirst;
    std::future<void> second;
    if (half < moves.size()) {
        second = std::async(std::launch::async, [&] {
            const Axes& from = moves[half - 1].end;
            later.reserve(RoomForVertices(moves, half, moves.size(), from, chordTolerance));
            laterFirst.reserve(moves.size() - half);
            AppendMoves(moves, half, moves.size(), from, chordTolerance, tools, later, laterFirst,
                        0);
        });
    }
    AppendMoves(moves, 0, half, start, chordTolerance, tools, geometry.vertices,
                geometry.firstVertex, 0);
    if (second.valid()) {
        second.get();
        const std::uint32_t base = std::uint32_t(geometry.vertices.size());
        for (const std::uint32_t first : laterFirst)
            geometry.firstVertex.push_back(base + first);
        geometry.vertices.insert(geometry.vertices.end(), later.begin(), later.end());
    }
    geometry.firstVertex.push_back(std::uint32_t(geometry.vertices.size()));
    if (!moves.empty()) {
        geometry.extents.empty = false;
        geometry.extents.low = geometry.extents.high = {start[0], start[1], start[2]};
        for (const PathVertex& vertex : geometry.vertices)
            Widen(geometry.extents, vertex);
    }
    return geometry;
}

namespace {

// items[at, at + count) replaced by with: the part both have overwritten, the rest inserted
// or erased, so that the items after move once at most.
template <typename T>
void ReplaceSpan(std::vector<T>& items, std::size_t at, std::size_t count,
                 const std::vector<T>& with) {
    const std::size_t common = std::min(count, with.size());
    std::copy(with.begin(), with.begin() + std::ptrdiff_t(common),
              items.begin() + std::ptrdiff_t(at));
    if (with.size() > count)
        items.insert(items.begin() + std::ptrdiff_t(at + common),
                     with.begin() + std::ptrdiff_t(common), with.end());
    else
        items.erase(items.begin() + std::ptrdiff_t(at + common),
                    items.begin() + std::ptrdiff_t(at + count));
}

}  // namespace

bool ApplyMoveChange(const std::vector<Move>& moves, const Axes& start, double chordTolerance,
                     const std::vector<std::uint8_t>& tools, const MoveChange& change,
                     std::vector<std::uint32_t>& firstVertex, std::uint32_t windowStart,
                     std::vector<PathVertex>& window, bool* tailRestyled) {
    const std::size_t oldMoves = firstVertex.size() - 1;
    if (change.first + change.removed > oldMoves ||
        moves.size() != oldMoves - change.removed + change.added ||
        windowStart >= firstVertex[change.first] ||
        windowStart + window.size() != firstVertex.back())
        return false;
    const std::uint32_t from = firstVertex[change.first];
    const std::uint32_t oldMiddleEnd = firstVertex[change.first + change.removed];
    const std::size_t tailMoves = oldMoves - change.first - change.removed;
    const std::size_t newMiddleEnd = change.first + change.added;
    // The moves after the change start where they did, or their vertices would be others.
    if (tailMoves > 0) {
        const Axes& before = newMiddleEnd == 0 ? start : moves[newMiddleEnd - 1].end;
        const PathVertex& old = window[oldMiddleEnd - 1 - windowStart];
        const PathVertex now = VertexAt(before, 0, 0);
        if (old.x != now.x || old.y != now.y || old.z != now.z)
            return false;
    }
    std::vector<PathVertex> middle;
    std::vector<std::uint32_t> middleFirst;
    const Axes& at = change.first == 0 ? start : moves[change.first - 1].end;
    AppendMoves(moves, change.first, newMiddleEnd, at, chordTolerance, tools, middle, middleFirst,
                from);
    const std::int64_t shift =
        std::int64_t(middle.size()) - (std::int64_t(oldMiddleEnd) - std::int64_t(from));
    ReplaceSpan(window, from - windowStart, oldMiddleEnd - from, middle);
    ReplaceSpan(firstVertex, change.first, change.removed, middleFirst);
    for (std::size_t k = newMiddleEnd; k < firstVertex.size(); ++k)
        firstVertex[k] = std::uint32_t(std::int64_t(firstVertex[k]) + shift);
    // The tail: the same vertices, the lines and tool colours of their moves now.
    bool restyled = false;
    for (std::size_t index = newMiddleEnd; index < moves.size(); ++index) {
        const Move& move = moves[index];
        const std::uint32_t style = StyleOfMove(moves, tools, index);
        const std::uint32_t line = move.ShownLine();
        for (std::uint32_t v = firstVertex[index]; v < firstVertex[index + 1]; ++v) {
            PathVertex& vertex = window[v - windowStart];
            vertex.line = line;
            restyled = restyled || vertex.style != style;
            vertex.style = style;
        }
    }
    if (tailRestyled != nullptr)
        *tailRestyled = restyled;
    return true;
}

}  // namespace qm
