#pragma once

#include <QMatrix4x4>

#include <cstdint>
#include <vector>

#include "PathGeometry.h"

namespace qm {

// A run of a line strip to draw: vertices first .. first+count-1.
struct Strip {
    std::int32_t first, count;
};

// Consecutive segments in groups of kChunkSegments with the box around each, so that only
// the groups that reach into the view are drawn: a program's moves follow each other in
// space, so a zoomed-in view holds few groups.
class StripChunks {
  public:
    static constexpr std::uint32_t kChunkSegments = 1024;

    void Build(const std::vector<PathVertex>& vertices);
    // The boxes from group firstGroup on made again: from holds the vertices from that group's
    // first to the last of all, count of them in all.
    void BuildFrom(std::size_t firstGroup, const PathVertex* from, std::size_t count);
    // The box round all the vertices.
    Extents Bounds() const;
    // The strips of the groups inside the clip volume of `matrix`, neighbours joined.
    std::vector<Strip> Visible(const QMatrix4x4& matrix, std::int64_t* vertexCount) const;
    std::size_t BytesHeld() const { return boxes_.capacity() * sizeof(Box); }

  private:
    struct Box {
        float low[3], high[3];
    };
    std::vector<Box> boxes_;
    std::uint32_t vertexCount_ = 0;
};

// The strips without the segments of vertices [from, to) that are drawn otherwise, for each
// (from, to) in `cuts` (sorted, apart).
std::vector<Strip> CutOut(const std::vector<Strip>& strips,
                          const std::vector<std::pair<std::uint32_t, std::uint32_t>>& cuts);

// The strip with runs of nearly straight segments of the same style joined, no point further
// than `tolerance` (mm) from what is drawn instead; rapids are kept as they are. sources, when
// given, receives the index in vertices of each point kept.
std::vector<PathVertex> SimplifyStrip(const std::vector<PathVertex>& vertices, double tolerance,
                                      std::vector<std::uint32_t>* sources = nullptr);

// The segments of a strip each drawn once: a segment of the same style as an earlier one whose
// ends fall in the same cells of a grid `cell` mm wide, either way round, is left out, and the
// rest are joined into strips again where they follow each other. A program that goes over
// its path again (passes at one depth, repeated patterns) then draws no slower than one that
// does not.
//   strip (0,0,0) (1,0,0) (0,0,0) (1,0,0) (2,0,0), one style, cell 0.1 ->
//   vertices (0,0,0) (1,0,0) (1,0,0) (2,0,0), strips {0, 2} {2, 2}
// Where each kept vertex came from, so that an edit of the path can tell which drawn segments
// stand for moves it changed: sources[k] is the index of vertices[k] in the path (through
// `sources` of the strip, when given); for the segment ending at vertices[k], lastTwin[k] and
// lastTwinEnd[k] are the path indices of the start and end of the last segment left out as
// alike, both 0 when none was.
struct DistinctStrips {
    std::vector<PathVertex> vertices;
    std::vector<Strip> strips;
    std::vector<std::uint32_t> sources, lastTwin, lastTwinEnd;
};
DistinctStrips DistinctSegments(const std::vector<PathVertex>& strip, double cell,
                                const std::vector<std::uint32_t>* sources = nullptr);

// The zoomed-out overview of a path, and what changed in the path since it was made.
// Segments are named by the index of their end vertex.
class PathOverview {
  public:
    // Made from the whole path (on any thread).
    static PathOverview Make(const std::vector<PathVertex>& path, double tolerance);

    const std::vector<PathVertex>& Vertices() const { return distinct_.vertices; }
    // Hands the vertices over to be uploaded; what is drawn stays known.
    std::vector<PathVertex> TakeVertices() { return std::move(distinct_.vertices); }
    std::size_t VertexCount() const { return distinct_.sources.size(); }

    // The path's segments ending at [first, oldEnd) became those ending at [first, newEnd).
    void Changed(std::uint32_t first, std::uint32_t oldEnd, std::uint32_t newEnd);
    // What to draw so that the picture is the path's as it is now: the overview's strips
    // without what stands only for changed segments, and the path's own vertices [from, end)
    // (none when from == end) over the changed part and whatever those left out also covered.
    struct Drawn {
        std::vector<Strip> strips;
        std::uint32_t from = 0, end = 0;
    };
    Drawn ToDraw() const;
    std::size_t BytesHeld() const;

  private:
    DistinctStrips distinct_;
    // The changed segments: those ending at [from_, baseEnd_) when the overview was made, at
    // [from_, end_) now.
    std::uint32_t from_ = 0, end_ = 0, baseEnd_ = 0;
    bool changed_ = false;
};

}  // namespace qm
