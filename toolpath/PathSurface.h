#pragma once

#include <QWindow>

#include <memory>

class QOffscreenSurface;
class QOpenGLContext;

namespace qm {

// The native window the toolpath is drawn in, with its own OpenGL context. A frame goes
// straight to this window's back buffer and is swapped to the screen alone: a widget drawn
// into a texture would make the top-level window compose all of itself with OpenGL at every
// frame and at every repaint of the text windows, which a software renderer does slowly.
// Its mouse and key events are handed to the widget that holds it, which keeps the focus.
class PathSurface : public QWindow {
    Q_OBJECT
  public:
    // receiver: the widget that gets the events and the focus.
    explicit PathSurface(QWidget& receiver);
    ~PathSurface() override;

    // Makes the context current, on this window when it is shown or else on an offscreen
    // surface; false when OpenGL 3.3 is not to be had. The context is made at the first call.
    bool MakeCurrent();
    void DoneCurrent();
    QOpenGLContext* Context() const { return context_.get(); }
    // Draws a frame now, if the window is on the screen.
    void DrawFrame();

  signals:
    void contextMade();   // the context is new and current: set up what draws
    void unavailable();   // no OpenGL 3.3 context could be made
    void frameWanted();   // the context is current on this window: draw a frame
    void frameSwapped();  // the frame drawn is on the screen

  protected:
    bool event(QEvent* event) override;
    void exposeEvent(QExposeEvent* event) override;

  private:
    bool Forward(QEvent* event);

    QWidget& receiver_;
    std::unique_ptr<QOpenGLContext> context_;
    std::unique_ptr<QOffscreenSurface> offscreen_;
    bool failed_ = false;
};

}  // namespace qm
