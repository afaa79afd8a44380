#include "ToolBarIcons.h"

#include <QPainter>
#include <QPixmap>

namespace qm {
namespace {

struct Picture {
    const char* themeName;
    const char* glyph;  // drawn when the theme has no icon
    QRgb colour;
};

constexpr Picture kPictures[] = {
    {"document-new", "N", 0x2e7d32},  {"document-open", "O", 0x1565c0}, {"document-save", "S", 0x283593},
    {"document-print", "P", 0x4e342e}, {"edit-cut", "X", 0xc62828},      {"edit-copy", "C", 0x6a1b9a},
    {"edit-paste", "V", 0x00695c},     {"edit-find", "?", 0xef6c00},     {"x-office-spreadsheet", "E", 0x1b5e20},
};

QIcon DrawnIcon(const Picture& picture) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(picture.colour));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(2, 2, 28, 28), 6, 6);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(18);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QString::fromLatin1(picture.glyph));
    return QIcon(pixmap);
}

}  // namespace

QIcon ToolBarIcon(int picture) {
    const Picture& chosen = kPictures[qBound(1, picture, 9) - 1];
    const QIcon themed = QIcon::fromTheme(QString::fromLatin1(chosen.themeName));
    return themed.isNull() ? DrawnIcon(chosen) : themed;
}

}  // namespace qm
