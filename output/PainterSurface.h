#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <optional>

#include "PageSurface.h"

class QPagedPaintDevice;

namespace qm {

// The page surface on a printer, a PDF file or a print preview, in millimetres from the top-left
// corner of the printable area.
class PainterSurface : public PageSurface {
public:
    PainterSurface(QPagedPaintDevice& device, const QFont& font);
    ~PainterSurface() override;

    // False when the device could not start (no printer, job refused).
    bool isActive() const { return painter_.isActive(); }

    void SetPosition(double x, double y) override;
    double CurrentY() const override { return y_; }
    void PrintLine(const QString& text) override;
    double TextWidth(const QString& text) const override;
    void SetLineWidth(int width) override { lineWidth_ = width; }
    void DrawLine(double x1, double y1, double x2, double y2) override;
    void NewPage() override;

private:
    double Dots(double millimetres) const { return millimetres * dotsPerMillimetre_; }

    QPagedPaintDevice& device_;
    QPainter painter_;
    double dotsPerMillimetre_;
    std::optional<QFontMetricsF> metrics_;
    double lineHeight_ = 0;  // of the print font, millimetres
    double ascent_ = 0;      // millimetres
    double x_ = 0, y_ = 0;
    int lineWidth_ = 1;
};

}  // namespace qm
