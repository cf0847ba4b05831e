#include "plot/Chart.h"

#include "plot/PolylineThinning.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

// The radius of the dots a curve may carry at its points.
constexpr double DotRadius = 2.0;

void drawDot(QPainter& painter, QPointF at, Chart::Dots dots, const QColor& colour, const QColor& base) {
    if (dots == Chart::Dots::None) return;
    painter.setPen(QPen(colour, 1.0));
    painter.setBrush(dots == Chart::Dots::Filled ? QBrush(colour) : QBrush(base));
    painter.drawEllipse(at, DotRadius, DotRadius);
    painter.setBrush(Qt::NoBrush);
}

}  // namespace

Chart::Chart(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void Chart::setAxisTitles(const QString& x, const QString& y, const QString& right) {
    xTitle_ = x;
    yTitle_ = y;
    rightTitle_ = right;
    update();
}

void Chart::setCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void Chart::setEqualAspect(bool equal) {
    equalAspect_ = equal;
    update();
}

void Chart::setLegendLines(bool lines) {
    legendLines_ = lines;
    update();
}

void Chart::setYRange(double lo, double hi) {
    fixedY_ = true;
    yLo_ = lo;
    yHi_ = hi;
    update();
}

double Chart::legendEntryWidth(const Curve& c, const QFontMetricsF& metrics) const {
    return 28 + metrics.horizontalAdvance(c.name) + 14;
}

void Chart::setXRange(double lo, double hi) {
    fixedX_ = true;
    xLo_ = lo;
    xHi_ = hi;
    update();
}

void Chart::setCurves(QVector<Curve> curves, QVector<Mark> marks) {
    curves_ = std::move(curves);
    marks_ = std::move(marks);
    update();
}

void Chart::setMarkers(QVector<Marker> markers) {
    markers_ = std::move(markers);
    update();
}

QRectF Chart::shownRange() const {
    const Layout l = layout(size(), QFontMetricsF(font()));
    return QRectF(QPointF(l.x.lo, l.y.lo), QPointF(l.x.hi, l.y.hi));
}

QRectF Chart::legendRect() const {
    const QFontMetricsF metrics(font());
    return legendBox(layout(size(), metrics), metrics);
}

QRectF Chart::legendBox(const Layout& l, const QFontMetricsF& metrics) const {
    double width = 0;
    int lines = 0;
    for (const Curve& c : curves_) {
        if (c.name.isEmpty()) continue;
        width = std::max(width, metrics.horizontalAdvance(c.name));
        ++lines;
    }
    if (lines == 0 || legendLines_) return {};
    const QRectF& a = l.area;
    const QSizeF box(width + 10, lines * metrics.height() + 4);
    const QRectF corners[] = {
        QRectF(QPointF(a.right() - box.width() - 2, a.top() + 2), box),
        QRectF(QPointF(a.left() + 2, a.top() + 2), box),
        QRectF(QPointF(a.right() - box.width() - 2, a.bottom() - box.height() - 2), box),
        QRectF(QPointF(a.left() + 2, a.bottom() - box.height() - 2), box),
    };
    // Curve points under each corner, each curve sampled at no more than about 4000 points.
    std::array<qsizetype, 4> covered{};
    for (const Curve& c : curves_) {
        if (!c.fit) continue;  // what fills the view is no curve to keep clear of
        const axes::Range& yr = c.rightAxis ? l.right : l.y;
        const qsizetype stride = std::max<qsizetype>(1, c.points.size() / 4000);
        for (qsizetype k = 0; k < c.points.size(); k += stride) {
            const QPointF& p = c.points[k];
            const QPointF px(a.left() + (p.x() - l.x.lo) / (l.x.hi - l.x.lo) * a.width(),
                             a.bottom() - (p.y() - yr.lo) / (yr.hi - yr.lo) * a.height());
            for (std::size_t j = 0; j < covered.size(); ++j) {
                if (corners[j].contains(px)) covered[j] += stride;
            }
        }
    }
    const auto best = std::min_element(covered.begin(), covered.end());
    return corners[best - covered.begin()];
}

QRectF Chart::plotArea(const QSize& size) const { return layout(size, QFontMetricsF(font())).area; }

QVector<QRectF> Chart::legendEntries(const QSize& size) const {
    const QFontMetricsF metrics(font());
    const Layout l = layout(size, metrics);
    const double line = metrics.height();
    QVector<QRectF> out;
    double rowY = l.area.bottom() + 4 + line + 2 + line + 2;
    for (const QVector<int>& row : l.legendRows) {
        double x = 4;
        for (const int k : row) {
            const double w = legendEntryWidth(curves_[k], metrics);
            out.push_back(QRectF(x, rowY, w - 14, line));
            x += w;
        }
        rowY += line;
    }
    return out;
}

Chart::Layout Chart::layout(const QSize& size, const QFontMetricsF& metrics) const {
    constexpr double Infinity = std::numeric_limits<double>::infinity();
    double xlo = Infinity, xhi = -Infinity, ylo = Infinity, yhi = -Infinity, rlo = Infinity, rhi = -Infinity;
    bool hasRight = false;
    for (const Curve& c : curves_) {
        hasRight = hasRight || c.rightAxis;
        if (!c.fit) continue;
        double& lo = c.rightAxis ? rlo : ylo;
        double& hi = c.rightAxis ? rhi : yhi;
        for (const QPointF& p : c.points) {
            if (!std::isfinite(p.x()) || !std::isfinite(p.y())) continue;
            xlo = std::min(xlo, p.x());
            xhi = std::max(xhi, p.x());
            lo = std::min(lo, p.y());
            hi = std::max(hi, p.y());
        }
    }
    for (const Mark& m : marks_) {
        if (!std::isfinite(m.x)) continue;
        xlo = std::min(xlo, m.x);
        xhi = std::max(xhi, m.x);
    }
    if (fixedX_) {
        xlo = xLo_;
        xhi = xHi_;
    }
    if (fixedY_) {
        ylo = yLo_;
        yhi = yHi_;
    }
    if (xlo > xhi) xlo = 0, xhi = 1;
    if (ylo > yhi) ylo = 0, yhi = 1;
    if (rlo > rhi) rlo = 0, rhi = 1;

    Layout l;
    l.x = fixedX_ ? axes::Range{xlo, xhi, axes::niceStep(xhi - xlo, 6)} : axes::niceRange(xlo, xhi, 6);
    l.y = fixedY_ ? axes::Range{ylo, yhi, axes::niceStep(yhi - ylo, 5)} : axes::niceRange(ylo, yhi, 5);
    l.right = axes::niceRange(rlo, rhi, 5);
    l.hasRight = hasRight;

    const double line = metrics.height();
    auto labelWidth = [&](const axes::Range& r) {
        double width = 0;
        for (double v : axes::ticks(r.lo, r.hi, r.step)) {
            width = std::max(width, metrics.horizontalAdvance(axes::tickLabel(v, r.step, locale())));
        }
        return width;
    };
    const double left = 6 + line + 4 + labelWidth(l.y) + 4;
    if (legendLines_) {
        // The named curves in rows as wide as the chart.
        double used = 0;
        for (int k = 0; k < curves_.size(); ++k) {
            if (curves_[k].name.isEmpty()) continue;
            const double w = legendEntryWidth(curves_[k], metrics);
            if (l.legendRows.isEmpty() || used + w > size.width() - 8) {
                l.legendRows.push_back({});
                used = 0;
            }
            l.legendRows.back().push_back(k);
            used += w;
        }
    }
    const double bottom = 4 + line + 2 + line + 4 + static_cast<double>(l.legendRows.size()) * line;
    const double top = line * 0.5 + 4 + (caption_.isEmpty() ? 0 : line + 4);
    // Without a right axis, room for half the last x label, which is centred on the right edge.
    const std::vector<double> xTicks = axes::ticks(l.x.lo, l.x.hi, l.x.step);
    const double lastX =
        xTicks.empty() ? 0 : metrics.horizontalAdvance(axes::tickLabel(xTicks.back(), l.x.step, locale())) / 2.0 + 2;
    const double right = hasRight ? 4 + labelWidth(l.right) + 4 + line + 6 : std::max(12.0, lastX);
    l.area =
        QRectF(left, top, std::max(10.0, size.width() - left - right), std::max(10.0, size.height() - top - bottom));
    // Fewer x tick values on a narrow chart, so that their labels stand apart.
    if (!equalAspect_) {
        for (int target = 5; target >= 2; --target) {
            double widest = 0;
            const std::vector<double> xs = axes::ticks(l.x.lo, l.x.hi, l.x.step);
            for (double v : xs) {
                widest = std::max(widest, metrics.horizontalAdvance(axes::tickLabel(v, l.x.step, locale())));
            }
            if (static_cast<double>(xs.size()) * (widest + line) <= l.area.width()) break;
            l.x = fixedX_ ? axes::Range{xlo, xhi, axes::niceStep(xhi - xlo, target)} : axes::niceRange(xlo, xhi, target);
        }
    }

    if (equalAspect_) {
        // The same length per unit on both axes: widen whichever range is too narrow, about its middle.
        const double perUnit = std::min(l.area.width() / (l.x.hi - l.x.lo), l.area.height() / (l.y.hi - l.y.lo));
        const double xSpan = l.area.width() / perUnit, ySpan = l.area.height() / perUnit;
        const double xm = 0.5 * (l.x.lo + l.x.hi), ym = 0.5 * (l.y.lo + l.y.hi);
        l.x.lo = xm - 0.5 * xSpan;
        l.x.hi = xm + 0.5 * xSpan;
        l.y.lo = ym - 0.5 * ySpan;
        l.y.hi = ym + 0.5 * ySpan;
        l.x.step = axes::niceStep(xSpan, 6);
        l.y.step = axes::niceStep(ySpan, 5);
    }
    return l;
}

void Chart::paint(QPainter& painter, const QSize& size, double ratio) const {
    painter.save();
    painter.fillRect(QRect(QPoint(0, 0), size), palette().color(QPalette::Base));
    const QFontMetricsF metrics(font(), painter.device());
    const Layout l = layout(size, metrics);
    const QRectF& a = l.area;
    auto mapX = [&](double x) { return a.left() + (x - l.x.lo) / (l.x.hi - l.x.lo) * a.width(); };
    auto mapY = [&](double y) { return a.bottom() - (y - l.y.lo) / (l.y.hi - l.y.lo) * a.height(); };
    auto mapRight = [&](double y) { return a.bottom() - (y - l.right.lo) / (l.right.hi - l.right.lo) * a.height(); };
    const QColor text = palette().color(QPalette::Text);
    const QColor grid(220, 220, 220);

    // Grid and tick values.
    painter.setFont(font());
    const double line = metrics.height();
    for (double v : axes::ticks(l.x.lo, l.x.hi, l.x.step)) {
        const double px = mapX(v);
        painter.setPen(QPen(v == 0.0 ? QColor(150, 150, 150) : grid, 0));
        painter.drawLine(QPointF(px, a.top()), QPointF(px, a.bottom()));
        painter.setPen(QPen(text, 0));
        painter.drawLine(QPointF(px, a.bottom()), QPointF(px, a.bottom() + 4));
        const QString label = axes::tickLabel(v, l.x.step, locale());
        const double w = metrics.horizontalAdvance(label);
        painter.drawText(QRectF(px - w / 2 - 2, a.bottom() + 4, w + 4, line), Qt::AlignCenter, label);
    }
    for (double v : axes::ticks(l.y.lo, l.y.hi, l.y.step)) {
        const double py = mapY(v);
        painter.setPen(QPen(v == 0.0 ? QColor(150, 150, 150) : grid, 0));
        painter.drawLine(QPointF(a.left(), py), QPointF(a.right(), py));
        painter.setPen(QPen(text, 0));
        painter.drawLine(QPointF(a.left() - 4, py), QPointF(a.left(), py));
        const QString label = axes::tickLabel(v, l.y.step, locale());
        painter.drawText(QRectF(0, py - line / 2, a.left() - 6, line), Qt::AlignRight | Qt::AlignVCenter, label);
    }
    if (l.hasRight) {
        for (double v : axes::ticks(l.right.lo, l.right.hi, l.right.step)) {
            const double py = mapRight(v);
            painter.setPen(QPen(text, 0));
            painter.drawLine(QPointF(a.right(), py), QPointF(a.right() + 4, py));
            const QString label = axes::tickLabel(v, l.right.step, locale());
            painter.drawText(QRectF(a.right() + 6, py - line / 2, size.width() - a.right() - 6, line),
                             Qt::AlignLeft | Qt::AlignVCenter, label);
        }
    }
    painter.setPen(QPen(text, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(a);
    if (!caption_.isEmpty()) {
        // A caption wider than the chart keeps its beginning (the airfoil's name).
        painter.drawText(QRectF(0, 4, size.width(), line), Qt::AlignCenter,
                         metrics.elidedText(caption_, Qt::ElideRight, size.width() - 8));
    }

    // Axis titles: x under the tick values, y turned upright along the left edge.
    painter.drawText(QRectF(a.left(), a.bottom() + 4 + line + 2, a.width(), line), Qt::AlignCenter, xTitle_);
    painter.save();
    painter.translate(4, a.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-a.height() / 2, 0, a.height(), line), Qt::AlignCenter, yTitle_);
    painter.restore();
    if (l.hasRight) {
        painter.save();
        painter.translate(size.width() - 4, a.center().y());
        painter.rotate(90);
        painter.drawText(QRectF(-a.height() / 2, 0, a.height(), line), Qt::AlignCenter, rightTitle_);
        painter.restore();
    }

    // Curves and marks, clipped to the plotting rectangle.
    painter.save();
    painter.setClipRect(a.adjusted(-1, -1, 1, 1));
    painter.setRenderHint(QPainter::Antialiasing);
    // Each mark's caption a line below the previous one, so marks close together stay readable;
    // one that would run past the right edge is written to the left of its line, or else as far
    // right as it fits.
    double captionY = a.top() + 2;
    for (const Mark& m : marks_) {
        if (!std::isfinite(m.x)) continue;
        const double px = mapX(m.x);
        painter.setPen(QPen(m.colour, 1, Qt::DashLine));
        painter.drawLine(QPointF(px, a.top()), QPointF(px, a.bottom()));
        const double w = metrics.horizontalAdvance(m.caption) + 2;
        double x = px + 3;
        if (x + w > a.right()) x = px - 3 - w >= a.left() ? px - 3 - w : std::max(a.left(), a.right() - w);
        painter.drawText(QRectF(x, captionY, w, line), Qt::AlignLeft | Qt::AlignTop, m.caption);
        if (!m.caption.isEmpty()) captionY += line;
    }
    // Each unbroken run of a curve is thinned in device pixels, as the plot areas do.
    PolylineThinner thinner;
    const double columns = ratio > 0 ? ratio : 1.0;
    for (const Curve& c : curves_) {
        QPainterPath path;
        auto flush = [&] {
            const QVector<QPointF> run = thinner.finish();
            if (run.isEmpty()) return;
            path.moveTo(run.front() / columns);
            for (qsizetype k = 1; k < run.size(); ++k) path.lineTo(run[k] / columns);
        };
        for (const QPointF& p : c.points) {
            if (!std::isfinite(p.x()) || !std::isfinite(p.y())) {
                flush();
                continue;
            }
            thinner.add(QPointF(mapX(p.x()), c.rightAxis ? mapRight(p.y()) : mapY(p.y())) * columns);
        }
        flush();
        const QPen pen(c.colour, 1.0, c.style);
        painter.setPen(pen);
        painter.drawPath(path);
        // Dots only where they can stand apart: no more points than fit at three quarters of a
        // dot's width across.
        if (c.dots != Dots::None && static_cast<double>(c.points.size()) <= a.width() / (1.5 * DotRadius)) {
            for (const QPointF& p : c.points) {
                if (!std::isfinite(p.x()) || !std::isfinite(p.y())) continue;
                drawDot(painter, QPointF(mapX(p.x()), c.rightAxis ? mapRight(p.y()) : mapY(p.y())), c.dots,
                        c.colour, palette().color(QPalette::Base));
            }
        }
    }
    // Each marker's label above (or below) its dot, moved further out while it would cover one
    // placed before.
    QVector<QRectF> placed;
    for (const Marker& m : markers_) {
        if (!std::isfinite(m.at.x()) || !std::isfinite(m.at.y())) continue;
        const QPointF at(mapX(m.at.x()), mapY(m.at.y()));
        painter.setPen(QPen(text, 1.0));
        painter.setBrush(m.colour);
        painter.drawEllipse(at, 3.5, 3.5);
        const double w = metrics.horizontalAdvance(m.label);
        // On its own side first, then on the other, then a line further out each way; inside the
        // plot where it can be.
        const QRectF outside(at.x() - w / 2 - 2, m.labelBelow ? at.y() + 5 : at.y() - 5 - line, w + 4, line);
        const QRectF inside = outside.translated(0, m.labelBelow ? -(line + 10) : line + 10);
        const double away = m.labelBelow ? line : -line;
        QRectF box = outside;
        for (const QRectF& candidate : {outside, inside, outside.translated(0, away), inside.translated(0, -away)}) {
            const bool free = a.contains(candidate) && std::none_of(placed.begin(), placed.end(), [&](const QRectF& r) {
                                  return r.intersects(candidate);
                              });
            if (free) {
                box = candidate;
                break;
            }
        }
        placed.push_back(box);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 200));
        painter.drawRect(box);
        painter.setPen(QPen(m.colour.darker(130), 0));
        painter.drawText(box, Qt::AlignCenter, m.label);
    }
    // The legend on a light box, in the corner it hides the least of the curves in.
    const QRectF legend = legendBox(l, metrics);
    if (!legend.isEmpty()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 215));
        painter.drawRect(legend);
        double legendY = legend.top() + 2;
        for (const Curve& c : curves_) {
            if (c.name.isEmpty()) continue;
            painter.setPen(QPen(c.colour, 0));
            painter.drawText(QRectF(legend.left() + 4, legendY, legend.width() - 8, line), Qt::AlignRight, c.name);
            legendY += line;
        }
    }
    painter.restore();

    // The legend below the x axis's title: a piece of each line, then its name.
    double rowY = a.bottom() + 4 + line + 2 + line + 2;
    for (const QVector<int>& row : l.legendRows) {
        double x = 4;
        for (const int k : row) {
            const Curve& c = curves_[k];
            const double y = rowY + line / 2;
            painter.setPen(QPen(c.colour, 1.5, c.style));
            painter.drawLine(QPointF(x, y), QPointF(x + 24, y));
            drawDot(painter, QPointF(x + 12, y), c.dots, c.colour, palette().color(QPalette::Base));
            painter.setPen(QPen(c.colour, 0));
            const double w = metrics.horizontalAdvance(c.name);
            painter.drawText(QRectF(x + 28, rowY, w + 2, line), Qt::AlignLeft | Qt::AlignVCenter, c.name);
            x += legendEntryWidth(c, metrics);
        }
        rowY += line;
    }
    painter.restore();
}

void Chart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, size(), devicePixelRatioF());
}
