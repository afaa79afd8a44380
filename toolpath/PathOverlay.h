#pragma once

#include <QLineF>
#include <QPointF>
#include <QString>

#include <array>
#include <optional>
#include <vector>

#include "OrbitCamera.h"
#include "PathColours.h"

class QPainter;

namespace qm {

// What is drawn over the path in the widget's pixels: the extents box and its sizes, the
// tool's mark, the problems' marks.
struct PathOverlay {
    std::vector<QLineF> box;  // its twelve edges
    QString sizes;            // "X 120.000  Y 80.000  Z 25.000 mm"
    std::optional<QPointF> tool;
    std::vector<QPointF> problems;
};

struct OverlayUnits {
    QString name = QStringLiteral("mm");
    double perMillimetre = 1;
};

PathOverlay BuildOverlay(const OrbitCamera& camera, const Extents& extents,
                         const OverlayUnits& units, const std::optional<std::array<double, 3>>& tool,
                         const std::vector<std::array<double, 3>>& problems);

// The sizes are written in the bottom left corner, `margin` pixels in.
constexpr int kOverlayMargin = 8;
constexpr double kMarkSize = 6;  // half a cross, pixels
void PaintOverlay(QPainter& painter, const PathOverlay& overlay, const PathColours& colours);

}  // namespace qm
