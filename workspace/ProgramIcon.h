#pragma once

#include <QIcon>

namespace qm {

// The program's own icon (a program sheet with code lines and a quill, as installed for the
// desktop), drawn here so that the window frames show it without an SVG image plug-in.
QIcon ProgramIcon();

}  // namespace qm
