#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "PathStrips.h"
#include "ToolpathFixture.h"

namespace qm {
namespace {

constexpr std::uint32_t kRapid = 0, kFeed = 1, kArc = 2;

struct SimplifyCase {
    const char* name;
    std::vector<PathVertex> path;
    double tolerance;
    std::size_t mostKept;  // a simplification that keeps more has not simplified
};

std::vector<PathVertex> Sampled(int count, std::uint32_t style, auto point) {
    std::vector<PathVertex> path;
    for (int i = 0; i < count; ++i) {
        const auto [x, y, z] = point(i);
        path.push_back({float(x), float(y), float(z), std::uint32_t(i + 1), style});
    }
    return path;
}

TEST(PathStrips, SimplifiedStripStaysWithinToleranceAndKeepsStylesAndRapids) {
    std::vector<PathVertex> mixed = Sampled(300, kFeed, [](int i) {
        return std::array<double, 3>{i * 0.05, std::sin(i * 0.05), 0.0};
    });
    for (int i = 100; i < 110; ++i)
        mixed[i].style = kRapid;
    for (int i = 200; i < 300; ++i)
        mixed[i].style = kArc | (3 << 8);
    const SimplifyCase cases[] = {
        {"a dense straight line",
         Sampled(1000, kFeed,
                 [](int i) {
                     return std::array<double, 3>{i * 0.01, i * 0.02, -i * 0.005};
                 }),
         0.01, 2},
        {"a fine helix",
         Sampled(2000, kArc,
                 [](int i) {
                     return std::array<double, 3>{10 * std::cos(i * 0.01), 10 * std::sin(i * 0.01),
                                                  i * 0.001};
                 }),
         0.05, 400},
        {"back and forth on one line",
         Sampled(40, kFeed,
                 [](int i) {
                     return std::array<double, 3>{i % 2 == 0 ? 0.0 : 5.0, 0.0, 0.0};
                 }),
         0.1, 40},
        {"a wave with rapids and a second style", mixed, 0.02, 150},
    };
    for (const SimplifyCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<PathVertex> kept = SimplifyStrip(c.path, c.tolerance);
        EXPECT_LE(kept.size(), c.mostKept);
        // Walk both: each kept vertex is one of the path's, in order; every vertex in between
        // lies near the kept segment standing for it, and has its style.
        std::size_t k = 0;
        for (std::size_t i = 0; i < c.path.size(); ++i) {
            const PathVertex& v = c.path[i];
            if (v.x == kept[k].x && v.y == kept[k].y && v.z == kept[k].z &&
                v.line == kept[k].line) {
                ++k;
                continue;
            }
            ASSERT_LT(k, kept.size());
            EXPECT_LE(DistanceToSegment({v.x, v.y, v.z}, kept[k - 1], kept[k]),
                      c.tolerance * (1 + 1e-6))
                << "vertex " << i;
            EXPECT_EQ(v.style, kept[k].style) << "vertex " << i;
            EXPECT_NE(v.style & 0xff, kRapid) << "a rapid was joined, vertex " << i;
        }
        EXPECT_EQ(k, kept.size()) << "the last vertex is kept";
    }
}

TEST(PathStrips, CuttingOutRunsLeavesTheirLastPointToTheNext) {
    using Cuts = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
    struct Case {
        std::vector<Strip> strips;
        Cuts cuts;
        std::vector<Strip> expected;
    };
    const auto same = [](const std::vector<Strip>& a, const std::vector<Strip>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](const Strip& x, const Strip& y) {
                              return x.first == y.first && x.count == y.count;
                          });
    };
    const Case cases[] = {
        {{{0, 11}}, {}, {{0, 11}}},
        {{{0, 11}}, {{4, 7}}, {{0, 4}, {6, 5}}},         // segments ending at 4, 5, 6 go
        {{{0, 11}}, {{1, 3}, {8, 11}}, {{2, 6}}},        // at both ends
        {{{0, 5}, {7, 5}}, {{4, 9}}, {{0, 4}, {8, 4}}},  // across two strips
        {{{10, 5}}, {{2, 4}, {20, 22}}, {{10, 5}}},      // beside it
        {{{0, 11}}, {{1, 11}}, {}},                      // all of it
    };
    for (const Case& c : cases)
        EXPECT_TRUE(same(CutOut(c.strips, c.cuts), c.expected));
}

TEST(PathStrips, OnlyTheChunksInViewAreDrawn) {
    const std::vector<PathVertex> path = Sampled(3000, kFeed, [](int i) {
        return std::array<double, 3>{double(i), 0.0, 0.0};
    });
    StripChunks chunks;
    chunks.Build(path);
    struct Case {
        double low, high;  // the view's X
        std::vector<Strip> expected;
    };
    const Case cases[] = {
        {1500, 1600, {{1024, 1025}}},
        {-100, 5000, {{0, 3000}}},
        {1000, 1100, {{0, 2049}}},
        {4000, 5000, {}},
    };
    for (const Case& c : cases) {
        QMatrix4x4 view;
        view.ortho(float(c.low), float(c.high), -1, 1, -1, 1);
        std::int64_t count = -1;
        const std::vector<Strip> strips = chunks.Visible(view, &count);
        ASSERT_EQ(strips.size(), c.expected.size()) << c.low;
        std::int64_t expectedCount = 0;
        for (std::size_t i = 0; i < strips.size(); ++i) {
            EXPECT_EQ(strips[i].first, c.expected[i].first);
            EXPECT_EQ(strips[i].count, c.expected[i].count);
            expectedCount += c.expected[i].count - 1;
        }
        EXPECT_EQ(count, expectedCount);
    }
}

struct DistinctCase {
    const char* name;
    std::vector<PathVertex> strip;
    std::vector<std::array<float, 3>> kept;  // the vertices drawn, strip after strip
    std::size_t strips;
};

TEST(PathStrips, EachDistinctSegmentIsDrawnOnceWhicheverWayItIsGone) {
    const auto v = [](float x, float y, std::uint32_t style) {
        return PathVertex{x, y, 0, 1, style};
    };
    const DistinctCase cases[] = {
        {"gone over twice",
         {v(0, 0, kFeed), v(1, 0, kFeed), v(0, 0, kFeed), v(1, 0, kFeed), v(2, 0, kFeed)},
         {{0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {2, 0, 0}},
         2},
        {"back the same way",
         {v(0, 0, kFeed), v(1, 0, kFeed), v(0, 0, kFeed)},
         {{0, 0, 0}, {1, 0, 0}},
         1},
        {"within a cell of the first",
         {v(0, 0, kFeed), v(1, 0, kFeed), v(0.01f, 0.02f, kFeed)},
         {{0, 0, 0}, {1, 0, 0}},
         1},
        {"a rapid over a feed",
         {v(0, 0, kFeed), v(1, 0, kFeed), v(0, 0, kRapid)},
         {{0, 0, 0}, {1, 0, 0}, {0, 0, 0}},
         1},
        {"a cell further",
         {v(0, 0, kFeed), v(1, 0, kFeed), v(0, 0.2f, kFeed)},
         {{0, 0, 0}, {1, 0, 0}, {0, 0.2f, 0}},
         1},
    };
    for (const DistinctCase& c : cases) {
        SCOPED_TRACE(c.name);
        const DistinctStrips distinct = DistinctSegments(c.strip, 0.1);
        std::vector<std::array<float, 3>> kept;
        for (const PathVertex& p : distinct.vertices)
            kept.push_back({p.x, p.y, p.z});
        EXPECT_EQ(kept, c.kept);
        ASSERT_EQ(distinct.strips.size(), c.strips);
        std::size_t covered = 0;
        for (const Strip& strip : distinct.strips) {
            EXPECT_EQ(strip.first, std::int32_t(covered));
            covered += std::size_t(strip.count);
        }
        EXPECT_EQ(covered, distinct.vertices.size());
        // A drawn segment keeps the style of the strip's segment it stands for.
        EXPECT_EQ(distinct.vertices.back().style, c.strip.back().style == kRapid ? kRapid : kFeed);
    }
}

// Whether every point along each segment of `segments` lies, within `near`, on a segment of
// `on` with its style.
using Segments = std::vector<std::pair<PathVertex, PathVertex>>;
bool Covered(const Segments& segments, const Segments& on, double near) {
    for (const auto& [a, b] : segments)
        for (int step = 0; step <= 8; ++step) {
            const double t = step / 8.0;
            const Point p{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z)};
            const bool found = std::any_of(on.begin(), on.end(), [&](const auto& s) {
                return s.second.style == b.style && DistanceToSegment(p, s.first, s.second) <= near;
            });
            if (!found)
                return false;
        }
    return true;
}

Segments SegmentsOf(const std::vector<PathVertex>& path, std::uint32_t from, std::uint32_t end) {
    Segments segments;
    for (std::uint32_t i = from + 1; i < end; ++i)
        segments.emplace_back(path[i - 1], path[i]);
    return segments;
}

// What a frame draws when zoomed out: the overview's strips and the path over its changes.
Segments DrawnOf(const PathOverview& overview, const std::vector<PathVertex>& path) {
    const PathOverview::Drawn drawn = overview.ToDraw();
    Segments segments = SegmentsOf(path, drawn.from, std::max(drawn.from, drawn.end));
    const std::vector<PathVertex>& vertices = overview.Vertices();
    for (const Strip& strip : drawn.strips)
        for (std::int32_t k = strip.first + 1; k < strip.first + strip.count; ++k)
            segments.emplace_back(vertices[std::size_t(k) - 1], vertices[std::size_t(k)]);
    return segments;
}

// Replaces the path's vertices [first, oldEnd) by those added and tells the overview.
void Edit(std::vector<PathVertex>& path, PathOverview& overview, std::uint32_t first,
          std::uint32_t oldEnd, const std::vector<PathVertex>& added) {
    path.erase(path.begin() + first, path.begin() + oldEnd);
    path.insert(path.begin() + first, added.begin(), added.end());
    overview.Changed(first, oldEnd, first + std::uint32_t(added.size()));
}

constexpr double kTolerance = 0.1;

// Alike segments share the cells of their ends: within a cell's diagonal.
void ExpectDrawnAsItIs(const PathOverview& overview, const std::vector<PathVertex>& path) {
    const Segments drawn = DrawnOf(overview, path);
    const Segments now = SegmentsOf(path, 0, std::uint32_t(path.size()));
    EXPECT_TRUE(Covered(now, drawn, 2 * kTolerance)) << "a segment of the path is not drawn";
    EXPECT_TRUE(Covered(drawn, now, 2 * kTolerance)) << "a segment no longer in the path is drawn";
}

TEST(PathStrips, AnEditedPathsOverviewDrawsItAsItIsNowAndNothingItLost) {
    const auto v = [](float x, float y) { return PathVertex{x, y, 0, 1, kFeed}; };
    {
        SCOPED_TRACE("the one drawn and the one alike it both edited");
        // Out, then back in two steps joined into one segment, alike the first and left out.
        std::vector<PathVertex> path = {v(0, 0), v(2, 0), v(1, 0), v(0, 0)};
        PathOverview overview = PathOverview::Make(path, kTolerance);
        Edit(path, overview, 1, 3, {v(0, 5), v(1, 0)});
        ExpectDrawnAsItIs(overview, path);
    }
    // A walk over a small grid goes over its segments again and again, and runs straight now
    // and then, so that segments are left out as alike and joined; each edit replaces a few
    // vertices, the last new one where the last old one was, as an edit of moves does.
    std::mt19937 random(27);
    const auto step = [&](const PathVertex& from) {
        PathVertex next = from;
        while (next.x == from.x && next.y == from.y) {
            next.x = float(random() % 4);
            next.y = random() % 2 == 0 ? from.y : float(random() % 4);
        }
        next.style = random() % 8 == 0 ? kArc : kFeed;
        return next;
    };
    std::vector<PathVertex> path = {v(0, 0)};
    while (path.size() < 80)
        path.push_back(step(path.back()));
    PathOverview overview = PathOverview::Make(path, kTolerance);
    for (int edit = 0; edit < 300 && !HasFailure(); ++edit) {
        SCOPED_TRACE(edit);
        if (edit % 3 == 0)
            overview = PathOverview::Make(path, kTolerance);  // made again now and then
        const std::uint32_t first = 1 + std::uint32_t(random() % (path.size() - 4));
        const std::uint32_t oldEnd = first + 1 + std::uint32_t(random() % 3);
        std::vector<PathVertex> added;
        const std::uint32_t count = std::uint32_t(random() % 4) + (path.size() < 60 ? 2 : 0);
        for (std::uint32_t k = 0; k < count; ++k)
            added.push_back(step(added.empty() ? path[first - 1] : added.back()));
        if (added.empty() &&
            (path[oldEnd - 1].x != path[first - 1].x || path[oldEnd - 1].y != path[first - 1].y))
            added.push_back(step(path[first - 1]));
        if (!added.empty()) {
            added.back().x = path[oldEnd - 1].x;
            added.back().y = path[oldEnd - 1].y;
        }
        Edit(path, overview, first, oldEnd, added);
        ExpectDrawnAsItIs(overview, path);
    }
}

}  // namespace
}  // namespace qm
