#include "ToolpathView.h"

#include <QImage>

// Placeholder until the view lands.
namespace qm {
class ToolpathView::Renderer {
  public:
    std::size_t moves = 0;
    std::pair<std::size_t, std::size_t> highlighted;
};
ToolpathView::ToolpathView(QWidget* parent) : QOpenGLWidget(parent), renderer_(new Renderer) {}
ToolpathView::~ToolpathView() = default;
void ToolpathView::SetPath(const std::vector<interp::Move>& moves, const interp::Axes&,
                           std::vector<std::uint8_t>) {
    renderer_->moves = moves.size();
}
void ToolpathView::Highlight(std::size_t first, std::size_t end, std::optional<std::array<double, 3>>) {
    renderer_->highlighted = {first, end};
}
std::pair<std::size_t, std::size_t> ToolpathView::HighlightedMoves() const { return renderer_->highlighted; }
void ToolpathView::SetProblemMarks(std::vector<std::array<double, 3>>) {}
void ToolpathView::SetUnits(const QString&, double) {}
void ToolpathView::SetColourByTool(bool) {}
void ToolpathView::ShowStandardView(StandardView) {}
void ToolpathView::FitToExtents() {}
std::uint32_t ToolpathView::LineAt(const QPoint&) { return 0; }
QImage ToolpathView::Picture() { return grabFramebuffer(); }
QByteArray ToolpathView::SvgPicture() const { return "<svg xmlns=\"http://www.w3.org/2000/svg\"/>"; }
std::size_t ToolpathView::MoveCount() const { return renderer_->moves; }
std::size_t ToolpathView::BytesHeld() const { return 0; }
void ToolpathView::initializeGL() {}
void ToolpathView::resizeGL(int, int) {}
void ToolpathView::paintGL() {}
void ToolpathView::mousePressEvent(QMouseEvent*) {}
void ToolpathView::mouseMoveEvent(QMouseEvent*) {}
void ToolpathView::mouseReleaseEvent(QMouseEvent*) {}
void ToolpathView::wheelEvent(QWheelEvent*) {}
void ToolpathView::keyPressEvent(QKeyEvent*) {}
}  // namespace qm
