#include "ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace qm {
namespace {

// The drawing on a 64 by 64 grid, scaled to the pixmap.
void DrawSheet(QPainter& painter) {
    painter.setPen(QPen(QColor(0x3b4a5a), 2));
    painter.setBrush(QColor(0xf7f4ea));
    painter.drawRoundedRect(QRectF(8, 4, 40, 54), 3, 3);
    constexpr int kLineEnds[] = {40, 36, 38, 32};
    for (int i = 0; i < 4; ++i) {
        const qreal y = 14 + 9 * i;
        painter.setPen(QPen(QColor(0x2f6db5), 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(14, y), QPointF(22, y));
        painter.setPen(QPen(QColor(0x8a96a3), 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(25, y), QPointF(kLineEnds[i], y));
    }
}

void DrawQuill(QPainter& painter) {
    QPainterPath feather(QPointF(58, 6));
    feather.cubicTo(QPointF(46, 12), QPointF(36, 26), QPointF(31, 44));
    feather.lineTo(34, 45);
    feather.cubicTo(QPointF(40, 30), QPointF(49, 18), QPointF(58, 6));
    painter.setPen(QPen(QColor(0x7a2a1a), 1.5));
    painter.setBrush(QColor(0xc8492e));
    painter.drawPath(feather);
    QPainterPath nib(QPointF(31, 44));
    nib.lineTo(29, 52);
    nib.lineTo(34, 45);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x3b4a5a));
    painter.drawPath(nib);
}

QPixmap Drawn(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    DrawSheet(painter);
    DrawQuill(painter);
    return pixmap;
}

}  // namespace

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(Drawn(size));
    return icon;
}

}  // namespace qm
