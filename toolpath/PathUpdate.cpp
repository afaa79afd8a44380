// What the toolpath view holds of its path, made whole or after an edit, and its zoomed-out
// overview made again on a thread of its own.
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <future>
#include <thread>

#include "PathRenderer.h"
#include "PathSurface.h"

namespace qm {
namespace {

struct Box {
    std::array<double, 3> low{}, high{};
};

// The ends of the moves and the start: the path's box but for the bulge of its arcs, enough
// to choose the chords' tolerance before making them.
Box EndBox(const std::vector<interp::Move>& moves, const interp::Axes& start) {
    Box box{{start[0], start[1], start[2]}, {start[0], start[1], start[2]}};
    for (const interp::Move& move : moves)
        for (int axis = 0; axis < 3; ++axis) {
            box.low[axis] = std::min(box.low[axis], move.end[axis]);
            box.high[axis] = std::max(box.high[axis], move.end[axis]);
        }
    return box;
}

double LargestSize(const Box& box) {
    return std::max({box.high[0] - box.low[0], box.high[1] - box.low[1], box.high[2] - box.low[2]});
}

// Half a pixel when the path is fitted into a window as large as the screen.
double BaseTolerance(double largestSize) {
    double pixels = 1920;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        pixels = std::max(1000.0, std::max(screen->size().width(), screen->size().height()) *
                                      screen->devicePixelRatio());
    if (!(largestSize > 0))
        return 0.001;
    return std::max(1e-5, 0.5 * largestSize / pixels);
}

// Whether a point drawn in floats lies clearly inside a box, off its faces by more than the
// rounding to float.
bool WellInside(const PathVertex& vertex, const Box& box) {
    const double point[3] = {vertex.x, vertex.y, vertex.z};
    for (int axis = 0; axis < 3; ++axis) {
        const double slack =
            1e-6 * (std::max(std::fabs(box.low[axis]), std::fabs(box.high[axis])) + 1);
        if (!(point[axis] > box.low[axis] + slack && point[axis] < box.high[axis] - slack))
            return false;
    }
    return true;
}

// A room a little larger than asked, so that edits that add a few vertices find it.
std::size_t RoomFor(std::size_t vertices) {
    return vertices + vertices / 32 + 4096;
}

}  // namespace

// The overview made on a thread of its own from a copy of the path; whoever lets it go does
// not wait for it.
struct ToolpathView::Renderer::OverviewJob {
    std::atomic<bool> done{false};
    std::uint64_t generation = 0;  // the path it was made for
    PathOverview overview;
};

void ToolpathView::Renderer::SetPath(const std::vector<interp::Move>& moves,
                                     const interp::Axes& start,
                                     const std::vector<std::uint8_t>& tools) {
    const bool hadPath = HasPath();
    const Box ends = EndBox(moves, start);
    endLow_ = ends.low;
    endHigh_ = ends.high;
    baseTolerance_ = BaseTolerance(LargestSize(ends));
    PathGeometry geometry = BuildPathGeometry(moves, start, baseTolerance_, tools);
    DropOverviewJob();  // what a worker makes for an older path is not this one's
    if (firstOverview_.valid())
        firstOverview_.wait();  // an older path's, reading the vertices replaced here
    pendingFull_ = std::move(geometry.vertices);
    uploadFull_ = true;
    firstOverview_ = std::async(std::launch::async, [this, tolerance = baseTolerance_] {
        return PathOverview::Make(pendingFull_, tolerance);
    });
    fullChunks_.Build(pendingFull_);
    arcs_.Build(moves, start, tools, baseTolerance_);
    firstVertex_ = std::move(geometry.firstVertex);
    extents_ = fullChunks_.Bounds();
    moveCount_ = moves.size();
    highlightFirst_ = std::min(highlightFirst_, moveCount_);
    highlightEnd_ = std::min(highlightEnd_, moveCount_);
    camera_.SetScene(extents_);
    if (!hadPath)
        ShowStandardView(StandardView::Isometric);
}

// The chords' tolerance follows the size of the box of the moves' ends: while the moves an
// edit removed lay inside it, the new box is the old one widened by the moves added.
bool ToolpathView::Renderer::SameTolerance(const std::vector<interp::Move>& moves,
                                           const interp::Axes& start, const MoveChange& change,
                                           const std::vector<PathVertex>& window,
                                           std::uint32_t windowStart) {
    Box box{endLow_, endHigh_};
    bool inside = true;
    for (std::size_t i = change.first; i < change.first + change.removed && inside; ++i)
        inside = WellInside(window[firstVertex_[i + 1] - 1 - windowStart], box);
    if (inside) {
        for (std::size_t i = change.first; i < change.first + change.added; ++i)
            for (int axis = 0; axis < 3; ++axis) {
                box.low[axis] = std::min(box.low[axis], moves[i].end[axis]);
                box.high[axis] = std::max(box.high[axis], moves[i].end[axis]);
            }
    } else {
        box = EndBox(moves, start);
    }
    if (BaseTolerance(LargestSize(box)) != baseTolerance_)
        return false;
    endLow_ = box.low;
    endHigh_ = box.high;
    return true;
}

bool ToolpathView::Renderer::UpdatePath(const std::vector<interp::Move>& moves,
                                        const interp::Axes& start,
                                        const std::vector<std::uint8_t>& tools,
                                        const MoveChange& change) {
    if (gl_ == nullptr || uploadFull_ || !HasPath() || full_.id == 0 ||
        change.first + change.removed > moveCount_ ||
        moves.size() != moveCount_ - change.removed + change.added)
        return false;
    // The old vertices from the box group of the first changed segment on.
    const std::uint32_t from = firstVertex_[change.first];
    const std::uint32_t oldMiddleEnd = firstVertex_[change.first + change.removed];
    const std::size_t oldCount = full_.count;
    const std::size_t firstGroup = (from - 1) / StripChunks::kChunkSegments;
    const std::uint32_t windowStart = std::uint32_t(firstGroup * StripChunks::kChunkSegments);
    std::vector<PathVertex> window;
    window.reserve(oldCount - windowStart + 1024);
    window.resize(oldCount - windowStart);
    surface_.MakeCurrent();
    gl_->glBindBuffer(GL_ARRAY_BUFFER, full_.id);
    gl_->glGetBufferSubData(GL_ARRAY_BUFFER, GLintptr(windowStart * sizeof(PathVertex)),
                            GLsizeiptr(window.size() * sizeof(PathVertex)), window.data());
    gl_->glBindBuffer(GL_ARRAY_BUFFER, 0);
    bool restyled = false;
    if (!SameTolerance(moves, start, change, window, windowStart) ||
        !ApplyMoveChange(moves, start, baseTolerance_, tools, change, firstVertex_, windowStart,
                         window, &restyled)) {
        surface_.DoneCurrent();
        return false;
    }
    WriteWindow(windowStart, window);
    surface_.DoneCurrent();
    fullChunks_.BuildFrom(firstGroup, window.data(), full_.count);
    arcs_.Splice(moves, start, tools, change);
    extents_ = fullChunks_.Bounds();
    moveCount_ = moves.size();
    highlightFirst_ = std::min(highlightFirst_, moveCount_);
    highlightEnd_ = std::min(highlightEnd_, moveCount_);
    camera_.SetScene(extents_);
    ++pathGeneration_;
    // A move after the change in another colour changes all the overview drew from there.
    if (restyled)
        OverviewChanged(from, std::uint32_t(oldCount), std::uint32_t(full_.count));
    else
        OverviewChanged(from, oldMiddleEnd, firstVertex_[change.first + change.added]);
    return true;
}

// The window's vertices into the path's buffer: in place when they fit its room, else into a
// new, roomier buffer, the part before the window copied within the GPU.
void ToolpathView::Renderer::WriteWindow(std::uint32_t windowStart,
                                         const std::vector<PathVertex>& window) {
    const std::size_t count = windowStart + window.size();
    if (count <= full_.capacity) {
        gl_->glBindBuffer(GL_ARRAY_BUFFER, full_.id);
        gl_->glBufferSubData(GL_ARRAY_BUFFER, GLintptr(windowStart * sizeof(PathVertex)),
                             GLsizeiptr(window.size() * sizeof(PathVertex)), window.data());
        gl_->glBindBuffer(GL_ARRAY_BUFFER, 0);
        full_.count = count;
        return;
    }
    const std::size_t room = RoomFor(count);
    GLuint fresh = 0;
    gl_->glGenBuffers(1, &fresh);
    gl_->glBindBuffer(GL_COPY_WRITE_BUFFER, fresh);
    gl_->glBufferData(GL_COPY_WRITE_BUFFER, GLsizeiptr(room * sizeof(PathVertex)), nullptr,
                      GL_STATIC_DRAW);
    gl_->glBindBuffer(GL_COPY_READ_BUFFER, full_.id);
    gl_->glCopyBufferSubData(GL_COPY_READ_BUFFER, GL_COPY_WRITE_BUFFER, 0, 0,
                             GLsizeiptr(windowStart * sizeof(PathVertex)));
    gl_->glBufferSubData(GL_COPY_WRITE_BUFFER, GLintptr(windowStart * sizeof(PathVertex)),
                         GLsizeiptr(window.size() * sizeof(PathVertex)), window.data());
    gl_->glBindBuffer(GL_COPY_READ_BUFFER, 0);
    gl_->glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
    gl_->glDeleteBuffers(1, &full_.id);
    full_.id = fresh;
    full_.count = count;
    full_.capacity = room;
}

// The path's buffer is made with room for edits that add vertices.
void ToolpathView::Renderer::UploadPath() {
    if (full_.id == 0)
        gl_->glGenBuffers(1, &full_.id);
    const std::size_t room = RoomFor(pendingFull_.size());
    gl_->glBindBuffer(GL_ARRAY_BUFFER, full_.id);
    gl_->glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(room * sizeof(PathVertex)), nullptr,
                      GL_STATIC_DRAW);
    gl_->glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(pendingFull_.size() * sizeof(PathVertex)),
                         pendingFull_.data());
    gl_->glBindBuffer(GL_ARRAY_BUFFER, 0);
    full_.count = pendingFull_.size();
    full_.capacity = room;
}

void ToolpathView::Renderer::TakeFirstOverview() {
    if (!firstOverview_.valid())
        return;
    overview_ = firstOverview_.get();
    pendingSimple_ = overview_.TakeVertices();
    ShowOverview();
}

// The overview stays right at once: what stands only for changed moves is left out of it and
// the path drawn there instead, until the overview is made again once the edits pause.
void ToolpathView::Renderer::OverviewChanged(std::uint32_t first, std::uint32_t oldEnd,
                                             std::uint32_t newEnd) {
    overview_.Changed(first, oldEnd, newEnd);
    ShowOverview();
    DropOverviewJob();
    if (overviewRest_ == nullptr) {
        overviewRest_ = std::make_unique<QTimer>();
        overviewRest_->setSingleShot(true);
        QObject::connect(overviewRest_.get(), &QTimer::timeout, &view_, [this] { MakeOverview(); });
    }
    overviewRest_->start(kOverviewRestMs);
}

void ToolpathView::Renderer::ShowOverview() {
    PathOverview::Drawn drawn = overview_.ToDraw();
    simpleStrips_ = std::move(drawn.strips);
    staleFrom_ = drawn.from;
    staleEnd_ = drawn.end;
    ++sceneGeneration_;
}

// The whole path is read back and handed to a thread; the frame after it is done takes it.
void ToolpathView::Renderer::MakeOverview() {
    if (gl_ == nullptr || full_.id == 0 || uploadFull_)
        return;
    auto path = std::make_shared<std::vector<PathVertex>>(full_.count);
    surface_.MakeCurrent();
    gl_->glBindBuffer(GL_ARRAY_BUFFER, full_.id);
    gl_->glGetBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(path->size() * sizeof(PathVertex)),
                            path->data());
    gl_->glBindBuffer(GL_ARRAY_BUFFER, 0);
    surface_.DoneCurrent();
    auto job = std::make_shared<OverviewJob>();
    job->generation = pathGeneration_;
    overviewJob_ = job;
    std::thread([job, path, tolerance = baseTolerance_]() mutable {
        job->overview = PathOverview::Make(*path, tolerance);
        path.reset();
        job->done = true;
    }).detach();
    if (overviewTimer_ == nullptr) {
        overviewTimer_ = std::make_unique<QTimer>();
        overviewTimer_->setInterval(kOverviewPollMs);
        QObject::connect(overviewTimer_.get(), &QTimer::timeout, &view_, [this] {
            if (overviewJob_ == nullptr)
                overviewTimer_->stop();
            else if (overviewJob_->done) {
                overviewTimer_->stop();
                view_.RequestFrame();  // the frame takes it
            }
        });
    }
    overviewTimer_->start();
}

void ToolpathView::Renderer::TakeOverview() {
    if (overviewJob_ == nullptr || !overviewJob_->done)
        return;
    const std::shared_ptr<OverviewJob> job = std::move(overviewJob_);
    if (job->generation != pathGeneration_)
        return;  // made for a path edited since
    overview_ = std::move(job->overview);
    std::vector<PathVertex> vertices = overview_.TakeVertices();
    Upload(simple_, vertices);
    ShowOverview();
}

void ToolpathView::Renderer::DropOverviewJob() {
    overviewJob_.reset();
    if (overviewRest_ != nullptr)
        overviewRest_->stop();
}

}  // namespace qm
