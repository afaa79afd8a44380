#include "InstalledFont.h"

#include <QFontDatabase>
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

QFont InstalledOrFixedFont(const QString& family, int pointSize, int fallbackPointSize) {
    if (Installed(family)) {
        QFont font(family);
        if (pointSize > 0)
            font.setPointSize(pointSize);
        return font;
    }
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (fallbackPointSize > 0)
        fixed.setPointSize(fallbackPointSize);
    return fixed;
}

}  // namespace qm
