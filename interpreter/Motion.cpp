#include "Motion.h"

#include <cmath>
#include <numbers>

namespace qm::interp {
namespace {

double Distance(const Axes& a, const Axes& b) {
    return std::sqrt((a[kX] - b[kX]) * (a[kX] - b[kX]) + (a[kY] - b[kY]) * (a[kY] - b[kY]) +
                     (a[kZ] - b[kZ]) * (a[kZ] - b[kZ]));
}

}  // namespace

double ArcLength(const Axes& start, const Move& arc) {
    const PlaneAxes axes = AxesOf(arc.plane);
    const double c1 = arc.centre[axes.first], c2 = arc.centre[axes.second];
    const double radius = std::hypot(start[axes.first] - c1, start[axes.second] - c2);
    const double a0 = std::atan2(start[axes.second] - c2, start[axes.first] - c1);
    const double a1 = std::atan2(arc.end[axes.second] - c2, arc.end[axes.first] - c1);
    constexpr double kTurn = 2 * std::numbers::pi;
    double sweep = arc.turns > 0 ? a1 - a0 : a0 - a1;
    while (sweep <= 1e-12)
        sweep += kTurn;
    sweep += kTurn * (std::abs(arc.turns) - 1);
    const double helix = arc.end[axes.normal] - start[axes.normal];
    return std::hypot(radius * sweep, helix);
}

double Motion::FeedRate(double moveLength) const {
    const ModalState& modal = context_.modal;
    switch (modal.feedMode) {
        case FeedMode::PerMinute:
            return modal.feed;
        case FeedMode::InverseTime:
            return modal.feed * moveLength;
        case FeedMode::PerRevolution:
            return modal.feed * modal.speed;
    }
    return 0;
}

void Motion::Send(Move move) {
    move.line = line_;
    listener_.OnMove(move);
    context_.position = move.end;
}

void Motion::Rapid(const Axes& end) {
    Move move;
    move.end = end;
    move.kind = MoveKind::Rapid;
    Send(move);
}

void Motion::Feed(const Axes& end) {
    Move move;
    move.end = end;
    move.kind = MoveKind::Feed;
    move.feed = FeedRate(Distance(context_.position, end));
    Send(move);
}

void Motion::Arc(const Axes& end, const std::array<double, 3>& centre, int turns, Plane plane) {
    Move move;
    move.end = end;
    move.centre = centre;
    move.turns = turns;
    move.plane = plane;
    move.kind = MoveKind::Arc;
    move.feed = FeedRate(ArcLength(context_.position, move));
    Send(move);
}

}  // namespace qm::interp
