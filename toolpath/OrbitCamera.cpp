#include "OrbitCamera.h"

#include <algorithm>
#include <cmath>

namespace qm {
namespace {

constexpr double kLeastScale = 1e-4, kMostScale = 1e5;

QMatrix4x4 RotationOf(double yaw, double pitch) {
    QMatrix4x4 rotation;
    rotation.rotate(float(pitch), 1, 0, 0);
    rotation.rotate(float(yaw), 0, 0, 1);
    return rotation;
}

QVector3D Corner(const Extents& extents, int i) {
    return {float(i & 1 ? extents.high[0] : extents.low[0]),
            float(i & 2 ? extents.high[1] : extents.low[1]),
            float(i & 4 ? extents.high[2] : extents.low[2])};
}

QVector3D Centre(const Extents& extents) {
    return (Corner(extents, 0) + Corner(extents, 7)) / 2;
}

// The box's width and height on the screen, in millimetres, turned this way.
QSizeF Spans(const Extents& extents, const QMatrix4x4& rotation) {
    float low[2] = {1e30f, 1e30f}, high[2] = {-1e30f, -1e30f};
    for (int i = 0; i < 8; ++i) {
        const QVector3D p = rotation.map(Corner(extents, i));
        low[0] = std::min(low[0], p.x()), high[0] = std::max(high[0], p.x());
        low[1] = std::min(low[1], p.y()), high[1] = std::max(high[1], p.y());
    }
    return {std::max(1e-3f, high[0] - low[0]), std::max(1e-3f, high[1] - low[1])};
}

}  // namespace

void OrbitCamera::SetViewport(QSize pixels) {
    viewport_ = QSize(std::max(1, pixels.width()), std::max(1, pixels.height()));
}

void OrbitCamera::SetScene(const Extents& extents) { scene_ = extents; }

void OrbitCamera::SetAngles(double yawDegrees, double pitchDegrees) {
    yaw_ = std::remainder(yawDegrees, 360.0);
    pitch_ = std::clamp(pitchDegrees, -180.0, 0.0);
}

void OrbitCamera::Orbit(double yawDegrees, double pitchDegrees) {
    SetAngles(yaw_ + yawDegrees, pitch_ + pitchDegrees);
}

QMatrix4x4 OrbitCamera::Rotation() const { return RotationOf(yaw_, pitch_); }

void OrbitCamera::Pan(QPointF pixels) {
    const QVector3D screen(float(-pixels.x() / scale_), float(pixels.y() / scale_), 0);
    target_ += Rotation().transposed().mapVector(screen);
}

void OrbitCamera::ZoomAbout(QPointF pixel, double factor) {
    const double scale = std::clamp(scale_ * factor, kLeastScale, kMostScale);
    // The point under the pointer stays there: it is this far from the centre in pixels.
    const QPointF offset = pixel - QPointF(viewport_.width() / 2.0, viewport_.height() / 2.0);
    const QVector3D screen(float(offset.x() * (1 / scale_ - 1 / scale)),
                           float(-offset.y() * (1 / scale_ - 1 / scale)), 0);
    target_ += Rotation().transposed().mapVector(screen);
    scale_ = scale;
}

double OrbitCamera::FitScale(const Extents& extents, QSize pixels, double yawDegrees,
                             double pitchDegrees, double margin) {
    if (extents.empty) return 1;
    const QSizeF spans = Spans(extents, RotationOf(yawDegrees, pitchDegrees));
    const double width = std::max(1.0, pixels.width() - 2 * margin);
    const double height = std::max(1.0, pixels.height() - 2 * margin);
    return std::clamp(std::min(width / spans.width(), height / spans.height()), kLeastScale,
                      kMostScale);
}

void OrbitCamera::Fit(double margin) {
    target_ = scene_.empty ? QVector3D() : Centre(scene_);
    scale_ = FitScale(scene_, viewport_, yaw_, pitch_, margin);
}

QMatrix4x4 OrbitCamera::Matrix() const {
    // Deep enough for the whole box wherever the target went.
    float depth = 1;
    if (!scene_.empty)
        depth += (Centre(scene_) - target_).length() +
                 (Corner(scene_, 7) - Corner(scene_, 0)).length() / 2;
    QMatrix4x4 projection;
    const float halfWidth = float(viewport_.width() / (2 * scale_));
    const float halfHeight = float(viewport_.height() / (2 * scale_));
    projection.ortho(-halfWidth, halfWidth, -halfHeight, halfHeight, -depth, depth);
    QMatrix4x4 view = Rotation();
    view.translate(-target_);
    return projection * view;
}

QMatrix4x4 OrbitCamera::PickMatrix(const QRectF& pixels) const {
    // The rectangle's centre and size in normalised device coordinates, blown up to fill them.
    const double w = viewport_.width(), h = viewport_.height();
    const double cx = (pixels.center().x() / w) * 2 - 1, cy = 1 - (pixels.center().y() / h) * 2;
    QMatrix4x4 pick;
    pick.scale(float(w / pixels.width()), float(h / pixels.height()), 1);
    pick.translate(float(-cx), float(-cy), 0);
    return pick * Matrix();
}

QPointF OrbitCamera::Project(const QVector3D& point) const {
    const QVector3D ndc = Matrix().map(point);
    return {(ndc.x() + 1) / 2 * viewport_.width(), (1 - ndc.y()) / 2 * viewport_.height()};
}

}  // namespace qm
