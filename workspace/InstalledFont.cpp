#include "InstalledFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace qm {

namespace {

// The font dialog also offers the toolkit's generic families ("Serif", "Monospace"), which
// hasFamily does not count.
bool Installed(const QString& family) {
    if (family.trimmed().isEmpty())
        return false;
    return QFontDatabase::hasFamily(family) ||
           QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

}  // namespace

QFont FixedPitchFont() {
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (QFontInfo(fixed).fixedPitch())
        return fixed;
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isFixedPitch(family) && !QFontDatabase::isPrivateFamily(family)) {
            QFont font(family);
            font.setPointSize(fixed.pointSize());
            return font;
        }
    }
    return fixed;
}

QFont InstalledOrFixedFont(const QString& family, int pointSize, int fallbackPointSize) {
    if (Installed(family)) {
        QFont font(family);
        if (pointSize > 0)
            font.setPointSize(pointSize);
        return font;
    }
    QFont fixed = FixedPitchFont();
    if (fallbackPointSize > 0)
        fixed.setPointSize(fallbackPointSize);
    return fixed;
}

}  // namespace qm
