#include "SvgPicture.h"

#include <cmath>

namespace qm {
namespace {

QByteArray Number(double value) { return QByteArray::number(value, 'f', 1); }

QByteArray Colour(const QColor& colour) { return colour.name(QColor::HexRgb).toLatin1(); }

QByteArray Escaped(const QString& text) { return text.toHtmlEscaped().toUtf8(); }

class PolylineWriter {
  public:
    explicit PolylineWriter(QByteArray& out) : out_(out) {}

    void Start(QPointF from, const QByteArray& attributes) {
        Flush();
        attributes_ = attributes;
        points_ = Number(from.x()) + ',' + Number(from.y());
        last_ = from;
        pending_.reset();
    }
    void Add(QPointF to) {
        // Shorter than half a pixel from the last point written: held back until a later
        // point is far enough, or the polyline ends.
        if (std::hypot(to.x() - last_.x(), to.y() - last_.y()) < 0.5) {
            pending_ = to;
            return;
        }
        Append(to);
    }
    void Flush() {
        if (pending_) Append(*pending_);
        if (written_ > 0)
            out_ += "<polyline fill=\"none\" " + attributes_ + " points=\"" + points_ + "\"/>\n";
        written_ = 0;
        pending_.reset();
        points_.clear();
    }

  private:
    void Append(QPointF to) {
        points_ += ' ' + Number(to.x()) + ',' + Number(to.y());
        last_ = to;
        pending_.reset();
        ++written_;
    }
    QByteArray& out_;
    QByteArray attributes_, points_;
    QPointF last_;
    std::optional<QPointF> pending_;
    int written_ = 0;
};

QByteArray AttributesOf(const QColor& colour, bool dashed, double width) {
    QByteArray a = "stroke=\"" + Colour(colour) + "\" stroke-width=\"" + Number(width) + '"';
    if (dashed) a += " stroke-dasharray=\"4 4\"";
    return a;
}

// A segment wholly beyond one side of the picture.
bool Outside(QPointF a, QPointF b, QSize size) {
    return (a.x() < 0 && b.x() < 0) || (a.y() < 0 && b.y() < 0) ||
           (a.x() > size.width() && b.x() > size.width()) ||
           (a.y() > size.height() && b.y() > size.height());
}

void WritePath(QByteArray& out, const SvgScene& scene, std::uint32_t first, std::uint32_t end,
               bool lit) {
    const std::vector<PathVertex>& v = *scene.vertices;
    const auto project = [&](const PathVertex& p) {
        const QVector3D ndc = scene.matrix.map(QVector3D(p.x, p.y, p.z));
        return QPointF((ndc.x() + 1) / 2 * scene.size.width(),
                       (1 - ndc.y()) / 2 * scene.size.height());
    };
    PolylineWriter writer(out);
    bool open = false;
    std::uint32_t style = 0;
    QPointF from = project(v[first == 0 ? 0 : first - 1]);
    for (std::uint32_t i = std::max<std::uint32_t>(first, 1); i < end && i < v.size(); ++i) {
        const QPointF to = project(v[i]);
        if (Outside(from, to, scene.size)) {
            writer.Flush();
            open = false;
        } else {
            if (!open || v[i].style != style) {
                style = v[i].style;
                const bool rapid = KindOfStyle(style) == interp::MoveKind::Rapid;
                writer.Start(from, lit ? AttributesOf(scene.colours.highlight, false, 3)
                                       : AttributesOf(scene.colours.Of(style, scene.byTool), rapid, 1));
                open = true;
            }
            writer.Add(to);
        }
        from = to;
    }
    writer.Flush();
}

}  // namespace

QByteArray WriteSvg(const SvgScene& scene) {
    const QByteArray w = QByteArray::number(scene.size.width());
    const QByteArray h = QByteArray::number(scene.size.height());
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
                     "\" viewBox=\"0 0 " + w + ' ' + h + "\">\n";
    out += "<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"" +
           Colour(scene.colours.background) + "\"/>\n";
    const PathOverlay& overlay = scene.overlay;
    for (const QLineF& edge : overlay.box)
        out += "<line x1=\"" + Number(edge.x1()) + "\" y1=\"" + Number(edge.y1()) + "\" x2=\"" +
               Number(edge.x2()) + "\" y2=\"" + Number(edge.y2()) + "\" stroke=\"" +
               Colour(scene.colours.box) + "\" stroke-dasharray=\"1 2\"/>\n";
    if (scene.vertices != nullptr && scene.vertices->size() > 1) {
        WritePath(out, scene, 1, std::uint32_t(scene.vertices->size()), false);
        if (scene.highlightEnd > scene.highlightFirst)
            WritePath(out, scene, scene.highlightFirst, scene.highlightEnd, true);
    }
    const auto cross = [&](QPointF at, double size, const QColor& colour) {
        out += "<path fill=\"none\" stroke-width=\"2\" stroke=\"" + Colour(colour) + "\" d=\"M" +
               Number(at.x() - size) + ' ' + Number(at.y() - size) + "L" + Number(at.x() + size) +
               ' ' + Number(at.y() + size) + "M" + Number(at.x() - size) + ' ' +
               Number(at.y() + size) + "L" + Number(at.x() + size) + ' ' + Number(at.y() - size) +
               "\"/>\n";
    };
    for (const QPointF& at : overlay.problems) cross(at, kMarkSize, scene.colours.problem);
    if (overlay.tool) cross(*overlay.tool, kMarkSize * 1.5, scene.colours.tool);
    if (!overlay.sizes.isEmpty())
        out += "<text x=\"" + QByteArray::number(kOverlayMargin) + "\" y=\"" +
               QByteArray::number(scene.size.height() - kOverlayMargin) +
               "\" font-family=\"sans-serif\" font-size=\"12\" fill=\"" +
               Colour(scene.colours.text) + "\">" + Escaped(overlay.sizes) + "</text>\n";
    out += "</svg>\n";
    return out;
}

}  // namespace qm
