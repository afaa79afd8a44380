#pragma once

#include <QPointF>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "Geometry.h"
#include "Move.h"
#include "PathGeometry.h"

namespace qm {

// The toolpath in 3D, drawn with OpenGL from one vertex buffer in a few draw calls: rapids
// dashed and thinner-looking, feeds solid, arcs in chords within half a pixel at the current
// zoom, the extents box with its sizes, the current line's moves highlighted and the tool
// marked where that line leaves it, the program's problems marked. Orbit (left drag), pan
// (middle drag, or Shift with the left), zoom (wheel, about the pointer), and keys for the
// same. A click picks the move under the pointer through an offscreen ID buffer.
//
// Keys, while the view has the focus (none with Ctrl or Alt, which are the menus'):
//   arrows orbit, Shift+arrows pan, + or = and - zoom, F or Home fit the path,
//   1 top (XY), 2 front (XZ), 3 right (YZ), 4 isometric,
//   Page Down or N the next moving line, Page Up or P the previous (stepRequested).
//
// The view keeps its own copy of what it draws, so following the program again on another
// thread never touches what is on the screen; painting never waits on the text.
class PathSurface;

class ToolpathView : public QWidget {
    Q_OBJECT
  public:
    enum class StandardView { Top, Front, Right, Isometric };

    explicit ToolpathView(QWidget* parent = nullptr);
    ~ToolpathView() override;

    // Replaces the path drawn. start: where the tool stands before the first move; tools: the
    // colour index of each move's tool (empty: one colour). The view fits the new path only
    // when it had none before, so that an edit keeps the user's view.
    void SetPath(const std::vector<interp::Move>& moves, const interp::Axes& start,
                 std::vector<std::uint8_t> tools = {});
    // The path after an edit that changed only some moves (see MoveChange): only those are
    // made and uploaded again. Gives what SetPath gives, which it falls back on when the view
    // cannot (no path shown yet, the path's size grew so that the chords change, ...).
    void UpdatePath(const std::vector<interp::Move>& moves, const interp::Axes& start,
                    std::vector<std::uint8_t> tools, const MoveChange& change);
    // The moves [firstMove, endMove) are the current line's: drawn highlighted. tool: where
    // the tool stands after the line (mm), marked; nothing: no mark.
    void Highlight(std::size_t firstMove, std::size_t endMove,
                   std::optional<std::array<double, 3>> tool);
    // The moves highlighted: [first, end).
    std::pair<std::size_t, std::size_t> HighlightedMoves() const;
    // Points (mm) where the program has problems, marked on the path.
    void SetProblemMarks(std::vector<std::array<double, 3>> points);
    // Sizes of the extents box in these units: "mm" with 1, or "in" with 1/25.4.
    void SetUnits(const QString& name, double perMillimetre);
    void SetColourByTool(bool on);

    void ShowStandardView(StandardView view);  // and fits the path in it
    void FitToExtents();

    // The program line of the move drawn within a few pixels of a point of the widget, read
    // from the ID buffer; 0 when there is none.
    std::uint32_t LineAt(const QPoint& point);
    // The view as it is drawn now.
    QImage Picture();
    // Draws the frame at once rather than at the next update, and waits until OpenGL has
    // finished it (for measuring).
    void DrawNow();
    // The view as an SVG document: the path projected as it is drawn now.
    QByteArray SvgPicture() const;

    // The camera, for callers that turn it as the mouse and keys do (and for measuring).
    QPointF Project(const std::array<double, 3>& point) const;  // mm -> widget pixels
    void Orbit(double yawDegrees, double pitchDegrees);
    void Pan(QPointF pixels);
    void Zoom(double factor, std::optional<QPointF> about = std::nullopt);  // about: pixels
    double PixelsPerMm() const;
    // The path's vertices the last frame drew (fewer than it holds when zoomed out or in).
    std::int64_t DrawnVertices() const;

    std::size_t MoveCount() const;
    // The memory the view holds for its path on the CPU side and in buffers, in bytes.
    std::size_t BytesHeld() const;

  signals:
    void lineClicked(std::uint32_t line);
    void frameSwapped();  // a frame reached the screen
    // Keys that step through the program: +1 the next line that moves, -1 the previous.
    void stepRequested(int direction);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void RequestFrame();
    void ContextMade();

    class Renderer;
    PathSurface* surface_;
    QWidget* container_;
    std::unique_ptr<Renderer> renderer_;
    QPointF pressedAt_, lastAt_;
    bool dragged_ = false;
    bool framePending_ = false;
};

}  // namespace qm
