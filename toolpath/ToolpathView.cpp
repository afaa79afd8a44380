#include "ToolpathView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cmath>
#include <chrono>
#include <cstdio>

#include "PathRenderer.h"

namespace qm {
namespace {

constexpr double kDegreesPerPixel = 0.4;
constexpr double kOrbitStep = 15;   // degrees an arrow key turns
constexpr double kPanStep = 0.1;    // of the view's width or height per key
constexpr double kZoomStep = 1.25;  // per key, or per notch of the wheel
constexpr int kClickSlack = 3;      // pixels a click may move and still be a click

QSurfaceFormat PathFormat() {
    QSurfaceFormat format;
    format.setVersion(3, 3);
    // The compatibility profile keeps wide lines for the highlight and lets QPainter draw over.
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    return format;
}

}  // namespace

ToolpathView::ToolpathView(QWidget* parent)
    : QOpenGLWidget(parent), renderer_(std::make_unique<Renderer>(*this)) {
    setFormat(PathFormat());
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(120, 90);
}

ToolpathView::~ToolpathView() = default;

void ToolpathView::SetPath(const std::vector<interp::Move>& moves, const interp::Axes& start,
                           std::vector<std::uint8_t> tools) {
    renderer_->SetPath(moves, start, tools);
    update();
}

void ToolpathView::UpdatePath(const std::vector<interp::Move>& moves, const interp::Axes& start,
                              std::vector<std::uint8_t> tools, const MoveChange& change) {
    if (!renderer_->UpdatePath(moves, start, tools, change))
        renderer_->SetPath(moves, start, tools);
    update();
}

void ToolpathView::Highlight(std::size_t firstMove, std::size_t endMove,
                             std::optional<std::array<double, 3>> tool) {
    renderer_->Highlight(firstMove, endMove, tool);
    update();
}

std::pair<std::size_t, std::size_t> ToolpathView::HighlightedMoves() const {
    return renderer_->Highlighted();
}

void ToolpathView::SetProblemMarks(std::vector<std::array<double, 3>> points) {
    renderer_->SetProblemMarks(std::move(points));
    update();
}

void ToolpathView::SetUnits(const QString& name, double perMillimetre) {
    renderer_->SetUnits(name, perMillimetre);
    update();
}

void ToolpathView::SetColourByTool(bool on) {
    renderer_->SetColourByTool(on);
    update();
}

void ToolpathView::ShowStandardView(StandardView view) {
    renderer_->ShowStandardView(view);
    update();
}

void ToolpathView::FitToExtents() {
    renderer_->FitToExtents();
    update();
}

std::uint32_t ToolpathView::LineAt(const QPoint& point) {
    return renderer_->LineAt(point);
}

QImage ToolpathView::Picture() {
    return grabFramebuffer();
}

QByteArray ToolpathView::SvgPicture() const {
    return renderer_->Svg();
}

std::size_t ToolpathView::MoveCount() const {
    return renderer_->MoveCount();
}

std::size_t ToolpathView::BytesHeld() const {
    return renderer_->BytesHeld();
}

QPointF ToolpathView::Project(const std::array<double, 3>& point) const {
    return renderer_->Camera().Project(
        QVector3D(float(point[0]), float(point[1]), float(point[2])));
}

void ToolpathView::Orbit(double yawDegrees, double pitchDegrees) {
    renderer_->Camera().Orbit(yawDegrees, pitchDegrees);
    update();
}

void ToolpathView::Pan(QPointF pixels) {
    renderer_->Camera().Pan(pixels);
    update();
}

void ToolpathView::Zoom(double factor, std::optional<QPointF> about) {
    renderer_->Camera().ZoomAbout(about.value_or(QPointF(width() / 2.0, height() / 2.0)), factor);
    update();
}

double ToolpathView::PixelsPerMm() const {
    return renderer_->Camera().PixelsPerMm();
}

std::int64_t ToolpathView::DrawnVertices() const {
    return renderer_->DrawnVertices();
}

void ToolpathView::initializeGL() {
    renderer_->Initialize();
}

void ToolpathView::resizeGL(int, int) {
    // The camera works in the widget's pixels; GL's are those times the device pixel ratio.
    renderer_->Resize(size());
}

void ToolpathView::paintGL() {
    renderer_->Paint();
}

void ToolpathView::mousePressEvent(QMouseEvent* event) {
    pressedAt_ = lastAt_ = event->position();
    dragged_ = false;
    event->accept();
}

void ToolpathView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    if ((at - pressedAt_).manhattanLength() > kClickSlack)
        dragged_ = true;
    const QPointF delta = at - lastAt_;
    lastAt_ = at;
    const Qt::MouseButtons buttons = event->buttons();
    if ((buttons & Qt::MiddleButton) ||
        ((buttons & Qt::LeftButton) && (event->modifiers() & Qt::ShiftModifier)))
        Pan(delta);
    else if (buttons & Qt::LeftButton)
        Orbit(delta.x() * kDegreesPerPixel, delta.y() * kDegreesPerPixel);
}

void ToolpathView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !dragged_) {
        const std::uint32_t line = LineAt(event->position().toPoint());
        if (line != 0)
            emit lineClicked(line);
    }
}

void ToolpathView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0)
        Zoom(std::pow(kZoomStep, notches), event->position());
    event->accept();
}

void ToolpathView::keyPressEvent(QKeyEvent* event) {
    // Keys with Ctrl or Alt are the menus'.
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        QOpenGLWidget::keyPressEvent(event);
        return;
    }
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const QPointF page(width() * kPanStep, height() * kPanStep);
    switch (event->key()) {
        case Qt::Key_Left:
            shift ? Pan({-page.x(), 0}) : Orbit(-kOrbitStep, 0);
            break;
        case Qt::Key_Right:
            shift ? Pan({page.x(), 0}) : Orbit(kOrbitStep, 0);
            break;
        case Qt::Key_Up:
            shift ? Pan({0, -page.y()}) : Orbit(0, -kOrbitStep);
            break;
        case Qt::Key_Down:
            shift ? Pan({0, page.y()}) : Orbit(0, kOrbitStep);
            break;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            Zoom(kZoomStep);
            break;
        case Qt::Key_Minus:
            Zoom(1 / kZoomStep);
            break;
        case Qt::Key_F:
        case Qt::Key_Home:
            FitToExtents();
            break;
        case Qt::Key_1:
            ShowStandardView(StandardView::Top);
            break;
        case Qt::Key_2:
            ShowStandardView(StandardView::Front);
            break;
        case Qt::Key_3:
            ShowStandardView(StandardView::Right);
            break;
        case Qt::Key_4:
            ShowStandardView(StandardView::Isometric);
            break;
        case Qt::Key_PageDown:
        case Qt::Key_N:
            emit stepRequested(+1);
            break;
        case Qt::Key_PageUp:
        case Qt::Key_P:
            emit stepRequested(-1);
            break;
        default:
            QOpenGLWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

}  // namespace qm
