#pragma once

#include <QMatrix4x4>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QVector3D>

#include "PathGeometry.h"

namespace qm {

// An orthographic camera turning about a target: yaw about the machine's Z, then pitch about
// the screen's horizontal (0: looking down Z, -90: looking along +Y with Z up). Parallel
// projection keeps a millimetre the same size everywhere on the screen, so a tolerance in
// pixels is one in millimetres for the whole view, whichever way it is turned.
// Coordinates on the screen are the widget's pixels, y down.
class OrbitCamera {
  public:
    void SetViewport(QSize pixels);
    QSize Viewport() const { return viewport_; }
    // The box the scene lies in: it sets the depth range.
    void SetScene(const Extents& extents);

    void SetAngles(double yawDegrees, double pitchDegrees);
    double Yaw() const { return yaw_; }
    double Pitch() const { return pitch_; }
    void Orbit(double yawDegrees, double pitchDegrees);
    void Pan(QPointF pixels);  // the picture follows the pointer by this much
    void ZoomAbout(QPointF pixel, double factor);
    // The scene's box fills the viewport, `margin` pixels left free on every side.
    void Fit(double margin);
    // Pixels per millimetre at the fit of these extents in a viewport of this size.
    static double FitScale(const Extents& extents, QSize pixels, double yawDegrees,
                           double pitchDegrees, double margin);

    double PixelsPerMm() const { return scale_; }
    QMatrix4x4 Matrix() const;                      // machine mm -> clip
    QMatrix4x4 PickMatrix(const QRectF& pixels) const;  // that part of the view as the whole
    QPointF Project(const QVector3D& point) const;

  private:
    QMatrix4x4 Rotation() const;

    QSize viewport_{1, 1};
    Extents scene_;
    double yaw_ = 0, pitch_ = 0;
    double scale_ = 1;  // pixels per millimetre
    QVector3D target_;
};

}  // namespace qm
