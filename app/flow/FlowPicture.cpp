#include "flow/FlowPicture.h"

#include "plot/Axes.h"
#include "solver/flow/FlowDetail.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Arrows: one per this many logical pixels, the free stream's speed this long.
constexpr double ArrowSpacing = 40, ArrowUnit = 22;
// The streamlines and the outline are refined to points this many logical pixels apart.
constexpr double LineDetail = 3, OutlineDetail = 1.5;
// Farther out than this, a pixel coordinate is pinned: the painter gets no absurd numbers at a
// deep zoom, and what is pinned lies far outside the view.
constexpr double FarPixels = 1e5;

orvek::Extent boxOf(const FlowScene& s) {
    const QRectF e = s.view.extent(s.size);
    return {e.left(), e.right(), e.top(), e.bottom()};
}

}  // namespace

QColor FlowPicture::streamlineColour(bool dividing, bool overColours) {
    if (dividing) return QColor(235, 70, 20);
    return overColours ? QColor(255, 255, 255, 215) : QColor(40, 40, 40);
}

QColor FlowPicture::bodyColour() { return QColor(205, 205, 205); }
QColor FlowPicture::displacementColour() { return QColor(220, 0, 140); }

void FlowPicture::compute(const orvek::FlowField& field, const FlowScene& scene) {
    scene_ = scene;
    scene_.size = scene.size.expandedTo(QSize(1, 1));
    const orvek::Extent box = boxOf(scene_);
    // The plane length the refinement counts in: a pixel, or more for a preview.
    const double unit = scene_.view.scale * std::max(1.0, scene_.coarseness);

    colours_ = QImage();
    if (scene_.layers.colours) computeColours(field);

    lines_.clear();
    if (scene_.layers.streamlines) {
        orvek::StreamlineRequest request;
        request.extent = box;
        request.count = scene_.lineCount;
        request.plane = scene_.plane;
        request.spacing = LineDetail * unit;  // refined to that below; no finer than the core's own
        orvek::Expected<std::vector<orvek::Streamline>> lines = orvek::streamlines(field, request);
        if (lines) lines_ = std::move(*lines);
        for (orvek::Streamline& line : lines_)
            orvek::refineStreamline(field, scene_.plane, line, LineDetail * unit, box);
    }

    body_.clear();
    if (scene_.layers.body) body_ = orvek::bodyOutlineInView(field, scene_.plane, OutlineDetail * unit, box);

    stagnation_.clear();
    if (scene_.layers.stagnation) stagnation_ = field.stagnationPoints(scene_.plane);

    arrows_.clear();
    if (scene_.layers.arrows) computeArrows(field);
}

void FlowPicture::computeColours(const orvek::FlowField& field) {
    const double density = std::max(0.05, scene_.density);
    const int nx = std::max(1, static_cast<int>(std::ceil(scene_.size.width() * density)));
    const int ny = std::max(1, static_cast<int>(std::ceil(scene_.size.height() * density)));
    const auto n = static_cast<std::size_t>(nx) * static_cast<std::size_t>(ny);
    grid_.resize(n);
    const bool circle = scene_.plane == orvek::StreamPlane::Circle;
    const orvek::FlowPoint c = field.centre();
    const double R2 = field.radius() * field.radius();
    constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
    std::vector<bool> insideCircle(circle ? n : 0);
    // The grid point (i, j) lies at the middle of its cell: (i + 1/2) / density logical pixels.
    const QPointF first = scene_.view.toPlane(QPointF(0.5 / density, 0.5 / density), scene_.size);
    const double step = scene_.view.scale / density;
    for (int j = 0; j < ny; ++j) {
        const double py = first.y() - j * step;
        for (int i = 0; i < nx; ++i) {
            const auto k = static_cast<std::size_t>(j) * static_cast<std::size_t>(nx) + static_cast<std::size_t>(i);
            const double px = first.x() + i * step;
            if (!circle) {
                grid_.x[k] = px;
                grid_.y[k] = py;
                continue;
            }
            // The circle plane: each point stands for its image in the airfoil plane.
            const double dx = px - c.x, dy = py - c.y;
            if (dx * dx + dy * dy < R2) {
                insideCircle[k] = true;
                grid_.x[k] = 0.5;  // any point; its values are not used
                grid_.y[k] = 0;
                continue;
            }
            const orvek::FlowPoint z = field.toAirfoil(px - 1.0, py);
            grid_.x[k] = z.x;
            grid_.y[k] = z.y;
        }
    }
    field.evaluate(grid_.run());
    if (circle) {
        for (std::size_t k = 0; k < n; ++k) {
            if (insideCircle[k]) grid_.cp[k] = NaN;
        }
    }

    scale_ = scene_.layers.fitScale ? CpScale::fittedTo(grid_.cp.data(), n) : CpScale{};
    colours_ = QImage(nx, ny, QImage::Format_ARGB32_Premultiplied);
    const QRgb* table = viridisTable();
    const double top = ViridisSize - 1, perCp = top / (scale_.hi - scale_.lo);
    for (int j = 0; j < ny; ++j) {
        auto* row = reinterpret_cast<QRgb*>(colours_.scanLine(j));
        const double* cp = &grid_.cp[static_cast<std::size_t>(j) * static_cast<std::size_t>(nx)];
        for (int i = 0; i < nx; ++i) {
            // As CpScale::colour, by one look-up: a NaN (inside the body) is left transparent.
            // t is the table position plus a half, so truncating rounds to the nearest entry.
            const double t = (cp[i] - scale_.lo) * perCp + 0.5;
            row[i] = std::isnan(t) ? qRgba(0, 0, 0, 0) : table[static_cast<int>(std::clamp(t, 0.5, top + 0.5))];
        }
    }
}

void FlowPicture::computeArrows(const orvek::FlowField& field) {
    const bool circle = scene_.plane == orvek::StreamPlane::Circle;
    // The circle plane's free stream has the speed b (far away z is about b zeta).
    const double unit = circle ? field.mappingScale() : 1.0;
    for (double py = ArrowSpacing / 2; py < scene_.size.height(); py += ArrowSpacing) {
        for (double px = ArrowSpacing / 2; px < scene_.size.width(); px += ArrowSpacing) {
            const QPointF p = scene_.view.toPlane(QPointF(px, py), scene_.size);
            const orvek::FlowValues f = circle ? field.atCircle({p.x(), p.y()}) : field.at({p.x(), p.y()});
            if (f.inside || !std::isfinite(f.u) || !std::isfinite(f.v)) continue;
            arrows_.push_back(Arrow{p, QPointF(f.u / unit, f.v / unit)});
        }
    }
}

void FlowPicture::paint(QPainter& painter) const {
    const FlowScene& s = scene_;
    const QRectF area(QPointF(0, 0), QSizeF(s.size));
    const auto pixel = [&](const orvek::FlowPoint& p) {
        const QPointF q = s.view.toPixel(QPointF(p.x, p.y), s.size);
        return QPointF(std::clamp(q.x(), -FarPixels, FarPixels), std::clamp(q.y(), -FarPixels, FarPixels));
    };
    const bool overColours = s.layers.colours && !colours_.isNull();

    painter.save();
    painter.setClipRect(area);
    painter.fillRect(area, Qt::white);
    if (overColours) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QRectF(0, 0, colours_.width() / s.density, colours_.height() / s.density), colours_);
    }
    painter.setRenderHint(QPainter::Antialiasing);

    // The ordinary lines first, the dividing streamline over them.
    for (int pass = 0; pass < 2; ++pass) {
        for (const orvek::Streamline& line : lines_) {
            if (line.dividing != (pass == 1) || line.points.size() < 2) continue;
            QPainterPath path;
            path.moveTo(pixel(line.points.front()));
            for (std::size_t k = 1; k < line.points.size(); ++k) path.lineTo(pixel(line.points[k]));
            painter.setPen(QPen(streamlineColour(line.dividing, overColours), line.dividing ? 2.2 : 1.0));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(path);
        }
    }

    // Over the streamlines, dark on a light halo: seen over white lines and dark colours alike.
    paintArrows(painter);

    if (body_.size() > 2) {
        QPolygonF outline;
        outline.reserve(static_cast<qsizetype>(body_.size()));
        for (const orvek::FlowPoint& p : body_) outline << pixel(p);
        painter.setPen(QPen(Qt::black, 1.0));
        painter.setBrush(bodyColour());
        painter.drawPolygon(outline);
    }

    if (s.plane == orvek::StreamPlane::Airfoil) paintOverlay(painter);

    for (const orvek::FlowPoint& p : stagnation_) {
        painter.setPen(QPen(Qt::black, 1.5));
        painter.setBrush(Qt::white);
        painter.drawEllipse(pixel(p), 4.5, 4.5);
    }

    if (overColours) paintColourBar(painter);
    painter.restore();
}

void FlowPicture::paintArrows(QPainter& painter) const {
    const FlowScene& s = scene_;
    QPainterPath path;
    for (const Arrow& a : arrows_) {
        const QPointF from = s.view.toPixel(a.at, s.size);
        // The pixel's y points down; arrows longer than 1.6 free streams are cut.
        QPointF d(a.velocity.x() * ArrowUnit, -a.velocity.y() * ArrowUnit);
        const double length = std::hypot(d.x(), d.y());
        if (length < 0.5) continue;
        if (length > 1.6 * ArrowUnit) d *= 1.6 * ArrowUnit / length;
        const QPointF tip = from + d, unit = d / std::hypot(d.x(), d.y());
        const QPointF across(-unit.y(), unit.x());
        path.moveTo(from);
        path.lineTo(tip);
        path.moveTo(tip - 5 * unit + 3 * across);
        path.lineTo(tip);
        path.lineTo(tip - 5 * unit - 3 * across);
    }
    if (path.isEmpty()) return;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 220), 3.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.setPen(QPen(QColor(20, 20, 20), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
}

void FlowPicture::paintOverlay(QPainter& painter) const {
    const FlowScene& s = scene_;
    const LayerOverlay& o = s.overlay;
    if (o.empty()) return;
    const auto pixel = [&](QPointF p) {
        const QPointF q = s.view.toPixel(p, s.size);
        return QPointF(std::clamp(q.x(), -FarPixels, FarPixels), std::clamp(q.y(), -FarPixels, FarPixels));
    };
    // The displacement surface dashed over the body's outline, seen on the colours and the grey
    // alike; past separation, where it means nothing, dotted and faint.
    for (qsizetype k = 0; k < o.displacement.size(); ++k) {
        const QVector<QPointF>& side = o.displacement[k];
        const qsizetype separated = std::min(side.size(), o.separatedFrom.value(k, side.size()));
        for (const bool attached : {true, false}) {
            const qsizetype from = attached ? 0 : std::max<qsizetype>(0, separated - 1);
            const qsizetype to = attached ? separated : side.size();
            if (to - from < 2) continue;
            QPainterPath path;
            path.moveTo(pixel(side[from]));
            for (qsizetype j = from + 1; j < to; ++j) path.lineTo(pixel(side[j]));
            painter.setBrush(Qt::NoBrush);
            if (attached) {
                painter.setPen(QPen(QColor(255, 255, 255, 200), 3.2));
                painter.drawPath(path);
            }
            QColor colour = displacementColour();
            if (!attached) colour.setAlpha(130);
            painter.setPen(QPen(colour, attached ? 1.6 : 1.2, attached ? Qt::DashLine : Qt::DotLine));
            painter.drawPath(path);
        }
    }
    const QFontMetricsF metrics(painter.font(), painter.device());
    QVector<QRectF> placed;  // labels so far: the next moves further out rather than cover one
    for (const LayerPlace& place : o.places) {
        const QPointF at = pixel(place.at);
        const QColor colour = place.kind == LayerPlace::Kind::Separation ? QColor(200, 0, 0)
                              : place.kind == LayerPlace::Kind::Bubble  ? QColor(150, 110, 0)
                                                                         : QColor(0, 120, 60);
        painter.setPen(QPen(Qt::white, 1.5));
        painter.setBrush(colour);
        painter.drawEllipse(at, 4.5, 4.5);
        const bool below = place.surface == orvek::Surface::Lower;
        const double w = metrics.horizontalAdvance(place.label), h = metrics.height();
        QRectF box(at.x() - w / 2 - 3, below ? at.y() + 7 : at.y() - 7 - h, w + 6, h);
        for (int k = 0; k < 6 && std::any_of(placed.begin(), placed.end(), [&](const QRectF& r) { return r.intersects(box); }); ++k) {
            box.translate(0, below ? h + 1 : -(h + 1));
        }
        placed.push_back(box);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 215));
        painter.drawRoundedRect(box, 3, 3);
        painter.setPen(colour.darker(120));
        painter.drawText(box, Qt::AlignCenter, place.label);
    }
}

void FlowPicture::paintColourBar(QPainter& painter) const {
    const QSize size = scene_.size;
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double line = metrics.height();
    const double barHeight = std::min(180.0, size.height() - 3 * line - 16);
    if (barHeight < 40) return;
    const QLocale locale;
    // the fixed scale at whole numbers, a fitted one at nice steps
    const double step = scale_.fitted ? axes::niceStep(scale_.hi - scale_.lo, 4) : 1.0;
    const std::vector<double> marks = axes::ticks(scale_.lo, scale_.hi, step);
    double labelWidth = 0;
    for (const double v : marks) labelWidth = std::max(labelWidth, metrics.horizontalAdvance(axes::tickLabel(v, step, locale)));
    const double barWidth = 14;
    const QString title = scale_.fitted ? QStringLiteral("Cp in view") : QStringLiteral("Cp");
    const double panelWidth = std::max(barWidth + labelWidth + 20, metrics.horizontalAdvance(title) + 12);
    const QRectF panel(size.width() - (panelWidth + 6), 6, panelWidth, barHeight + 2 * line + 12);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 215));
    painter.drawRoundedRect(panel, 4, 4);
    const QRectF bar(panel.left() + 6, panel.top() + line + 10, barWidth, barHeight);
    // Cp = 1 (bright) at the top, the strongest suction shown at the bottom.
    for (int k = 0; k < static_cast<int>(bar.height()); ++k) {
        const double cp = scale_.hi - (k + 0.5) / bar.height() * (scale_.hi - scale_.lo);
        painter.fillRect(QRectF(bar.left(), bar.top() + k, bar.width(), 1.0), QColor(scale_.colour(cp)));
    }
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar);
    painter.drawText(QRectF(panel.left(), panel.top() + 3, panel.width(), line), Qt::AlignCenter, title);
    for (const double v : marks) {
        const double y = bar.top() + (scale_.hi - v) / (scale_.hi - scale_.lo) * bar.height();
        painter.drawLine(QPointF(bar.right(), y), QPointF(bar.right() + 3, y));
        painter.drawText(QRectF(bar.right() + 6, y - line / 2, labelWidth + 4, line), Qt::AlignLeft | Qt::AlignVCenter,
                         axes::tickLabel(v, step, locale));
    }
}
