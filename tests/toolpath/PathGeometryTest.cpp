#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "PathGeometry.h"
#include "ToolpathFixture.h"

namespace qm {
namespace {

using interp::Axes;
using interp::Move;
using interp::MoveKind;
using interp::Plane;
constexpr double kPi = std::numbers::pi;

Move ArcTo(Axes end, std::array<double, 3> centre, int turns, Plane plane = Plane::XY,
           std::uint32_t line = 7) {
    return {.end = end,
            .centre = centre,
            .line = line,
            .turns = turns,
            .kind = MoveKind::Arc,
            .plane = plane};
}

Move LineTo(Axes end, MoveKind kind, std::uint32_t line) {
    return {.end = end, .line = line, .kind = kind};
}

// An arc as it truly is: from the start's angle about the centre through `sweep` radians in
// its plane, rising evenly along the plane's normal.
struct TrueArc {
    Axes start;
    Move arc;
    double sweep;
    double Radius() const {
        const interp::PlaneAxes axes = interp::AxesOf(arc.plane);
        return std::hypot(start[axes.first] - arc.centre[axes.first],
                          start[axes.second] - arc.centre[axes.second]);
    }
    Point At(double t) const {
        const interp::PlaneAxes axes = interp::AxesOf(arc.plane);
        const double c1 = arc.centre[axes.first], c2 = arc.centre[axes.second];
        const double radius = Radius();
        const double angle =
            std::atan2(start[axes.second] - c2, start[axes.first] - c1) + t * sweep;
        double p[3];
        p[axes.first] = c1 + radius * std::cos(angle);
        p[axes.second] = c2 + radius * std::sin(angle);
        p[axes.normal] = start[axes.normal] + t * (arc.end[axes.normal] - start[axes.normal]);
        return {p[0], p[1], p[2]};
    }
};

struct ArcCase {
    const char* name;
    Axes start;
    Move arc;
    double sweep;  // what the arc truly turns, radians
    double tolerance;
};

TEST(PathGeometry, ArcsAndHelicesStayWithinTheToleranceOfTheTrueArc) {
    const ArcCase cases[] = {
        {"quarter counter-clockwise", {10, 0, 0}, ArcTo({0, 10, 0}, {0, 0, 0}, 1), kPi / 2, 0.01},
        {"half clockwise", {10, 0, 0}, ArcTo({20, 0, 0}, {15, 0, 0}, -1), -kPi, 0.01},
        {"full circle, end on start", {5, 0, 0}, ArcTo({5, 0, 0}, {0, 0, 0}, 1), 2 * kPi, 0.001},
        {"helix of two turns and a quarter",
         {3, 0, 0},
         ArcTo({0, 3, -9}, {0, 0, 0}, 3),
         4.5 * kPi,
         0.005},
        {"clockwise in ZX",
         {0, 0, 4},
         ArcTo({4, 0, 0}, {0, 0, 0}, -1, Plane::ZX),
         -1.5 * kPi,
         0.01},
        {"helix in YZ along X", {0, 0, 2}, ArcTo({5, 0, -2}, {0, 0, 0}, 1, Plane::YZ), kPi, 0.002},
        {"smaller than the tolerance", {0.01, 0, 0}, ArcTo({-0.01, 0, 0}, {0, 0, 0}, 1), kPi, 0.1},
        {"large and fine", {1000, 0, 0}, ArcTo({0, -1000, 0}, {0, 0, 0}, -1), -kPi / 2, 0.0005},
    };
    for (const ArcCase& c : cases) {
        SCOPED_TRACE(c.name);
        const PathGeometry geometry = BuildPathGeometry({c.arc}, c.start, c.tolerance);
        const std::vector<PathVertex>& v = geometry.vertices;
        ASSERT_EQ(geometry.firstVertex, (std::vector<std::uint32_t>{1, std::uint32_t(v.size())}));
        const TrueArc truth{c.start, c.arc, c.sweep};
        // Every point of the true arc lies near the polyline, and every vertex on the arc: a
        // chord error beyond the tolerance, a wrong direction or a lost turn shows in both.
        constexpr int kSamples = 4000;
        double worst = 0;
        std::size_t segment = 1;
        for (int i = 0; i <= kSamples; ++i) {
            const Point p = truth.At(double(i) / kSamples);
            double nearest = DistanceToSegment(p, v[segment - 1], v[segment]);
            // The polyline is followed in order, so the nearest chord moves on as the arc does.
            while (segment + 1 < v.size()) {
                const double next = DistanceToSegment(p, v[segment], v[segment + 1]);
                if (next > nearest)
                    break;
                nearest = next;
                ++segment;
            }
            worst = std::max(worst, nearest);
        }
        // Vertices are floats: allow their rounding.
        EXPECT_LE(worst, c.tolerance + 2e-7 * truth.Radius());
        EXPECT_EQ(segment + 1, v.size()) << "the polyline goes further than the arc";
        const std::uint32_t chords = std::uint32_t(v.size() - 1);
        EXPECT_EQ(chords, ChordsFor(truth.Radius(), c.sweep, c.tolerance));
        EXPECT_FLOAT_EQ(v.back().x, float(c.arc.end[0]));
        EXPECT_FLOAT_EQ(v.back().y, float(c.arc.end[1]));
        EXPECT_FLOAT_EQ(v.back().z, float(c.arc.end[2]));
        EXPECT_EQ(v.back().line, 7u);
    }
}

TEST(PathGeometry, ChordCountIsTheLeastThatKeepsTheTolerance) {
    struct Case {
        double radius, sweep, tolerance;
    };
    for (const Case c : {Case{10, kPi / 2, 0.01}, Case{10, 2 * kPi, 0.001}, Case{250, 0.3, 0.05},
                         Case{3, 9 * kPi, 0.0001}}) {
        SCOPED_TRACE(testing::Message() << c.radius << " " << c.sweep << " " << c.tolerance);
        const std::uint32_t n = ChordsFor(c.radius, c.sweep, c.tolerance);
        const auto error = [&](std::uint32_t chords) {
            return c.radius * (1 - std::cos(c.sweep / chords / 2));
        };
        EXPECT_LE(error(n), c.tolerance);
        ASSERT_GT(n, 1u);
        EXPECT_GT(error(n - 1), c.tolerance);
    }
    EXPECT_EQ(ChordsFor(1, 1e9, 1e-9), 65536u) << "an absurd arc is bounded";
    EXPECT_EQ(ChordsFor(0.001, 2 * kPi, 1), 4u) << "a dot of a circle keeps quarter chords";
}

TEST(PathGeometry, EachMoveOwnsItsVerticesAndTheExtentsHoldThem) {
    const std::vector<Move> moves = {
        LineTo({10, 0, 0}, MoveKind::Rapid, 2), ArcTo({20, 0, 0}, {15, 0, 0}, -1, Plane::XY, 3),
        LineTo({20, 0, -1}, MoveKind::Feed, 4), LineTo({20, 0, -1, 90}, MoveKind::Feed, 5)};
    const PathGeometry geometry = BuildPathGeometry(moves, {0, 0, 5}, 0.01, {1, 2, 3, 4});
    const std::vector<PathVertex>& v = geometry.vertices;
    const std::uint32_t arcEnd = geometry.firstVertex[2];
    ASSERT_EQ(geometry.firstVertex.size(), moves.size() + 1);
    EXPECT_EQ(geometry.firstVertex[0], 1u);
    EXPECT_EQ(geometry.firstVertex[1], 2u);
    EXPECT_GT(arcEnd, 10u);
    EXPECT_EQ(geometry.firstVertex[3], arcEnd + 1);
    EXPECT_EQ(geometry.firstVertex[4], v.size()) << "a rotary move still owns one vertex";
    for (std::size_t move = 0; move < moves.size(); ++move) {
        for (std::uint32_t i = geometry.firstVertex[move]; i < geometry.firstVertex[move + 1];
             ++i) {
            EXPECT_EQ(v[i].line, moves[move].line);
            EXPECT_EQ(KindOfStyle(v[i].style), moves[move].kind);
            EXPECT_EQ(ToolOfStyle(v[i].style), move + 1);
        }
    }
    EXPECT_FALSE(geometry.extents.empty);
    EXPECT_EQ(geometry.extents.low, (std::array<double, 3>{0, 0, -1}));
    EXPECT_NEAR(geometry.extents.high[1], 5, 0.01) << "the clockwise half circle bulges up";
    EXPECT_EQ(geometry.extents.high[2], 5);
    EXPECT_EQ(geometry.extents.high[0], 20);

    const PathGeometry none = BuildPathGeometry({}, {1, 2, 3}, 0.01);
    EXPECT_TRUE(none.extents.empty);
    EXPECT_EQ(none.firstVertex, std::vector<std::uint32_t>{1});
    EXPECT_EQ(CountPathVertices(moves, {0, 0, 5}, 0.01), v.size());
}

// Random moves from the end of the one before: rapids, feeds, and arcs both ways round.
Move RandomMove(std::mt19937& random, const Axes& from, std::uint32_t line) {
    std::uniform_real_distribution<double> step(-5, 5);
    Axes end = from;
    end[0] += step(random), end[1] += step(random), end[2] += step(random) / 5;
    const int kind = int(random() % 3);
    Move move = kind == 2 ? ArcTo(end, {(from[0] + end[0]) / 2 + 1, (from[1] + end[1]) / 2, 0},
                                  random() % 2 ? 1 : -1, Plane::XY, line)
                          : LineTo(end, MoveKind(kind), line);
    if (random() % 8 == 0)
        move.callLine = line + 1000;  // made in a subprogram file
    return move;
}

bool SameVertex(const PathVertex& a, const PathVertex& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z && a.line == b.line && a.style == b.style;
}

// A path large enough to be made in halves on two cores joins them as if made in one go:
// each move's vertices are those it makes alone from where the move before it ends.
TEST(PathGeometry, ALargePathMadeInHalvesIsEachMoveMadeFromTheLastOnesEnd) {
    std::vector<Move> moves;
    std::vector<std::uint8_t> tools;
    for (std::uint32_t i = 0; moves.size() < 70'002; ++i) {  // an arc starts the second half
        const double x = i % 100, y = double(i / 100);
        moves.push_back(LineTo({x, y, -1}, i % 3 == 0 ? MoveKind::Rapid : MoveKind::Feed, i));
        moves.push_back(ArcTo({x + 1, y, -1}, {x + 0.5, y, -1}, i % 2 == 0 ? 1 : -2, Plane::XY, i));
        tools.insert(tools.end(), {std::uint8_t(i % 5), std::uint8_t(i % 7)});
    }
    const Axes start{0, 0, 5};
    const PathGeometry whole = BuildPathGeometry(moves, start, 0.001, tools);
    ASSERT_EQ(whole.firstVertex.size(), moves.size() + 1);
    ASSERT_EQ(whole.firstVertex.back(), whole.vertices.size());
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const PathGeometry alone =
            BuildPathGeometry({moves[i]}, i == 0 ? start : moves[i - 1].end, 0.001, {tools[i]});
        const auto from = whole.vertices.begin() + whole.firstVertex[i];
        const auto to = whole.vertices.begin() + whole.firstVertex[i + 1];
        ASSERT_TRUE(std::equal(from, to, alone.vertices.begin() + 1, alone.vertices.end(),
                               [](const PathVertex& a, const PathVertex& b) {
                                   return a.x == b.x && a.y == b.y && a.z == b.z &&
                                          a.line == b.line && a.style == b.style;
                               }))
            << "move " << i;
    }
}

TEST(PathGeometry, AChangeAppliedGivesWhatBuildingTheNewMovesGives) {
    std::mt19937 random(27);
    const Axes start{0, 0, 5};
    std::vector<Move> moves;
    for (std::uint32_t i = 0; i < 3000; ++i)
        moves.push_back(RandomMove(random, i == 0 ? start : moves.back().end, i + 1));
    std::vector<std::uint8_t> tools(moves.size(), 1);
    PathGeometry geometry = BuildPathGeometry(moves, start, 0.01, tools);
    int applied = 0;
    for (int edit = 0; edit < 60; ++edit) {
        SCOPED_TRACE(edit);
        MoveChange change;
        change.first = random() % moves.size();
        change.removed = std::min<std::size_t>(random() % 4, moves.size() - change.first);
        change.added = random() % 4;
        // The new moves end where the old did, as when following an edit again stopped where
        // the state was the one before; every tenth edit not, which is refused.
        const Axes& before = change.first == 0 ? start : moves[change.first - 1].end;
        const Axes reached =
            change.removed == 0 ? before : moves[change.first + change.removed - 1].end;
        const bool broken = edit % 10 == 9;
        std::vector<Move> next(moves.begin(), moves.begin() + std::ptrdiff_t(change.first));
        for (std::size_t k = 0; k < change.added; ++k)
            next.push_back(RandomMove(random, next.empty() ? start : next.back().end, 0));
        if (change.added > 0 && !broken)
            next.back().end = reached;
        next.insert(next.end(), moves.begin() + std::ptrdiff_t(change.first + change.removed),
                    moves.end());
        for (std::size_t k = change.first; k < next.size(); ++k)
            next[k].line = std::uint32_t(k + 1);  // the lines after an edit move
        // The moves before keep their tools' colours; those after may take others.
        tools.resize(change.first);
        while (tools.size() < next.size())
            tools.push_back(std::uint8_t(random() % 3));
        const bool tailLeft = change.first + change.removed < moves.size();
        const bool joins = !tailLeft || (change.added > 0 ? !broken : change.removed == 0);

        const std::uint32_t windowStart =
            std::max<std::uint32_t>(geometry.firstVertex[change.first], 2) - 2;
        std::vector<PathVertex> window(geometry.vertices.begin() + windowStart,
                                       geometry.vertices.end());
        std::vector<std::uint32_t> firstVertex = geometry.firstVertex;
        const bool done =
            ApplyMoveChange(next, start, 0.01, tools, change, firstVertex, windowStart, window);
        const PathGeometry fresh = BuildPathGeometry(next, start, 0.01, tools);
        EXPECT_EQ(done, joins);
        if (done) {
            ++applied;
            EXPECT_EQ(firstVertex, fresh.firstVertex);
            ASSERT_EQ(windowStart + window.size(), fresh.vertices.size());
            EXPECT_TRUE(std::equal(window.begin(), window.end(),
                                   fresh.vertices.begin() + windowStart, SameVertex));
        } else {
            EXPECT_EQ(firstVertex, geometry.firstVertex) << "refused, left as it was";
        }
        geometry = fresh;
        moves = next;
    }
    EXPECT_GT(applied, 30);
    std::vector<std::uint32_t> firstVertex = geometry.firstVertex;
    std::vector<PathVertex> window = geometry.vertices;
    EXPECT_FALSE(ApplyMoveChange(moves, start, 0.01, {}, {0, 2, 0}, firstVertex, 0, window))
        << "a change that does not fit the moves' count is refused";
}

}  // namespace
}  // namespace qm
