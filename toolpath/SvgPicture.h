#pragma once

#include <QByteArray>
#include <QMatrix4x4>
#include <QSize>

#include <vector>

#include "PathColours.h"
#include "PathGeometry.h"
#include "PathOverlay.h"

namespace qm {

struct SvgScene {
    QSize size;             // pixels
    QMatrix4x4 matrix;      // machine mm -> clip, as drawn
    const std::vector<PathVertex>* vertices = nullptr;
    std::uint32_t highlightFirst = 0, highlightEnd = 0;  // vertices whose segments are lit
    bool byTool = false;
    PathColours colours;
    PathOverlay overlay;
};

// The path as polylines of the colours it is drawn in, rapids dashed, segments shorter than
// half a pixel joined and those outside the picture left out; the overlay over it.
QByteArray WriteSvg(const SvgScene& scene);

}  // namespace qm
