#include "PathRenderer.h"

#include <QOpenGLContext>
#include <QOpenGLPaintDevice>
#include <QOpenGLVersionFunctionsFactory>
#include <QPainter>
#include <QTimer>

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
    DropOverviewJob();
    if (firstOverview_.valid())
        firstOverview_.wait();  // it reads pendingFull_
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

// Mesa's software renderer makes the machine code for each way of drawing when it first draws
// that way: the first frame that showed a path waited 40-55 ms for the code that copies the
// scene's picture to the window. The window's first frame, with no path yet, draws a speck
// each way the path is drawn, under the clear that follows.
void ToolpathView::Renderer::WarmUp() {
    const std::uint32_t feed = std::uint32_t(interp::MoveKind::Feed);
    std::vector<PathVertex> speck = {{0, 0, 0, 1, feed}, {1, 1, 0, 1, feed}};
    Buffer buffer;
    Upload(buffer, speck);
    const QSize device = DeviceSize();
    const GLuint window = surface_.Context()->defaultFramebufferObject();
    FitFramebuffer(sceneBuffer_, device);
    const auto draw = [&](GLuint framebuffer, int mode) {
        gl_->glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        gl_->glViewport(0, 0, device.width(), device.height());
        if (mode != 2)
            gl_->glEnable(GL_DEPTH_TEST);
        gl_->glLineWidth(mode == 2 ? 3 : 1);
        program_->bind();
        gl_->glBindVertexArray(vao_);
        SetUniforms(QMatrix4x4(), mode, device);
        DrawStrips(buffer, {{0, 2}});
        gl_->glBindVertexArray(0);
        program_->release();
        gl_->glDisable(GL_DEPTH_TEST);
        gl_->glLineWidth(1);
    };
    draw(sceneBuffer_->handle(), 0);
    draw(sceneBuffer_->handle(), 1);
    gl_->glBindFramebuffer(GL_READ_FRAMEBUFFER, sceneBuffer_->handle());
    gl_->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, window);
    gl_->glBlitFramebuffer(0, 0, device.width(), device.height(), 0, 0, device.width(),
                           device.height(), GL_COLOR_BUFFER_BIT, GL_NEAREST);
    draw(window, 2);
    gl_->glFinish();  // the code is made as the drawing is done
    gl_->glBindBuffer(GL_ARRAY_BUFFER, 0);
    gl_->glDeleteBuffers(1, &buffer.id);
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
    buffer.count = buffer.capacity = vertices.size();
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

// The path with depth, as the scene's picture and the ID picture both draw it: in the
// path's colours, or (pick) in each segment's line number.
void ToolpathView::Renderer::DrawPathInDepth(const QMatrix4x4& matrix, bool pick, QSize viewport) {
    gl_->glEnable(GL_DEPTH_TEST);
    gl_->glDepthFunc(GL_LEQUAL);
    program_->bind();
    gl_->glBindVertexArray(vao_);
    SetUniforms(matrix, pick ? 1 : 0, viewport);
    DrawPath(matrix, pick);
    gl_->glBindVertexArray(0);
    program_->release();
    gl_->glDisable(GL_DEPTH_TEST);
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
    DrawPathInDepth(matrix, false, device);
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
    if (target == nullptr && !warmedUp_ && !HasPath()) {
        WarmUp();
        warmedUp_ = true;
    }
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
    UploadPath();
    TakeFirstOverview();
    std::vector<PathVertex>().swap(pendingFull_);
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
    DrawPathInDepth(narrowed, true, device);
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
    return (pendingFull_.capacity() + pendingSimple_.capacity() + full_.capacity + simple_.count +
            fine_.count) *
               sizeof(PathVertex) +
           firstVertex_.capacity() * sizeof(std::uint32_t) + fullChunks_.BytesHeld() +
           simpleStrips_.capacity() * sizeof(Strip) + overview_.BytesHeld() + arcs_.BytesHeld() +
           problems_.capacity() * sizeof(problems_[0]);
}

}  // namespace qm
