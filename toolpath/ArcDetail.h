#pragma once

#include <QMatrix4x4>

#include <cstdint>
#include <utility>
#include <vector>

#include "PathGeometry.h"
#include "PathStrips.h"

namespace qm {

// The arcs of a path drawn again in finer chords when the view is zoomed in beyond what their
// chords in the main buffer were made for: only those in view, into a buffer of their own.
class ArcDetail {
  public:
    // Keeps what it takes to make each arc again; baseTolerance: the chords of the main buffer.
    void Build(const std::vector<interp::Move>& moves, const interp::Axes& start,
               const std::vector<std::uint8_t>& tools, double baseTolerance);
    void Clear();
    // The arcs after an edit that changed only some moves (see MoveChange), the moves after it
    // starting where they did: only the changed moves' arcs are made again.
    void Splice(const std::vector<interp::Move>& moves, const interp::Axes& start,
                const std::vector<std::uint8_t>& tools, const MoveChange& change);

    // Makes the arcs in view again for a tolerance (mm); true when what it holds changed.
    // ndcPerMm: the clip space's units per millimetre across and up the view.
    bool Update(const QMatrix4x4& matrix, QPointF ndcPerMm, double tolerance,
                const std::vector<std::uint32_t>& firstVertex);

    bool Active() const { return !refined_.empty(); }
    // The fine chords made by the last Update that changed them, handed over to be uploaded.
    std::vector<PathVertex> TakeVertices() { return std::move(vertices_); }
    // The fine strips of the arcs among moves [firstMove, endMove), and the main buffer's
    // vertex ranges they stand for.
    std::vector<Strip> StripsOf(std::size_t firstMove, std::size_t endMove) const;
    const std::vector<std::pair<std::uint32_t, std::uint32_t>>& Cuts() const { return cuts_; }
    std::size_t BytesHeld() const;

    static constexpr std::size_t kMostVertices = 1'000'000;

  private:
    struct Arc {
        std::uint32_t move, line, style;
        std::int32_t turns;
        float start[3], end[3], centre[3];
        interp::Plane plane;
    };
    interp::Move MoveOf(const Arc& arc) const;
    static void AddArc(const std::vector<interp::Move>& moves, const interp::Axes& from,
                       const std::vector<std::uint8_t>& tools, std::size_t i,
                       std::vector<Arc>& out);

    std::vector<Arc> arcs_;
    double baseTolerance_ = 1;
    int level_ = 0;                       // the chords are baseTolerance / 2^level
    std::vector<std::uint32_t> refined_;  // indices in arcs_, ascending
    std::vector<Strip> strips_;           // one per refined arc
    std::vector<std::pair<std::uint32_t, std::uint32_t>> cuts_;
    std::vector<PathVertex> vertices_;
};

}  // namespace qm
