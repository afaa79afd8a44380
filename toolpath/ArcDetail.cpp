#include "ArcDetail.h"

#include <algorithm>
#include <cmath>

namespace qm {

void ArcDetail::Build(const std::vector<interp::Move>& moves, const interp::Axes& start,
                      const std::vector<std::uint8_t>& tools, double baseTolerance) {
    Clear();
    arcs_.clear();
    baseTolerance_ = baseTolerance;
    const interp::Axes* from = &start;
    for (std::size_t i = 0; i < moves.size(); ++i) {
        AddArc(moves, *from, tools, i, arcs_);
        from = &moves[i].end;
    }
    arcs_.shrink_to_fit();
}

void ArcDetail::Clear() {
    level_ = 0;
    refined_.clear();
    strips_.clear();
    cuts_.clear();
    vertices_.clear();
    vertices_.shrink_to_fit();
}

interp::Move ArcDetail::MoveOf(const Arc& arc) const {
    interp::Move move;
    move.end = {arc.end[0], arc.end[1], arc.end[2], 0, 0, 0};
    move.centre = {arc.centre[0], arc.centre[1], arc.centre[2]};
    move.turns = arc.turns;
    move.plane = arc.plane;
    move.line = arc.line;
    move.kind = interp::MoveKind::Arc;
    return move;
}

bool ArcDetail::Update(const QMatrix4x4& matrix, QPointF ndcPerMm, double tolerance,
                       const std::vector<std::uint32_t>& firstVertex) {
    if (arcs_.empty() || tolerance >= baseTolerance_) {
        const bool changed = Active();
        Clear();
        return changed;
    }
    const int level = int(std::ceil(std::log2(baseTolerance_ / tolerance)));
    std::vector<std::uint32_t> visible;
    for (std::size_t i = 0; i < arcs_.size(); ++i) {
        const Arc& arc = arcs_[i];
        const interp::PlaneAxes axes = interp::AxesOf(arc.plane);
        // A sphere round the arc: its circle's centre halfway up the helix.
        QVector3D centre(arc.centre[0], arc.centre[1], arc.centre[2]);
        centre[int(axes.normal)] = (arc.start[axes.normal] + arc.end[axes.normal]) / 2;
        const float radius = std::max(std::hypot(arc.start[axes.first] - arc.centre[axes.first],
                                                 arc.start[axes.second] - arc.centre[axes.second]),
                                      std::hypot(arc.end[axes.first] - arc.centre[axes.first],
                                                 arc.end[axes.second] - arc.centre[axes.second])) +
                             std::fabs(arc.end[axes.normal] - arc.start[axes.normal]) / 2;
        const QVector3D p = matrix.map(centre);
        if (std::fabs(p.x()) <= 1 + radius * ndcPerMm.x() &&
            std::fabs(p.y()) <= 1 + radius * ndcPerMm.y())
            visible.push_back(std::uint32_t(i));
    }
    if (level == level_ &&
        std::includes(refined_.begin(), refined_.end(), visible.begin(), visible.end()))
        return false;
    Clear();
    level_ = level;
    const double fine = baseTolerance_ / std::ldexp(1.0, level);
    for (const std::uint32_t i : visible) {
        const Arc& arc = arcs_[i];
        const std::size_t first = vertices_.size();
        if (first >= kMostVertices)
            break;  // the rest keep their coarser chords
        const interp::Axes start{arc.start[0], arc.start[1], arc.start[2], 0, 0, 0};
        vertices_.push_back({arc.start[0], arc.start[1], arc.start[2], 0, 0});
        AppendArcVertices(start, MoveOf(arc), fine, arc.style, vertices_);
        strips_.push_back({std::int32_t(first), std::int32_t(vertices_.size() - first)});
        cuts_.emplace_back(firstVertex[arc.move], firstVertex[arc.move + 1]);
        refined_.push_back(i);
    }
    return true;
}

std::vector<Strip> ArcDetail::StripsOf(std::size_t firstMove, std::size_t endMove) const {
    std::vector<Strip> strips;
    for (std::size_t k = 0; k < refined_.size(); ++k) {
        const std::uint32_t move = arcs_[refined_[k]].move;
        if (move >= firstMove && move < endMove)
            strips.push_back(strips_[k]);
    }
    return strips;
}

std::size_t ArcDetail::BytesHeld() const {
    return arcs_.capacity() * sizeof(Arc) + vertices_.capacity() * sizeof(PathVertex) +
           refined_.capacity() * 4 + strips_.capacity() * sizeof(Strip) +
           cuts_.capacity() * sizeof(cuts_[0]);
}

void ArcDetail::AddArc(const std::vector<interp::Move>& moves, const interp::Axes& from,
                       const std::vector<std::uint8_t>& tools, std::size_t i,
                       std::vector<Arc>& out) {
    const interp::Move& move = moves[i];
    if (move.kind != interp::MoveKind::Arc || move.turns == 0)
        return;
    out.push_back({std::uint32_t(i),
                   move.ShownLine(),
                   StyleOfMove(moves, tools, i),
                   move.turns,
                   {float(from[0]), float(from[1]), float(from[2])},
                   {float(move.end[0]), float(move.end[1]), float(move.end[2])},
                   {float(move.centre[0]), float(move.centre[1]), float(move.centre[2])},
                   move.plane});
}

void ArcDetail::Splice(const std::vector<interp::Move>& moves, const interp::Axes& start,
                       const std::vector<std::uint8_t>& tools, const MoveChange& change) {
    Clear();
    const auto atMove = [this](std::size_t move) {
        return std::lower_bound(arcs_.begin(), arcs_.end(), move,
                                [](const Arc& arc, std::size_t m) { return arc.move < m; });
    };
    const auto removedFrom = atMove(change.first);
    const auto removedEnd = atMove(change.first + change.removed);
    std::vector<Arc> added;
    for (std::size_t i = change.first; i < change.first + change.added; ++i)
        AddArc(moves, i == 0 ? start : moves[i - 1].end, tools, i, added);
    const std::size_t at = std::size_t(removedFrom - arcs_.begin());
    arcs_.erase(removedFrom, removedEnd);
    arcs_.insert(arcs_.begin() + std::ptrdiff_t(at), added.begin(), added.end());
    // The arcs after: the same, their moves' places, lines and colours now.
    const std::int64_t shift = std::int64_t(change.added) - std::int64_t(change.removed);
    for (std::size_t k = at + added.size(); k < arcs_.size(); ++k) {
        Arc& arc = arcs_[k];
        arc.move = std::uint32_t(std::int64_t(arc.move) + shift);
        arc.line = moves[arc.move].ShownLine();
        arc.style = StyleOfMove(moves, tools, arc.move);
    }
}

}  // namespace qm
