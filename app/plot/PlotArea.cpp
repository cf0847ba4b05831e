#include "plot/PlotArea.h"

#include "plot/PolylineThinning.h"

#include <QPaintEvent>
#include <QPainter>
#include <QtMath>

PlotArea::PlotArea(const QColor& background, QWidget* parent) : QWidget(parent) {
    QPalette p = palette();
    p.setColor(QPalette::Window, background);
    setPalette(p);
    setAttribute(Qt::WA_OpaquePaintEvent);  // paintEvent fills every pixel itself
}

// Marks the drawing as changed; one repaint is scheduled however many segments follow.
void PlotArea::changed() {
    if (!strokesValid_) return;
    strokesValid_ = false;
    update();
}

void PlotArea::clear() {
    segments_.clear();
    scales_.clear();
    changed();
}

void PlotArea::setScale(double x1, double y1, double x2, double y2) {
    scales_.push_back(ScaleMark{PlotScale{x1, y1, x2, y2}, segments_.size()});
    changed();
}

void PlotArea::line(float x1, float y1, float x2, float y2, QRgb colour) {
    if (scales_.empty()) scales_.push_back(ScaleMark{PlotScale{}, 0});
    segments_.push_back(PlotSegment{x1, y1, x2, y2, colour});
    changed();
}

std::vector<PlotArea::Batch> PlotArea::batches() const {
    std::vector<Batch> out;
    for (std::size_t k = 0; k < scales_.size(); ++k) {
        const std::size_t end = k + 1 < scales_.size() ? scales_[k + 1].firstSegment : segments_.size();
        out.push_back(
            Batch{scales_[k].scale,
                  std::vector<PlotSegment>(segments_.begin() + static_cast<std::ptrdiff_t>(scales_[k].firstSegment),
                                           segments_.begin() + static_cast<std::ptrdiff_t>(end))});
    }
    return out;
}

std::vector<PlotStroke> PlotArea::strokes(QSize size, double ratio) const {
    std::vector<PlotStroke> out;
    const double w = size.width() * ratio, h = size.height() * ratio;
    PolylineThinner thinner;
    for (std::size_t k = 0; k < scales_.size(); ++k) {
        const PlotScale& sc = scales_[k].scale;
        const std::size_t end = k + 1 < scales_.size() ? scales_[k + 1].firstSegment : segments_.size();
        const double sx = w / (sc.x2 - sc.x1), sy = h / (sc.y2 - sc.y1);
        auto map = [&](float x, float y) { return QPointF((x - sc.x1) * sx, (y - sc.y1) * sy); };
        const PlotSegment* previous = nullptr;
        for (std::size_t i = scales_[k].firstSegment; i < end; ++i) {
            const PlotSegment& s = segments_[i];
            const bool continues =
                previous && previous->colour == s.colour && previous->x2 == s.x1 && previous->y2 == s.y1;
            if (!continues) {
                if (previous) out.back().points = thinner.finish();
                out.push_back(PlotStroke{s.colour, {}});
                thinner.add(map(s.x1, s.y1));
            }
            thinner.add(map(s.x2, s.y2));
            previous = &s;
        }
        if (previous) out.back().points = thinner.finish();
    }
    return out;
}

// A stroke of one horizontal or vertical segment: the axis lines.
static bool isAxisParallel(const QVector<QPointF>& points) {
    return points.size() == 2 && (points[0].x() == points[1].x() || points[0].y() == points[1].y());
}

// The device pixels of a horizontal or vertical segment drawn `thickness` pixels wide: whole
// pixels centred on the segment, from the pixel holding one end to the pixel holding the other,
// so the line shows crisp in its exact colour.
static QRect axisPixels(QPointF a, QPointF b, int thickness) {
    const double half = thickness / 2.0;
    if (a.y() == b.y()) {
        const int left = qFloor(qMin(a.x(), b.x())), right = qFloor(qMax(a.x(), b.x()));
        return QRect(left, qRound(a.y() - half), right - left + 1, thickness);
    }
    const int top = qFloor(qMin(a.y(), b.y())), bottom = qFloor(qMax(a.y(), b.y()));
    return QRect(qRound(a.x() - half), top, thickness, bottom - top + 1);
}

void PlotArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    const double ratio = painter.device()->devicePixelRatioF();
    if (!strokesValid_ || strokesSize_ != size() || strokesRatio_ != ratio) {
        strokes_ = strokes(size(), ratio);
        strokesSize_ = size();
        strokesRatio_ = ratio;
        strokesValid_ = true;
    }
    painter.save();
    painter.scale(1.0 / ratio, 1.0 / ratio);       // strokes are in device pixels
    const int thickness = qMax(1, qRound(ratio));  // one logical pixel in whole device pixels
    for (const PlotStroke& s : strokes_) {
        if (isAxisParallel(s.points)) {
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.fillRect(axisPixels(s.points[0], s.points[1], thickness), QColor::fromRgb(s.colour));
            continue;
        }
        painter.setRenderHint(QPainter::Antialiasing);
        QPen pen(QColor::fromRgb(s.colour));
        pen.setWidthF(ratio);  // one logical pixel
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        if (s.points.size() == 1) painter.drawPoint(s.points[0]);
        else painter.drawPolyline(s.points.constData(), static_cast<int>(s.points.size()));
    }
    painter.restore();

    // The keyboard focus: a dotted frame one pixel inside the edge, as around a focused control.
    if (hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        QPen pen(QColor::fromRgb(FocusFrameColour), 1, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}
