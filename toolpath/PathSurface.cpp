#include "PathSurface.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QWheelEvent>
#include <QWidget>

namespace qm {
namespace {

QSurfaceFormat PathFormat() {
    QSurfaceFormat format;
    format.setVersion(3, 3);
    // The compatibility profile keeps wide lines for the highlight and lets QPainter draw over.
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    return format;
}

}  // namespace

PathSurface::PathSurface(QWidget& receiver) : receiver_(receiver) {
    setSurfaceType(QSurface::OpenGLSurface);
    setFormat(PathFormat());
    // The keyboard stays with the widget, so that its keys and shortcuts work as before.
    setFlag(Qt::WindowDoesNotAcceptFocus);
}

PathSurface::~PathSurface() = default;

bool PathSurface::MakeCurrent() {
    if (failed_)
        return false;
    if (context_ == nullptr) {
        context_ = std::make_unique<QOpenGLContext>();
        context_->setFormat(PathFormat());
        offscreen_ = std::make_unique<QOffscreenSurface>();
        offscreen_->setFormat(context_->format());
        offscreen_->create();
        if (!context_->create() || !context_->makeCurrent(offscreen_.get())) {
            failed_ = true;
            emit unavailable();
            return false;
        }
        emit contextMade();
    }
    if (isExposed() && handle() != nullptr)
        return context_->makeCurrent(this);
    return context_->makeCurrent(offscreen_.get());
}

void PathSurface::DoneCurrent() {
    if (context_ != nullptr)
        context_->doneCurrent();
}

void PathSurface::DrawFrame() {
    if (!isExposed() || !MakeCurrent())
        return;
    emit frameWanted();
    context_->swapBuffers(this);
    emit frameSwapped();
}

void PathSurface::exposeEvent(QExposeEvent*) {
    DrawFrame();
}

bool PathSurface::event(QEvent* event) {
    if (event->type() == QEvent::UpdateRequest) {
        DrawFrame();
        return true;
    }
    if (Forward(event))
        return true;
    return QWindow::event(event);
}

// The window lies exactly over the widget: positions need no mapping.
bool PathSurface::Forward(QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (event->type() == QEvent::MouseButtonPress)
                receiver_.setFocus(Qt::MouseFocusReason);
            QMouseEvent copy(mouse->type(), mouse->position(), mouse->scenePosition(),
                             mouse->globalPosition(), mouse->button(), mouse->buttons(),
                             mouse->modifiers(), mouse->pointingDevice());
            QCoreApplication::sendEvent(&receiver_, &copy);
            if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::RightButton) {
                QContextMenuEvent menu(QContextMenuEvent::Mouse, mouse->position().toPoint(),
                                       mouse->globalPosition().toPoint(), mouse->modifiers());
                QCoreApplication::sendEvent(&receiver_, &menu);
            }
            return true;
        }
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            // Where the X server gives the keyboard to the window under the pointer.
            auto* key = static_cast<QKeyEvent*>(event);
            QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->nativeScanCode(),
                           key->nativeVirtualKey(), key->nativeModifiers(), key->text(),
                           key->isAutoRepeat(), ushort(key->count()));
            QCoreApplication::sendEvent(&receiver_, &copy);
            return true;
        }
        case QEvent::Wheel: {
            auto* wheel = static_cast<QWheelEvent*>(event);
            QWheelEvent copy(wheel->position(), wheel->globalPosition(), wheel->pixelDelta(),
                             wheel->angleDelta(), wheel->buttons(), wheel->modifiers(),
                             wheel->phase(), wheel->inverted(), wheel->source(),
                             wheel->pointingDevice());
            QCoreApplication::sendEvent(&receiver_, &copy);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace qm
