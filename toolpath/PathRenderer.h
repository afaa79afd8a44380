#pragma once

#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions_3_3_Core>
#include <QOpenGLShaderProgram>
#include <QPoint>
#include <QTimer>

#include <future>
#include <memory>

#include "ArcDetail.h"
#include "OrbitCamera.h"
#include "PathColours.h"
#include "PathOverlay.h"
#include "PathStrips.h"
#include "ToolpathView.h"

namespace qm {

class PathSurface;

// What the toolpath view holds and draws: its copy of the path, its buffers and camera.
class ToolpathView::Renderer {
  public:
    Renderer(ToolpathView& view, PathSurface& surface) : view_(view), surface_(surface) {}
    ~Renderer();

    void SetPath(const std::vector<interp::Move>& moves, const interp::Axes& start,
                 const std::vector<std::uint8_t>& tools);
    // The path after an edit that changed only these moves: false when it cannot be made so,
    // and the caller sets it whole.
    bool UpdatePath(const std::vector<interp::Move>& moves, const interp::Axes& start,
                    const std::vector<std::uint8_t>& tools, const MoveChange& change);
    void Highlight(std::size_t firstMove, std::size_t endMove,
                   std::optional<std::array<double, 3>> tool);
    void SetProblemMarks(std::vector<std::array<double, 3>> points) {
        problems_ = std::move(points);
    }
    void SetUnits(const QString& name, double perMillimetre) { units_ = {name, perMillimetre}; }
    void SetColourByTool(bool on) { byTool_ = on; }
    void ShowStandardView(StandardView view);
    void FitToExtents();
    OrbitCamera& Camera() { return camera_; }
    const OrbitCamera& Camera() const { return camera_; }

    void Initialize();
    void Resize(QSize logical);
    // A frame into target, or into the window's own framebuffer when null; the context is
    // current.
    void Paint(QOpenGLFramebufferObject* target);
    bool HasGl() const { return gl_ != nullptr; }
    std::uint32_t LineAt(const QPoint& point);
    QByteArray Svg();

    std::size_t MoveCount() const { return moveCount_; }
    std::size_t BytesHeld() const;
    bool HasPath() const { return moveCount_ > 0; }
    // What the last frame drew: the vertices of the path, and whether from the simplified strip.
    std::int64_t DrawnVertices() const { return drawnVertices_; }
    bool DrewSimplified() const { return drewSimplified_; }

    static constexpr int kPickSize = 7;
    static constexpr int kOverviewPollMs = 20;
    // The overview is made again on a thread of its own once edits have paused this long (ms);
    // until then what an edit changed is drawn over it from the path.
    static constexpr int kOverviewRestMs = 1000;
    static constexpr double kFitMargin = 30;
    // Up to this many vertices in view are drawn in full, as few as a software renderer draws
    // in a fraction of a frame; beyond, the overview when it has fewer.
    static constexpr std::int64_t kFullDetailVertices = 20'000;

  private:
    struct Buffer {
        GLuint id = 0;
        std::size_t count = 0;
        std::size_t capacity = 0;  // vertices the buffer has room for
    };
    struct OverviewJob;
    double DevicePixelRatio() const;
    void WarmUp();
    void Upload(Buffer& buffer, std::vector<PathVertex>& vertices, bool keep = false);
    void DrawStrips(const Buffer& buffer, const std::vector<Strip>& strips);
    void DrawPath(const QMatrix4x4& matrix, bool pick);
    void DrawPathInDepth(const QMatrix4x4& matrix, bool pick, QSize viewport);
    void DrawHighlight();
    void UploadPending();
    bool SameTolerance(const std::vector<interp::Move>& moves, const interp::Axes& start,
                       const MoveChange& change, const std::vector<PathVertex>& window,
                       std::uint32_t windowStart);
    void UploadPath();
    void TakeFirstOverview();
    void WriteWindow(std::uint32_t windowStart, const std::vector<PathVertex>& window);
    void OverviewChanged(std::uint32_t first, std::uint32_t oldEnd, std::uint32_t newEnd);
    void ShowOverview();
    void MakeOverview();
    void TakeOverview();
    void DropOverviewJob();
    QSize DeviceSize() const;
    void DrawScene(const QMatrix4x4& matrix, QSize device);

  public:
    std::pair<std::size_t, std::size_t> Highlighted() const {
        return {highlightFirst_, highlightEnd_};
    }

  private:
    void SetUniforms(const QMatrix4x4& matrix, int mode, QSize viewport);
    void UpdateArcDetail(const QMatrix4x4& matrix);
    std::vector<PathVertex> ReadVertices();
    PathOverlay Overlay() const;

    ToolpathView& view_;
    PathSurface& surface_;
    OrbitCamera camera_;
    QOpenGLFunctions_3_3_Core* gl_ = nullptr;
    std::unique_ptr<QOpenGLShaderProgram> program_;
    std::unique_ptr<QOpenGLFramebufferObject> pickBuffer_;
    // What the path's picture was last drawn for.
    struct SceneKey {
        QMatrix4x4 matrix;
        QSize device;
        std::uint64_t path = 0, scene = 0;
        bool byTool = false;
        std::array<QRgb, 4 + PathColours::kToolColours> colours{};
        bool operator==(const SceneKey& other) const {
            return matrix == other.matrix && device == other.device && path == other.path &&
                   scene == other.scene && byTool == other.byTool && colours == other.colours;
        }
    };
    std::unique_ptr<QOpenGLFramebufferObject> sceneBuffer_;
    SceneKey sceneKey_;
    std::uint64_t sceneGeneration_ = 0;  // the overview or the fine arcs changed
    std::uint64_t pathGeneration_ = 0;
    GLuint vao_ = 0;
    Buffer full_, simple_, fine_;

    // Kept until the next frame uploads them, then dropped: the path as a line strip, and its
    // distinct segments merged below half a pixel, drawn when zoomed out.
    std::vector<PathVertex> pendingFull_, pendingSimple_;
    // A new path's overview, made from pendingFull_ on the other core while the path is
    // uploaded; the first frame takes it, and pendingFull_ is kept till then.
    std::future<PathOverview> firstOverview_;
    bool uploadFull_ = false;
    bool warmedUp_ = false;  // the window's first frame drew each way once
    std::vector<std::uint32_t> firstVertex_;
    StripChunks fullChunks_;
    std::vector<Strip> simpleStrips_;
    PathOverview overview_;  // what the overview's buffer holds, and what changed since
    std::shared_ptr<OverviewJob> overviewJob_;  // being made again after edits
    std::unique_ptr<QTimer> overviewTimer_, overviewRest_;
    std::uint32_t staleFrom_ = 0, staleEnd_ = 0;  // vertices drawn over the old overview
    std::array<double, 3> endLow_{}, endHigh_{};  // the box of the moves' ends and the start
    ArcDetail arcs_;
    Extents extents_;
    double baseTolerance_ = 0.01;
    std::size_t moveCount_ = 0;

    std::size_t highlightFirst_ = 0, highlightEnd_ = 0;
    std::optional<std::array<double, 3>> tool_;
    std::vector<std::array<double, 3>> problems_;
    OverlayUnits units_;
    bool byTool_ = false;
    std::int64_t drawnVertices_ = 0;
    bool drewSimplified_ = false;
};

}  // namespace qm
