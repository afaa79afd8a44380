#include "PathStrips.h"

#include <algorithm>
#include <cmath>

namespace qm {
namespace {

struct Vec {
    double x, y, z;
};
Vec From(const PathVertex& a, const PathVertex& b) {
    return {double(b.x) - a.x, double(b.y) - a.y, double(b.z) - a.z};
}
double Dot(const Vec& a, const Vec& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

bool InsideClip(const QMatrix4x4& matrix, const float* low, const float* high) {
    float least[2] = {1e30f, 1e30f}, most[2] = {-1e30f, -1e30f};
    for (int i = 0; i < 8; ++i) {
        const QVector3D p = matrix.map(QVector3D(i & 1 ? high[0] : low[0], i & 2 ? high[1] : low[1],
                                                 i & 4 ? high[2] : low[2]));
        least[0] = std::min(least[0], p.x()), most[0] = std::max(most[0], p.x());
        least[1] = std::min(least[1], p.y()), most[1] = std::max(most[1], p.y());
    }
    return most[0] >= -1 && least[0] <= 1 && most[1] >= -1 && least[1] <= 1;
}

struct Cell {
    std::int32_t x, y, z;
    bool operator==(const Cell&) const = default;
};

std::uint64_t Mix(std::uint64_t hash, std::uint64_t value) {
    hash ^= value + 0x9e3779b97f4a7c15ull + (hash << 6) + (hash >> 2);
    return hash * 0xff51afd7ed558ccdull;
}

std::uint64_t CellHash(const Cell& c) {
    return Mix(Mix(Mix(0, std::uint32_t(c.x)), std::uint32_t(c.y)), std::uint32_t(c.z));
}

}  // namespace

void StripChunks::Build(const std::vector<PathVertex>& vertices) {
    BuildFrom(0, vertices.data(), vertices.size());
}

void StripChunks::BuildFrom(std::size_t firstGroup, const PathVertex* from, std::size_t count) {
    boxes_.resize(std::min(boxes_.size(), firstGroup));
    vertexCount_ = std::uint32_t(count);
    if (count < 2) {
        boxes_.clear();
        return;
    }
    const std::size_t segments = count - 1;
    const std::size_t base = firstGroup * kChunkSegments;
    boxes_.reserve((segments + kChunkSegments - 1) / kChunkSegments);
    for (std::size_t first = base; first < segments; first += kChunkSegments) {
        const std::size_t last = std::min(first + kChunkSegments, segments);
        const PathVertex& v = from[first - base];
        Box box{{v.x, v.y, v.z}, {v.x, v.y, v.z}};
        for (std::size_t i = first + 1; i <= last; ++i) {
            const float p[3] = {from[i - base].x, from[i - base].y, from[i - base].z};
            for (int axis = 0; axis < 3; ++axis) {
                box.low[axis] = std::min(box.low[axis], p[axis]);
                box.high[axis] = std::max(box.high[axis], p[axis]);
            }
        }
        boxes_.push_back(box);
    }
}

Extents StripChunks::Bounds() const {
    Extents extents;
    for (const Box& box : boxes_) {
        for (int axis = 0; axis < 3; ++axis) {
            extents.low[axis] =
                extents.empty ? box.low[axis] : std::min<double>(extents.low[axis], box.low[axis]);
            extents.high[axis] = extents.empty
                                     ? box.high[axis]
                                     : std::max<double>(extents.high[axis], box.high[axis]);
        }
        extents.empty = false;
    }
    return extents;
}

std::vector<Strip> StripChunks::Visible(const QMatrix4x4& matrix, std::int64_t* vertexCount) const {
    std::vector<Strip> strips;
    std::int64_t total = 0;
    for (std::size_t k = 0; k < boxes_.size(); ++k) {
        if (!InsideClip(matrix, boxes_[k].low, boxes_[k].high))
            continue;
        const std::int32_t first = std::int32_t(k * kChunkSegments);
        const std::int32_t last =
            std::int32_t(std::min<std::size_t>((k + 1) * kChunkSegments, vertexCount_ - 1));
        if (!strips.empty() && strips.back().first + strips.back().count - 1 == first)
            strips.back().count = last - strips.back().first + 1;
        else
            strips.push_back({first, last - first + 1});
        total += last - first;
    }
    if (vertexCount != nullptr)
        *vertexCount = total;
    return strips;
}

std::vector<Strip> CutOut(const std::vector<Strip>& strips,
                          const std::vector<std::pair<std::uint32_t, std::uint32_t>>& cuts) {
    std::vector<Strip> out;
    auto cut = cuts.begin();
    for (const Strip& strip : strips) {
        std::int64_t first = strip.first;
        const std::int64_t last = std::int64_t(strip.first) + strip.count - 1;
        while (cut != cuts.end() && std::int64_t(cut->second) - 1 <= first)
            ++cut;
        // The segments ending at from .. to-1 go: the strip stops at from-1 and goes on from
        // to-1, the cut run's last point.
        for (auto c = cut; c != cuts.end() && std::int64_t(c->first) <= last; ++c) {
            const std::int64_t stop = std::int64_t(c->first) - 1;
            if (stop > first)
                out.push_back({std::int32_t(first), std::int32_t(stop - first + 1)});
            first = std::max<std::int64_t>(first, std::int64_t(c->second) - 1);
        }
        if (last > first)
            out.push_back({std::int32_t(first), std::int32_t(last - first + 1)});
    }
    return out;
}

std::vector<PathVertex> SimplifyStrip(const std::vector<PathVertex>& vertices, double tolerance,
                                      std::vector<std::uint32_t>* sources) {
    std::vector<PathVertex> out;
    if (sources != nullptr)
        sources->clear();
    if (vertices.empty())
        return out;
    // Room for every vertex: the part never written takes no memory, and the vectors, only
    // ever a step towards the overview, are neither grown nor fitted by copying them.
    out.reserve(vertices.size());
    if (sources != nullptr)
        sources->reserve(vertices.size());
    const auto keep = [&](std::size_t i) {
        out.push_back(vertices[i]);
        if (sources != nullptr)
            sources->push_back(std::uint32_t(i));
    };
    keep(0);
    // Each point of a run lies within a third of the tolerance of the line from the run's
    // anchor along its first clear direction, no further back than that along it: then the
    // segment from the anchor to the run's last point is within the tolerance of them all.
    const double near = tolerance / 3;
    std::size_t i = 1;
    while (i < vertices.size()) {
        const std::uint32_t style = vertices[i].style;
        if (KindOfStyle(style) == interp::MoveKind::Rapid) {
            keep(i++);
            continue;
        }
        const PathVertex anchor = out.back();
        Vec direction{0, 0, 0};
        bool aimed = false;
        double along = 0;
        std::size_t j = i;
        // Compared squared: a square root only where a run takes its direction.
        const double nearSquared = near * near;
        for (; j < vertices.size() && vertices[j].style == style; ++j) {
            const Vec p = From(anchor, vertices[j]);
            const double lengthSquared = Dot(p, p);
            if (!aimed) {
                if (lengthSquared <= nearSquared)
                    continue;
                const double length = std::sqrt(lengthSquared);
                direction = {p.x / length, p.y / length, p.z / length};
                along = length;
                aimed = true;
                continue;
            }
            const double t = Dot(p, direction);
            if (lengthSquared - t * t > nearSquared || t < along - near)
                break;
            along = std::max(along, t);
        }
        j = std::max(j, i + 1);
        keep(j - 1);
        i = j;
    }
    return out;
}

DistinctStrips DistinctSegments(const std::vector<PathVertex>& strip, double cell,
                                const std::vector<std::uint32_t>* sources) {
    DistinctStrips out;
    if (strip.size() < 2)
        return out;
    const auto source = [&](std::size_t i) {
        return sources != nullptr ? (*sources)[i] : std::uint32_t(i);
    };
    // For each segment of the strip, the kept vertex ending the segment that stands for it.
    std::vector<std::uint32_t> keptAs(strip.size(), 0);
    const auto twin = [&](std::size_t kept, std::size_t end) {
        keptAs[end] = keptAs[kept];
        out.lastTwin[keptAs[kept]] = source(end - 1);
        out.lastTwinEnd[keptAs[kept]] = source(end);
    };
    const double perCell = cell > 0 ? 1 / cell : 1;
    std::vector<Cell> cells(strip.size());
    for (std::size_t i = 0; i < strip.size(); ++i) {
        const PathVertex& v = strip[i];
        cells[i] = {std::int32_t(std::floor(v.x * perCell)),
                    std::int32_t(std::floor(v.y * perCell)),
                    std::int32_t(std::floor(v.z * perCell))};
    }
    // Open addressing over the segments kept, each named by the index of its end.
    std::size_t size = 16;
    while (size < 2 * strip.size())
        size *= 2;
    std::vector<std::uint32_t> table(size, 0);
    const auto same = [&](std::size_t a, std::size_t b) {
        if (strip[a].style != strip[b].style)
            return false;
        return (cells[a] == cells[b] && cells[a - 1] == cells[b - 1]) ||
               (cells[a] == cells[b - 1] && cells[a - 1] == cells[b]);
    };
    // A path gone over again mostly repeats whole runs of segments: after a segment found to
    // be an earlier one's, the next is first tried against that one's successor.
    std::size_t lastKept = 0, predicted = 0;
    for (std::size_t end = 1; end < strip.size(); ++end) {
        if (predicted != 0 && predicted < end && same(predicted, end)) {
            twin(predicted, end);
            ++predicted;
            continue;
        }
        // Either way round hashes alike.
        const std::uint64_t h1 = CellHash(cells[end - 1]), h2 = CellHash(cells[end]);
        std::size_t slot =
            std::size_t(Mix(std::min(h1, h2) ^ (std::max(h1, h2) * 31), strip[end].style)) &
            (size - 1);
        predicted = 0;
        while (table[slot] != 0) {
            if (same(table[slot], end)) {
                twin(table[slot], end);
                predicted = table[slot] + 1;
                break;
            }
            slot = (slot + 1) & (size - 1);
        }
        if (predicted != 0)
            continue;
        table[slot] = std::uint32_t(end);
        if (lastKept == end - 1 && !out.strips.empty()) {
            ++out.strips.back().count;
        } else {
            out.strips.push_back({std::int32_t(out.vertices.size()), 2});
            out.vertices.push_back(strip[end - 1]);
            out.sources.push_back(source(end - 1));
            out.lastTwin.push_back(0);
            out.lastTwinEnd.push_back(0);
        }
        keptAs[end] = std::uint32_t(out.vertices.size());
        out.vertices.push_back(strip[end]);
        out.sources.push_back(source(end));
        out.lastTwin.push_back(0);
        out.lastTwinEnd.push_back(0);
        lastKept = end;
    }
    out.vertices.shrink_to_fit();
    out.strips.shrink_to_fit();
    out.sources.shrink_to_fit();
    out.lastTwin.shrink_to_fit();
    out.lastTwinEnd.shrink_to_fit();
    return out;
}

PathOverview PathOverview::Make(const std::vector<PathVertex>& path, double tolerance) {
    std::vector<std::uint32_t> sources;
    const std::vector<PathVertex> simple = SimplifyStrip(path, tolerance, &sources);
    PathOverview overview;
    overview.distinct_ = DistinctSegments(simple, tolerance, &sources);
    return overview;
}

void PathOverview::Changed(std::uint32_t first, std::uint32_t oldEnd, std::uint32_t newEnd) {
    if (!changed_) {
        from_ = first;
        baseEnd_ = oldEnd;
        end_ = newEnd;
        changed_ = true;
        return;
    }
    // One span holds both changes, and whatever lies between them.
    const std::int64_t shift = std::int64_t(end_) - std::int64_t(baseEnd_);
    if (oldEnd > end_)
        baseEnd_ = std::uint32_t(std::int64_t(oldEnd) - shift);
    end_ = std::uint32_t(std::int64_t(std::max(end_, oldEnd)) + std::int64_t(newEnd) -
                         std::int64_t(oldEnd));
    from_ = std::min(from_, first);
}

PathOverview::Drawn PathOverview::ToDraw() const {
    Drawn drawn;
    if (!changed_) {
        drawn.strips = distinct_.strips;
        return drawn;
    }
    // A drawn segment goes when it covers a changed segment and nothing alike is left after
    // the change; the path is then drawn over all it covered.
    // The vertices round the changed segments, as they were.
    std::uint32_t low = from_ - 1, high = std::max(baseEnd_, from_) - 1;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> cuts;
    const std::vector<std::uint32_t>& sources = distinct_.sources;
    for (const Strip& strip : distinct_.strips) {
        for (std::int32_t k = strip.first + 1; k < strip.first + strip.count; ++k) {
            const std::uint32_t start = sources[std::size_t(k) - 1], end = sources[std::size_t(k)];
            if (end < from_ || start + 1 >= baseEnd_)
                continue;  // no changed segment in it
            const std::uint32_t twin = distinct_.lastTwin[std::size_t(k)];
            if (twin != 0 && twin + 1 >= baseEnd_)
                continue;  // one alike is left after the change
            // What the alike ones left out hold past the change is drawn from the path too.
            low = std::min(low, start);
            high = std::max({high, end, distinct_.lastTwinEnd[std::size_t(k)]});
            if (!cuts.empty() && cuts.back().second == std::uint32_t(k))
                ++cuts.back().second;
            else
                cuts.push_back({std::uint32_t(k), std::uint32_t(k) + 1});
        }
    }
    drawn.strips = CutOut(distinct_.strips, cuts);
    // Before the change the vertices are where they were; from the end of the last changed
    // segment on, moved as the change moved them.
    drawn.from = low;
    drawn.end = std::uint32_t(std::int64_t(high) + std::int64_t(end_) - std::int64_t(baseEnd_) + 1);
    return drawn;
}

std::size_t PathOverview::BytesHeld() const {
    return distinct_.vertices.capacity() * sizeof(PathVertex) +
           distinct_.strips.capacity() * sizeof(Strip) +
           (distinct_.sources.capacity() + distinct_.lastTwin.capacity() +
            distinct_.lastTwinEnd.capacity()) *
               sizeof(std::uint32_t);
}

}  // namespace qm
