#pragma once

#include <QFont>
#include <QString>

namespace qm {

// The font of family at pointSize when that family is installed. Otherwise the system's
// fixed-pitch font, so that the columns of an NC program still line up, at fallbackPointSize
// (its own size when 0). A stored setting may name a font of another desktop ("Terminal",
// "ＭＳ 明朝"), which the toolkit would replace by a proportional one.
QFont InstalledOrFixedFont(const QString& family, int pointSize, int fallbackPointSize);

// The system's fixed-pitch font, or, where the desktop's monospace family is not marked as
// fixed-pitch (Noto Sans Mono, whose few double-width glyphs keep fontconfig from saying so),
// the first installed family that is: the toolkit then cannot promise that columns line up.
QFont FixedPitchFont();

}  // namespace qm
