#include "ToolpathView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <chrono>
#include <cmath>
#include <cstdio>

#include "PathRenderer.h"
#include "PathSurface.h"

namespace qm {
namespace {

constexpr double kDegreesPerPixel = 0.4;
constexpr double kOrbitStep = 15;   // degrees an arrow key turns
constexpr double kPanStep = 0.1;    // of the view's width or height per key
constexpr double kZoomStep = 1.25;  // per key, or per notch of the wheel
constexpr int kClickSlack = 3;      // pixels a click may move and still be a click

}  // namespace

ToolpathView::ToolpathView(QWidget* parent)
    : QWidget(parent),
      surface_(new PathSurface(*this)),
      container_(QWidget::createWindowContainer(surface_, this)),
      renderer_(std::make_unique<Renderer>(*this, *surface_)) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(120, 90);
    // The widget keeps the keyboard; events sent to the widget's place reach it, not the
    // container (the window itself hands its own on).
    container_->setFocusPolicy(Qt::NoFocus);
    container_->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(container_);
    connect(surface_, &PathSurface::contextMade, this, &ToolpathView::ContextMade);
    connect(surface_, &PathSurface::unavailable, this, [this] {
        container_->hide();  // the widget says why instead
        update();
    });
    connect(surface_, &PathSurface::frameWanted, this, [this] { renderer_->Paint(nullptr); });
    connect(surface_, &PathSurface::frameSwapped, this, &ToolpathView::frameSwapped);
}

ToolpathView::~ToolpathView() = default;

void ToolpathView::SetPath(const std::vector<interp::Move>& moves, const interp::Axes& start,
                           std::vector<std::uint8_t> tools) {
    renderer_->SetPath(moves, start, tools);
    RequestFrame();
}

void ToolpathView::UpdatePath(const std::vector<interp::Move>& moves, const interp::Axes& start,
                              std::vector<std::uint8_t> tools, const MoveChange& change) {
    if (!renderer_->UpdatePath(moves, start, tools, change))
        renderer_->SetPath(moves, start, tools);
    RequestFrame();
}

void ToolpathView::Highlight(std::size_t firstMove, std::size_t endMove,
                             std::optional<std::array<double, 3>> tool) {
    renderer_->Highlight(firstMove, endMove, tool);
    RequestFrame();
}

std::pair<std::size_t, std::size_t> ToolpathView::HighlightedMoves() const {
    return renderer_->Highlighted();
}

void ToolpathView::SetProblemMarks(std::vector<std::array<double, 3>> points) {
    renderer_->SetProblemMarks(std::move(points));
    RequestFrame();
}

void ToolpathView::SetUnits(const QString& name, double perMillimetre) {
    renderer_->SetUnits(name, perMillimetre);
    RequestFrame();
}

void ToolpathView::SetColourByTool(bool on) {
    renderer_->SetColourByTool(on);
    RequestFrame();
}

void ToolpathView::ShowStandardView(StandardView view) {
    renderer_->ShowStandardView(view);
    RequestFrame();
}

void ToolpathView::FitToExtents() {
    renderer_->FitToExtents();
    RequestFrame();
}

std::uint32_t ToolpathView::LineAt(const QPoint& point) {
    return renderer_->LineAt(point);
}

// Drawn into a picture of its own, so that it does not matter whether the window is on the
// screen or what its back buffer holds after a swap.
QImage ToolpathView::Picture() {
    if (!surface_->MakeCurrent())
        return grab().toImage();
    QImage picture;
    {
        QOpenGLFramebufferObjectFormat format;
        format.setAttachment(QOpenGLFramebufferObject::Depth);
        format.setInternalTextureFormat(GL_RGBA8);
        QOpenGLFramebufferObject target(size() * devicePixelRatioF(), format);
        renderer_->Paint(&target);
        picture = target.toImage();
    }
    surface_->DoneCurrent();
    return picture;
}

void ToolpathView::DrawNow() {
    surface_->DrawFrame();
    if (surface_->MakeCurrent()) {
        surface_->Context()->functions()->glFinish();
        surface_->DoneCurrent();
    }
}

// At the next turn of the event loop, once whatever asked for it is done: every change the
// events being handled make goes into one frame, and no frame waits on a timer.
void ToolpathView::RequestFrame() {
    if (framePending_)
        return;
    framePending_ = true;
    QTimer::singleShot(0, this, [this] {
        framePending_ = false;
        surface_->DrawFrame();
    });
}

void ToolpathView::ContextMade() {
    renderer_->Initialize();
    if (!renderer_->HasGl()) {
        container_->hide();  // the widget says why instead
        update();
    }
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
    RequestFrame();
}

void ToolpathView::Pan(QPointF pixels) {
    renderer_->Camera().Pan(pixels);
    RequestFrame();
}

void ToolpathView::Zoom(double factor, std::optional<QPointF> about) {
    renderer_->Camera().ZoomAbout(about.value_or(QPointF(width() / 2.0, height() / 2.0)), factor);
    RequestFrame();
}

double ToolpathView::PixelsPerMm() const {
    return renderer_->Camera().PixelsPerMm();
}

std::int64_t ToolpathView::DrawnVertices() const {
    return renderer_->DrawnVertices();
}

void ToolpathView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The camera works in the widget's pixels; GL's are those times the device pixel ratio.
    renderer_->Resize(size());
    RequestFrame();
}

void ToolpathView::paintEvent(QPaintEvent*) {
    if (renderer_->HasGl())
        return;  // the window over the widget shows the path
    QPainter painter(this);
    const PathColours colours = ColoursFor(palette());
    painter.fillRect(rect(), colours.background);
    painter.setPen(colours.text);
    painter.drawText(rect(), Qt::AlignCenter,
                     tr("The toolpath needs OpenGL 3.3, which is not available."));
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
        QWidget::keyPressEvent(event);
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
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

}  // namespace qm
