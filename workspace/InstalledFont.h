#pragma once

#include <QFont>
#include <QString>

namespace qm {

// The font of family at pointSize when that family is installed. Otherwise the system's
// fixed-pitch font, so that the columns of an NC program still line up, at fallbackPointSize
// (its own size when 0). A stored setting may name a font of another desktop ("Terminal",
// "ＭＳ 明朝"), which the toolkit would replace by a proportional one.
QFont InstalledOrFixedFont(const QString& family, int pointSize, int fallbackPointSize);

}  // namespace qm
