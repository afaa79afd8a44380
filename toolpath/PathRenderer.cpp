#include "PathRenderer.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLPaintDevice>
#include <QOpenGLVersionFunctionsFactory>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <chrono>

#include <algorithm>
#include <cmath>

#include "PathShaders.h"
#include "PathSurface.h"
#include "SvgPicture.h"

namespace qm {
namespace {

struct Angles {
    double yaw, pitch;
};
Angles AnglesOf(ToolpathView::StandardView view) {
    switch (view) {
        case ToolpathView::StandardView::Top:
            return {0, 0};
        case ToolpathView::StandardView::Front:
            return {0, -90};
        case ToolpathView::StandardView::Right:
            return {-90, -90};
        case ToolpathView::StandardView::Isometric:
            break;
    }
    return {-45, -(90 - 35.264389682754654)};
}

// The ends of the moves and the start: the path's box but for the bulge of its arcs, enough
// to choose the chords' tolerance before making them.
double LargestSize(const std::vector<interp::Move>& moves, const interp::Axes& start) {
    double low[3] = {start[0], start[1], start[2]}, high[3] = {start[0], start[1], start[2]};
    for (const interp::Move& move : moves)
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], move.end[axis]);
            high[axis] = std::max(high[axis], move.end[axis]);
        }
    return std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
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

QVector4D Rgba(const QColor& colour) {
    return {colour.redF(), colour.greenF(), colour.blueF(), 1.0f};
}

// An offscreen RGBA picture with depth, of the device's size: made anew only when the size
// changed (the old one is let go first, so that two are never held at once).
void FitFramebuffer(std::unique_ptr<QOpenGLFramebufferObject>& buffer, QSize device) {
    if (buffer != nullptr && buffer->size() == device)
        return;
    QOpenGLFramebufferObjectFormat format;
    format.setAttachment(QOpenGLFramebufferObject::Depth);
    format.setInternalTextureFormat(GL_RGBA8);
    buffer.reset();
    buffer = std::make_unique<QOpenGLFramebufferObject>(device, format);
}

}  // namespace

ToolpathView::Renderer::~Renderer() {
    if (gl_ == nullptr)
        return;
    surface_.MakeCurrent();
    for (Buffer* buffer : {&full_, &simple_, &fine_})
        if (buffer->id != 0)
            gl_->glDeleteBuffers(1, &buffer->id);
    if (vao_ != 0)
        gl_->glDeleteVertexArrays(1, &vao_);
    program_.reset();
    pickBuffer_.reset();
    sceneBuffer_.reset();
    surface_.DoneCurrent();
}

void ToolpathView::Renderer::SetPath(const std::vector<interp::Move>& moves,
                                     const interp::Axes& start,
                                     const std::vector<std::uint8_t>& tools) {
    const bool hadPath = HasPath();
    baseTolerance_ = BaseTolerance(LargestSize(moves, start));
    PathGeometry geometry = BuildPathGeometry(moves, start, baseTolerance_, tools);
    DistinctStrips simple =
        DistinctSegments(SimplifyStrip(geometry.vertices, baseTolerance_), baseTolerance_);
    pendingSimple_ = std::move(simple.vertices);
    simpleStrips_ = std::move(simple.strips);
    overview_ = {};  // what a worker makes for an older path is not this one's
    staleFrom_ = staleEnd_ = 0;
    fullChunks_.Build(geometry.vertices);
    arcs_.Build(moves, start, tools, baseTolerance_);
    pendingFull_ = std::move(geometry.vertices);
    uploadFull_ = true;
    firstVertex_ = std::move(geometry.firstVertex);
    extents_ = fullChunks_.Bounds();
    moveCount_ = moves.size();
    highlightFirst_ = std::min(highlightFirst_, moveCount_);
    highlightEnd_ = std::min(highlightEnd_, moveCount_);
    camera_.SetScene(extents_);
    if (!hadPath)
        ShowStandardView(StandardView::Isometric);
}

bool ToolpathView::Renderer::UpdatePath(const std::vector<interp::Move>& moves,
                                        const interp::Axes& start,
                                        const std::vector<std::uint8_t>& tools,
                                        const MoveChange& change) {
    if (gl_ == nullptr || uploadFull_ || !HasPath() || full_.id == 0 ||
        change.first >= firstVertex_.size() ||
        BaseTolerance(LargestSize(moves, start)) != baseTolerance_)
        return false;
    surface_.MakeCurrent();
    // The old vertices from the box group of the first changed segment on.
    const std::uint32_t from = firstVertex_[change.first];
    const std::size_t firstGroup = (from - 1) / StripChunks::kChunkSegments;
    const std::uint32_t windowStart = std::uint32_t(firstGroup * StripChunks::kChunkSegments);
    std::vector<PathVertex> window(full_.count - windowStart);
    gl_->glBindBuffer(GL_ARRAY_BUFFER, full_.id);
    gl_->glGetBufferSubData(GL_ARRAY_BUFFER, GLintptr(windowStart * sizeof(PathVertex)),
                            GLsizeiptr(window.size() * sizeof(PathVertex)), window.data());
    std::vector<std::uint32_t> firstVertex = firstVertex_;
    if (!ApplyMoveChange(moves, start, baseTolerance_, tools, change, firstVertex, windowStart,
                         window)) {
        gl_->glBindBuffer(GL_ARRAY_BUFFER, 0);
        surface_.DoneCurrent();
        return false;
    }
    const std::size_t count = windowStart + window.size();
    const std::int64_t shift = std::int64_t(count) - std::int64_t(full_.count);
    if (shift == 0) {
        gl_->glBufferSubData(GL_ARRAY_BUFFER, GLintptr(windowStart * sizeof(PathVertex)),
                             GLsizeiptr(window.size() * sizeof(PathVertex)), window.data());
    } else {
        // Another size: a new buffer, the part before the window copied within the GPU.
        GLuint fresh = 0;
        gl_->glGenBuffers(1, &fresh);
        gl_->glBindBuffer(GL_COPY_WRITE_BUFFER, fresh);
        gl_->glBufferData(GL_COPY_WRITE_BUFFER, GLsizeiptr(count * sizeof(PathVertex)), nullptr,
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
    }
    gl_->glBindBuffer(GL_ARRAY_BUFFER, 0);
    surface_.DoneCurrent();
    fullChunks_.BuildFrom(firstGroup, window.data(), count);
    firstVertex_ = std::move(firstVertex);
    arcs_.Build(moves, start, tools, baseTolerance_);
    extents_ = fullChunks_.Bounds();
    moveCount_ = moves.size();
    highlightFirst_ = std::min(highlightFirst_, moveCount_);
    highlightEnd_ = std::min(highlightEnd_, moveCount_);
    camera_.SetScene(extents_);
    ++pathGeneration_;
    // Until the zoomed-out overview is made again, the changed moves are drawn over the old
    // one from the full strip.
    const std::uint32_t changedEnd = firstVertex_[change.first + change.added];
    if (staleEnd_ > staleFrom_) {
        if (staleFrom_ >= from)
            staleFrom_ = std::uint32_t(std::max<std::int64_t>(from, staleFrom_ + shift));
        if (staleEnd_ >= from)
            staleEnd_ = std::uint32_t(std::max<std::int64_t>(from, staleEnd_ + shift));
        staleFrom_ = std::min(staleFrom_, from - 1);
        staleEnd_ = std::max(staleEnd_, changedEnd);
    } else {
        staleFrom_ = from - 1;
        staleEnd_ = changedEnd;
    }
    MakeOverview(std::move(window), windowStart);
    return true;
}

// The overview needs the whole strip: the part before the window is read back, and the work
// is done on a thread of its own, the result taken at the next frame once it is ready.
void ToolpathView::Renderer::MakeOverview(std::vector<PathVertex> window,
                                          std::uint32_t windowStart) {
    std::vector<PathVertex> all(windowStart + window.size());
    surface_.MakeCurrent();
    gl_->glBindBuffer(GL_ARRAY_BUFFER, full_.id);
    gl_->glGetBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(windowStart * sizeof(PathVertex)),
                            all.data());
    gl_->glBindBuffer(GL_ARRAY_BUFFER, 0);
    surface_.DoneCurrent();
    std::copy(window.begin(), window.end(), all.begin() + windowStart);
    std::vector<PathVertex>().swap(window);
    const double tolerance = baseTolerance_;
    overview_ = std::async(std::launch::async, [all = std::move(all), tolerance] {
        return DistinctSegments(SimplifyStrip(all, tolerance), tolerance);
    });
    if (overviewTimer_ == nullptr) {
        overviewTimer_ = std::make_unique<QTimer>();
        overviewTimer_->setInterval(kOverviewPollMs);
        QObject::connect(overviewTimer_.get(), &QTimer::timeout, &view_, [this] {
            if (!overview_.valid()) {
                overviewTimer_->stop();
            } else if (overview_.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
                overviewTimer_->stop();
                view_.RequestFrame();  // the frame takes it
            }
        });
    }
    overviewTimer_->start();
}

void ToolpathView::Renderer::TakeOverview() {
    if (!overview_.valid() ||
        overview_.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return;
    DistinctStrips overview = overview_.get();
    simpleStrips_ = std::move(overview.strips);
    Upload(simple_, overview.vertices);
    staleFrom_ = staleEnd_ = 0;
    ++sceneGeneration_;
}

void ToolpathView::Renderer::Highlight(std::size_t firstMove, std::size_t endMove,
                                       std::optional<std::array<double, 3>> tool) {
    highlightFirst_ = std::min(firstMove, moveCount_);
    highlightEnd_ = std::clamp(endMove, highlightFirst_, moveCount_);
    tool_ = tool;
}

void ToolpathView::Renderer::ShowStandardView(StandardView view) {
    const Angles angles = AnglesOf(view);
    camera_.SetAngles(angles.yaw, angles.pitch);
    FitToExtents();
}

void ToolpathView::Renderer::FitToExtents() {
    camera_.Fit(kFitMargin);
}

void ToolpathView::Renderer::Initialize() {
    gl_ = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_3_3_Core>(surface_.Context());
    if (gl_ == nullptr || !gl_->initializeOpenGLFunctions()) {
        gl_ = nullptr;  // the view then says so instead of drawing
        return;
    }
    program_ = std::make_unique<QOpenGLShaderProgram>();
    if (!program_->addShaderFromSourceCode(QOpenGLShader::Vertex, kPathVertexShader) ||
        !program_->addShaderFromSourceCode(QOpenGLShader::Fragment, kPathFragmentShader) ||
        !program_->link()) {
        qWarning("toolpath shaders: %s", qPrintable(program_->log()));
        gl_ = nullptr;
        return;
    }
    gl_->glGenVertexArrays(1, &vao_);
    // Buffers made before a context existed are uploaded on the first frame.
    uploadFull_ = uploadFull_ || moveCount_ > 0;
}

double ToolpathView::Renderer::DevicePixelRatio() const {
    return view_.devicePixelRatioF();
}

void ToolpathView::Renderer::Resize(QSize logical) {
    camera_.SetViewport(logical);
}

void ToolpathView::Renderer::Upload(Buffer& buffer, std::vector<PathVertex>& vertices, bool keep) {
    if (buffer.id == 0)
        gl_->glGenBuffers(1, &buffer.id);
    gl_->glBindBuffer(GL_ARRAY_BUFFER, buffer.id);
    gl_->glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(PathVertex)),
                      vertices.empty() ? nullptr : vertices.data(), GL_STATIC_DRAW);
    buffer.count = vertices.size();
    if (!keep)
        std::vector<PathVertex>().swap(vertices);
}

void ToolpathView::Renderer::DrawStrips(const Buffer& buffer, const std::vector<Strip>& strips) {
    if (buffer.id == 0 || strips.empty())
        return;
    gl_->glBindBuffer(GL_ARRAY_BUFFER, buffer.id);
    gl_->glEnableVertexAttribArray(0);
    gl_->glEnableVertexAttribArray(1);
    gl_->glEnableVertexAttribArray(2);
    gl_->glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(PathVertex), nullptr);
    gl_->glVertexAttribIPointer(1, 1, GL_UNSIGNED_INT, sizeof(PathVertex),
                                reinterpret_cast<void*>(offsetof(PathVertex, line)));
    gl_->glVertexAttribIPointer(2, 1, GL_UNSIGNED_INT, sizeof(PathVertex),
                                reinterpret_cast<void*>(offsetof(PathVertex, style)));
    std::vector<GLint> firsts(strips.size());
    std::vector<GLsizei> counts(strips.size());
    for (std::size_t i = 0; i < strips.size(); ++i) {
        firsts[i] = strips[i].first;
        counts[i] = strips[i].count;
    }
    gl_->glMultiDrawArrays(GL_LINE_STRIP, firsts.data(), counts.data(), GLsizei(strips.size()));
}

void ToolpathView::Renderer::SetUniforms(const QMatrix4x4& matrix, int mode, QSize viewport) {
    const PathColours colours = ColoursFor(view_.palette());
    program_->setUniformValue("matrix", matrix);
    program_->setUniformValue("viewport",
                              QVector2D(float(viewport.width()), float(viewport.height())));
    program_->setUniformValue("mode", mode);
    program_->setUniformValue("byTool", byTool_);
    const QVector4D kinds[3] = {Rgba(colours.rapid), Rgba(colours.feed), Rgba(colours.arc)};
    program_->setUniformValueArray("kindColours", kinds, 3);
    QVector4D tools[PathColours::kToolColours];
    for (std::size_t i = 0; i < PathColours::kToolColours; ++i)
        tools[i] = Rgba(colours.tools[i]);
    program_->setUniformValueArray("toolColours", tools, int(PathColours::kToolColours));
    program_->setUniformValue("oneColour", Rgba(colours.highlight));
}

void ToolpathView::Renderer::UpdateArcDetail(const QMatrix4x4& matrix) {
    const QSize size = camera_.Viewport();
    const double scale = camera_.PixelsPerMm();
    const double tolerance = 0.5 / (scale * DevicePixelRatio());
    if (arcs_.Update(matrix, {2 * scale / size.width(), 2 * scale / size.height()}, tolerance,
                     firstVertex_)) {
        std::vector<PathVertex> fine = arcs_.TakeVertices();
        Upload(fine_, fine);
        ++sceneGeneration_;
    }
}

void ToolpathView::Renderer::DrawPath(const QMatrix4x4& matrix, bool pick) {
    std::int64_t fullCount = 0;
    std::vector<Strip> strips = fullChunks_.Visible(matrix, &fullCount);
    bool simplified = false;
    if (arcs_.Active()) {
        DrawStrips(full_, CutOut(strips, arcs_.Cuts()));
        DrawStrips(fine_, arcs_.StripsOf(0, moveCount_));
    } else if (pick || fullCount <= kFullDetailVertices ||
               std::int64_t(simple_.count) >= fullCount) {
        DrawStrips(full_, strips);
    } else {
        // Zoomed out: every distinct segment once, merged below half a pixel.
        fullCount = std::int64_t(simple_.count);
        simplified = true;
        DrawStrips(simple_, simpleStrips_);
        if (staleEnd_ > staleFrom_)
            DrawStrips(full_, {{std::int32_t(staleFrom_), std::int32_t(staleEnd_ - staleFrom_)}});
    }
    if (!pick) {
        drawnVertices_ = fullCount;
        drewSimplified_ = simplified;
    }
}

void ToolpathView::Renderer::DrawHighlight() {
    if (highlightEnd_ <= highlightFirst_)
        return;
    const std::uint32_t first = firstVertex_[highlightFirst_] - 1;
    const std::uint32_t last = firstVertex_[highlightEnd_] - 1;
    const std::vector<Strip> strips = {{std::int32_t(first), std::int32_t(last - first + 1)}};
    gl_->glDisable(GL_DEPTH_TEST);
    gl_->glLineWidth(3);
    if (arcs_.Active()) {
        DrawStrips(full_, CutOut(strips, arcs_.Cuts()));
        DrawStrips(fine_, arcs_.StripsOf(highlightFirst_, highlightEnd_));
    } else {
        DrawStrips(full_, strips);
    }
    gl_->glLineWidth(1);
}

// The path without the highlight, into a picture of its own.
void ToolpathView::Renderer::DrawScene(const QMatrix4x4& matrix, QSize device) {
    FitFramebuffer(sceneBuffer_, device);
    const QColor bg = ColoursFor(view_.palette()).background;
    sceneBuffer_->bind();
    gl_->glViewport(0, 0, device.width(), device.height());
    gl_->glClearColor(bg.redF(), bg.greenF(), bg.blueF(), 1);
    gl_->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gl_->glEnable(GL_DEPTH_TEST);
    gl_->glDepthFunc(GL_LEQUAL);
    program_->bind();
    gl_->glBindVertexArray(vao_);
    SetUniforms(matrix, 0, device);
    DrawPath(matrix, false);
    gl_->glBindVertexArray(0);
    program_->release();
    gl_->glDisable(GL_DEPTH_TEST);
    sceneBuffer_->release();
}

void ToolpathView::Renderer::Paint(QOpenGLFramebufferObject* target) {
    if (gl_ == nullptr)
        return;  // the view says why
    const PathColours colours = ColoursFor(view_.palette());
    const auto bindTarget = [target] {
        if (target != nullptr)
            target->bind();
        else
            QOpenGLFramebufferObject::bindDefault();
    };
    bindTarget();
    UploadPending();
    TakeOverview();
    const QSize device = DeviceSize();
    gl_->glViewport(0, 0, device.width(), device.height());
    const QColor& bg = colours.background;
    gl_->glClearColor(bg.redF(), bg.greenF(), bg.blueF(), 1);
    gl_->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (HasPath()) {
        const QMatrix4x4 matrix = camera_.Matrix();
        UpdateArcDetail(matrix);
        // The path is drawn again only when what it looks like changed; a frame that only
        // moves the highlight copies the last picture and draws the highlight over it.
        SceneKey key{matrix, device, pathGeneration_, sceneGeneration_, byTool_, {}};
        key.colours = {colours.background.rgba(), colours.rapid.rgba(), colours.feed.rgba(),
                       colours.arc.rgba()};
        for (std::size_t i = 0; i < PathColours::kToolColours; ++i)
            key.colours[4 + i] = colours.tools[i].rgba();
        if (sceneBuffer_ == nullptr || !(sceneKey_ == key))
            DrawScene(matrix, device);
        sceneKey_ = key;
        const GLuint drawn =
            target != nullptr ? target->handle() : surface_.Context()->defaultFramebufferObject();
        gl_->glBindFramebuffer(GL_READ_FRAMEBUFFER, sceneBuffer_->handle());
        gl_->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, drawn);
        gl_->glBlitFramebuffer(0, 0, device.width(), device.height(), 0, 0, device.width(),
                               device.height(), GL_COLOR_BUFFER_BIT, GL_NEAREST);
        bindTarget();
        gl_->glViewport(0, 0, device.width(), device.height());
        program_->bind();
        gl_->glBindVertexArray(vao_);
        SetUniforms(matrix, 2, device);
        DrawHighlight();
        gl_->glBindVertexArray(0);
        program_->release();
        gl_->glBindBuffer(GL_ARRAY_BUFFER, 0);
    }
    {
        QOpenGLPaintDevice device(DeviceSize());
        device.setDevicePixelRatio(DevicePixelRatio());
        QPainter painter(&device);
        PaintOverlay(painter, Overlay(), colours);
    }
}

PathOverlay ToolpathView::Renderer::Overlay() const {
    return BuildOverlay(camera_, extents_, units_, tool_, problems_);
}

void ToolpathView::Renderer::UploadPending() {
    if (!uploadFull_)
        return;
    Upload(full_, pendingFull_);
    Upload(simple_, pendingSimple_);
    uploadFull_ = false;
    arcs_.Clear();
    ++pathGeneration_;
}

QSize ToolpathView::Renderer::DeviceSize() const {
    return view_.size() * DevicePixelRatio();
}

// The square of kPickSize device pixels round a point, with each segment in its line's number
// as the colour and the depth as drawn: the view's camera narrowed to that square, so that
// only the groups of segments that reach into it are drawn, in full detail, at each click.
// Nothing is kept between clicks and nothing is drawn while the view merely stands still.
std::uint32_t ToolpathView::Renderer::LineAt(const QPoint& point) {
    if (gl_ == nullptr || !HasPath() || !surface_.MakeCurrent())
        return 0;
    UploadPending();
    const QSize device = DeviceSize();
    const double ratio = DevicePixelRatio();
    // The pixel under the point, y up as GL counts, and the square round it inside the view.
    const int px = int(std::floor((point.x() + 0.5) * ratio));
    const int py = device.height() - 1 - int(std::floor((point.y() + 0.5) * ratio));
    const int side = std::min({kPickSize, device.width(), device.height()});
    if (side <= 0) {
        surface_.DoneCurrent();
        return 0;
    }
    const int x0 = std::clamp(px - kPickSize / 2, 0, device.width() - side);
    const int y0 = std::clamp(py - kPickSize / 2, 0, device.height() - side);
    const QMatrix4x4 matrix = camera_.Matrix();
    UpdateArcDetail(matrix);
    // The square in the camera's pixels, y down.
    const QRectF square(x0 / ratio, (device.height() - y0 - side) / ratio, side / ratio,
                        side / ratio);
    const QMatrix4x4 narrowed = camera_.PickMatrix(square);
    FitFramebuffer(pickBuffer_, QSize(side, side));
    pickBuffer_->bind();
    gl_->glViewport(0, 0, side, side);
    gl_->glDisable(GL_DITHER);
    gl_->glDisable(GL_BLEND);
    gl_->glClearColor(0, 0, 0, 0);
    gl_->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gl_->glEnable(GL_DEPTH_TEST);
    gl_->glDepthFunc(GL_LEQUAL);
    program_->bind();
    gl_->glBindVertexArray(vao_);
    SetUniforms(narrowed, 1, device);
    DrawPath(narrowed, true);
    gl_->glBindVertexArray(0);
    program_->release();
    gl_->glDisable(GL_DEPTH_TEST);
    gl_->glBindBuffer(GL_ARRAY_BUFFER, 0);
    unsigned char pixels[kPickSize * kPickSize * 4] = {};
    gl_->glReadPixels(0, 0, side, side, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    pickBuffer_->release();
    surface_.DoneCurrent();
    // The line nearest the point.
    std::uint32_t best = 0;
    int bestDistance = 1 << 30;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const unsigned char* p = pixels + (y * side + x) * 4;
            const std::uint32_t line =
                p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
            const int dx = x0 + x - px, dy = y0 + y - py;
            if (line != 0 && dx * dx + dy * dy < bestDistance) {
                best = line;
                bestDistance = dx * dx + dy * dy;
            }
        }
    return best;
}

std::vector<PathVertex> ToolpathView::Renderer::ReadVertices() {
    if (!pendingFull_.empty() || gl_ == nullptr || full_.id == 0)
        return pendingFull_;
    std::vector<PathVertex> vertices(full_.count);
    surface_.MakeCurrent();
    gl_->glBindBuffer(GL_ARRAY_BUFFER, full_.id);
    gl_->glGetBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(vertices.size() * sizeof(PathVertex)),
                            vertices.data());
    gl_->glBindBuffer(GL_ARRAY_BUFFER, 0);
    surface_.DoneCurrent();
    return vertices;
}

QByteArray ToolpathView::Renderer::Svg() {
    const std::vector<PathVertex> vertices = ReadVertices();
    SvgScene scene;
    scene.size = camera_.Viewport();
    scene.matrix = camera_.Matrix();
    scene.vertices = &vertices;
    if (highlightEnd_ > highlightFirst_) {
        scene.highlightFirst = firstVertex_[highlightFirst_];
        scene.highlightEnd = firstVertex_[highlightEnd_];
    }
    scene.byTool = byTool_;
    scene.colours = ColoursFor(view_.palette());
    scene.overlay = Overlay();
    return WriteSvg(scene);
}

std::size_t ToolpathView::Renderer::BytesHeld() const {
    return (pendingFull_.capacity() + pendingSimple_.capacity() + full_.count + simple_.count +
            fine_.count) *
               sizeof(PathVertex) +
           firstVertex_.capacity() * sizeof(std::uint32_t) + fullChunks_.BytesHeld() +
           simpleStrips_.capacity() * sizeof(Strip) + arcs_.BytesHeld() +
           problems_.capacity() * sizeof(problems_[0]);
}

}  // namespace qm
