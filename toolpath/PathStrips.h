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
// than `tolerance` (mm) from what is drawn instead; rapids are kept as they are.
std::vector<PathVertex> SimplifyStrip(const std::vector<PathVertex>& vertices, double tolerance);

// The segments of a strip each drawn once: a segment of the same style as an earlier one whose
// ends fall in the same cells of a grid `cell` mm wide, either way round, is left out, and the
// rest are joined into strips again where they follow each other. A program that goes over
// its path again (passes at one depth, repeated patterns) then draws no slower than one that
// does not.
//   strip (0,0,0) (1,0,0) (0,0,0) (1,0,0) (2,0,0), one style, cell 0.1 ->
//   vertices (0,0,0) (1,0,0) (1,0,0) (2,0,0), strips {0, 2} {2, 2}
struct DistinctStrips {
    std::vector<PathVertex> vertices;
    std::vector<Strip> strips;
};
DistinctStrips DistinctSegments(const std::vector<PathVertex>& strip, double cell);

}  // namespace qm
