#include "flow/FlowView.h"

#include <algorithm>

namespace {
// From a millionth of a chord per pixel to a quarter chord: a 1920-pixel view then spans 480
// chords, within the streamlines' largest extent (1000), and its streamlines stay few points.
constexpr double FinestScale = 1e-6, CoarsestScale = 0.25;
// The middle of the view stays this near the airfoil, so the whole view lies within the field's
// reach (1e5 chords), where its values hold their accuracy.
constexpr double FarthestCentre = 5e4;

QPointF nearAirfoil(QPointF p) {
    return {std::clamp(p.x(), -FarthestCentre, FarthestCentre), std::clamp(p.y(), -FarthestCentre, FarthestCentre)};
}
}  // namespace

FlowView FlowView::fitting(const QRectF& box, QSizeF size) {
    FlowView v;
    v.centre = box.center();
    const double w = std::max(1.0, size.width()), h = std::max(1.0, size.height());
    v.scale = std::clamp(std::max(box.width() / w, box.height() / h), FinestScale, CoarsestScale);
    return v;
}

QPointF FlowView::toPlane(QPointF pixel, QSizeF size) const {
    return {centre.x() + (pixel.x() - 0.5 * size.width()) * scale,
            centre.y() - (pixel.y() - 0.5 * size.height()) * scale};
}

QPointF FlowView::toPixel(QPointF plane, QSizeF size) const {
    return {0.5 * size.width() + (plane.x() - centre.x()) / scale,
            0.5 * size.height() - (plane.y() - centre.y()) / scale};
}

QRectF FlowView::extent(QSizeF size) const {
    const double hw = 0.5 * size.width() * scale, hh = 0.5 * size.height() * scale;
    return QRectF(QPointF(centre.x() - hw, centre.y() - hh), QPointF(centre.x() + hw, centre.y() + hh));
}

void FlowView::zoomAbout(QPointF pixel, QSizeF size, double factor) {
    if (!(factor > 0)) return;
    const QPointF fixed = toPlane(pixel, size);
    scale = std::clamp(scale / factor, FinestScale, CoarsestScale);
    // The point under the pixel stays there: shift the centre by what the new scale moved it.
    const QPointF moved = toPlane(pixel, size);
    centre = nearAirfoil(centre + (fixed - moved));
}

void FlowView::panBy(QPointF pixels) { centre = nearAirfoil(centre + QPointF(-pixels.x() * scale, pixels.y() * scale)); }
