#include "PainterSurface.h"

#include <QPagedPaintDevice>

namespace qm {

PainterSurface::PainterSurface(QPagedPaintDevice& device, const QFont& font)
    : device_(device), dotsPerMillimetre_(device.logicalDpiY() / 25.4) {
    if (!painter_.begin(&device_)) return;
    painter_.setFont(QFont(font, &device_));
    metrics_.emplace(painter_.font(), &device_);
    lineHeight_ = metrics_->height() / dotsPerMillimetre_;
    ascent_ = metrics_->ascent() / dotsPerMillimetre_;
}

PainterSurface::~PainterSurface() {
    if (painter_.isActive()) painter_.end();
}

void PainterSurface::SetPosition(double x, double y) {
    x_ = x;
    y_ = y;
}

void PainterSurface::PrintLine(const QString& text) {
    painter_.setPen(Qt::black);
    painter_.drawText(QPointF(Dots(x_), Dots(y_ + ascent_)), text);
    x_ = 0;
    y_ += lineHeight_;
}

double PainterSurface::TextWidth(const QString& text) const {
    return metrics_ ? metrics_->horizontalAdvance(text) / dotsPerMillimetre_ : 0;
}

void PainterSurface::DrawLine(double x1, double y1, double x2, double y2) {
    painter_.setPen(QPen(Qt::black, lineWidth_));
    painter_.drawLine(QPointF(Dots(x1), Dots(y1)), QPointF(Dots(x2), Dots(y2)));
}

void PainterSurface::NewPage() {
    device_.newPage();
    x_ = 0;
    y_ = 0;
}

}  // namespace qm
