#pragma once

#include <QByteArray>
#include <QRect>

namespace qm {

class SettingsStore;

// What the reader chose to see of a program's motion, kept between runs.
//   "ShowState"            the "In effect" panel shown (True)
//   "ShowToolpath"         the toolpath window shown (False: the two text windows stay as
//                          they always were until the reader asks for it)
//   "ToolpathColourByTool" the path coloured by tool (False)
//   "PanelPlace"           where the panel is docked, as the main window stores it
//   "ToolpathLeft", "ToolpathTop", "ToolpathWidth", "ToolpathHeight"
//                          the toolpath window's place in the main window, in pixels
struct ViewSettings {
    bool showState = true;
    bool showToolpath = false;
    bool colourByTool = false;
    QByteArray panelPlace;
    QRect toolpathGeometry;  // empty: not yet placed
};

ViewSettings ReadViewSettings(const SettingsStore& store);
void SaveViewSettings(SettingsStore& store, const ViewSettings& settings);

}  // namespace qm
