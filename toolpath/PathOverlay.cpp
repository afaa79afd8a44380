#include "PathOverlay.h"

#include <QPainter>

namespace qm {
namespace {

QVector3D Point(const std::array<double, 3>& p) { return {float(p[0]), float(p[1]), float(p[2])}; }

void Cross(QPainter& painter, QPointF at, double size) {
    painter.drawLine(at + QPointF(-size, -size), at + QPointF(size, size));
    painter.drawLine(at + QPointF(-size, size), at + QPointF(size, -size));
}

}  // namespace

PathOverlay BuildOverlay(const OrbitCamera& camera, const Extents& extents,
                         const OverlayUnits& units, const std::optional<std::array<double, 3>>& tool,
                         const std::vector<std::array<double, 3>>& problems) {
    PathOverlay overlay;
    if (!extents.empty) {
        QPointF corners[8];
        for (int i = 0; i < 8; ++i)
            corners[i] = camera.Project({float(i & 1 ? extents.high[0] : extents.low[0]),
                                         float(i & 2 ? extents.high[1] : extents.low[1]),
                                         float(i & 4 ? extents.high[2] : extents.low[2])});
        for (int i = 0; i < 8; ++i)
            for (const int bit : {1, 2, 4})
                if ((i & bit) == 0) overlay.box.emplace_back(corners[i], corners[i | bit]);
        const int decimals = units.perMillimetre < 0.5 ? 4 : 3;
        const auto size = [&](int axis) {
            return QString::number((extents.high[axis] - extents.low[axis]) * units.perMillimetre,
                                   'f', decimals);
        };
        overlay.sizes = QStringLiteral("X %1  Y %2  Z %3 %4")
                            .arg(size(0), size(1), size(2), units.name);
    }
    if (tool) overlay.tool = camera.Project(Point(*tool));
    overlay.problems.reserve(problems.size());
    for (const auto& p : problems) overlay.problems.push_back(camera.Project(Point(p)));
    return overlay;
}

void PaintOverlay(QPainter& painter, const PathOverlay& overlay, const PathColours& colours) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colours.box, 1, Qt::DotLine));
    painter.drawLines(overlay.box.data(), int(overlay.box.size()));
    painter.setPen(QPen(colours.problem, 2));
    for (const QPointF& at : overlay.problems) Cross(painter, at, kMarkSize);
    if (overlay.tool) {
        painter.setPen(QPen(colours.tool, 2));
        Cross(painter, *overlay.tool, kMarkSize * 1.5);
        painter.drawEllipse(*overlay.tool, kMarkSize, kMarkSize);
    }
    if (!overlay.sizes.isEmpty()) {
        painter.setPen(colours.text);
        const QRect area = painter.viewport().adjusted(kOverlayMargin, kOverlayMargin,
                                                       -kOverlayMargin, -kOverlayMargin);
        painter.drawText(area, Qt::AlignLeft | Qt::AlignBottom, overlay.sizes);
    }
}

}  // namespace qm
