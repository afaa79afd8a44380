#include "PathColours.h"

#include "PathGeometry.h"

namespace qm {
namespace {

QColor Mix(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

}  // namespace

QColor PathColours::Of(std::uint32_t style, bool byTool) const {
    switch (KindOfStyle(style)) {
        case interp::MoveKind::Rapid:
            return rapid;
        case interp::MoveKind::Feed:
            return byTool ? tools[ToolOfStyle(style) % kToolColours] : feed;
        case interp::MoveKind::Arc:
            return byTool ? tools[ToolOfStyle(style) % kToolColours] : arc;
    }
    return feed;
}

PathColours ColoursFor(const QPalette& palette) {
    PathColours colours;
    colours.background = palette.color(QPalette::Base);
    const bool dark = colours.background.lightnessF() < 0.5;
    colours.text = dark ? QColor(235, 235, 235) : QColor(20, 20, 20);
    // Rapids lighter: halfway to the background; feeds and arcs strong, a little apart.
    colours.rapid = Mix(colours.text, colours.background, 0.5);
    colours.feed = dark ? QColor(110, 200, 255) : QColor(0, 70, 170);
    colours.arc = dark ? QColor(130, 230, 170) : QColor(0, 120, 70);
    colours.highlight = dark ? QColor(255, 210, 0) : QColor(230, 90, 0);
    colours.tool = dark ? QColor(255, 255, 255) : QColor(0, 0, 0);
    colours.problem = dark ? QColor(255, 80, 80) : QColor(210, 0, 0);
    colours.box = Mix(colours.text, colours.background, 0.65);
    for (std::size_t i = 0; i < PathColours::kToolColours; ++i) {
        const int hue = int((i * 360 / PathColours::kToolColours + 200) % 360);
        colours.tools[i] = dark ? QColor::fromHsv(hue, 150, 255) : QColor::fromHsv(hue, 255, 170);
    }
    return colours;
}

}  // namespace qm
