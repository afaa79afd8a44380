#pragma once

#include <QColor>
#include <QPalette>

#include <array>
#include <cstdint>

namespace qm {

// The colours of the toolpath view, chosen against the background of the widget's palette so
// that a light and a dark theme both read well.
struct PathColours {
    static constexpr std::size_t kToolColours = 8;
    QColor background, text, rapid, feed, arc, highlight, tool, problem, box;
    std::array<QColor, kToolColours> tools;

    // The colour a segment of this style is drawn in.
    QColor Of(std::uint32_t style, bool byTool) const;
};

PathColours ColoursFor(const QPalette& palette);

}  // namespace qm
