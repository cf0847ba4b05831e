#include "PlotArea.h"

#include "PolylineThinning.h"

#include <QPaintEvent>
#include <QPainter>

PlotArea::PlotArea(const QColor& background, QWidget* parent) : QWidget(parent) {
    QPalette p = palette();
    p.setColor(QPalette::Window, background);
    setPalette(p);
    setAutoFillBackground(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// Marks the drawing as changed; one repaint is scheduled however many segments follow.
void PlotArea::changed() {
    if (!strokesValid_) return;
    strokesValid_ = false;
    update();
}

void PlotArea::clear() {
    batches_.clear();
    changed();
}

void PlotArea::setScale(double x1, double y1, double x2, double y2) {
    batches_.push_back(Batch{PlotScale{x1, y1, x2, y2}, {}});
    changed();
}

void PlotArea::line(float x1, float y1, float x2, float y2, QRgb colour) {
    if (batches_.empty()) batches_.push_back(Batch{});
    batches_.back().segments.push_back(PlotSegment{x1, y1, x2, y2, colour});
    changed();
}

std::size_t PlotArea::segmentCount() const {
    std::size_t n = 0;
    for (const Batch& b : batches_) n += b.segments.size();
    return n;
}

// Joins consecutive segments of one colour that meet end to start into strokes, maps them to
// device pixels and thins long strokes to what the pixel columns can show.
void PlotArea::buildStrokes(double ratio) {
    strokes_.clear();
    const double w = width() * ratio, h = height() * ratio;
    for (const Batch& b : batches_) {
        const double sx = w / (b.scale.x2 - b.scale.x1), sy = h / (b.scale.y2 - b.scale.y1);
        auto map = [&](float x, float y) { return QPointF((x - b.scale.x1) * sx, (y - b.scale.y1) * sy); };
        const PlotSegment* previous = nullptr;
        for (const PlotSegment& s : b.segments) {
            const bool continues = previous && previous->colour == s.colour && previous->x2 == s.x1 && previous->y2 == s.y1;
            if (!continues) {
                strokes_.push_back(Stroke{s.colour, {map(s.x1, s.y1)}});
            }
            strokes_.back().points.append(map(s.x2, s.y2));
            previous = &s;
        }
    }
    for (Stroke& s : strokes_) s.points = thinPolyline(s.points);
    strokesSize_ = size();
    strokesRatio_ = ratio;
    strokesValid_ = true;
}

void PlotArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    const double ratio = devicePixelRatioF();
    if (!strokesValid_ || strokesSize_ != size() || strokesRatio_ != ratio) buildStrokes(ratio);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(1.0 / ratio, 1.0 / ratio);  // strokes are in device pixels
    for (const Stroke& s : strokes_) {
        QPen pen(QColor::fromRgb(s.colour));
        pen.setWidthF(ratio);  // one logical pixel
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        if (s.points.size() == 1) painter.drawPoint(s.points[0]);
        else painter.drawPolyline(s.points.constData(), static_cast<int>(s.points.size()));
    }
}
