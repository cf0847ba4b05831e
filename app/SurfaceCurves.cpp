#include "SurfaceCurves.h"

#include <limits>

QVector<Chart::Curve> surfaceCurves(const orvek::SurfacePoints& points, SurfacePlot plot) {
    const std::size_t N = points.size() > 0 ? points.size() - 1 : 0;
    QVector<QPointF> upper, lower;
    const std::size_t half = N / 2 + 2;
    upper.reserve(static_cast<qsizetype>(half));
    lower.reserve(static_cast<qsizetype>(half));
    constexpr double Gap = std::numeric_limits<double>::quiet_NaN();
    // Point layout: the lower surface from the trailing edge (1) to the middle, the upper surface
    // from there to the trailing edge again (N); both curves include the point where they meet.
    const std::size_t middle = (N + 1) / 2;
    for (std::size_t i = 1; i <= N; ++i) {
        const bool set = points.isSet(i);
        const double value = plot == SurfacePlot::Profile ? points.y[i] : points.Cu[i];
        const QPointF p = set ? QPointF(points.x[i], value) : QPointF(Gap, Gap);
        if (i <= middle) lower.push_back(p);
        if (i >= middle) upper.push_back(p);
    }
    return {Chart::Curve{"upper surface", UpperColour, upper, false},
            Chart::Curve{"lower surface", LowerColour, lower, false}};
}

void showSurface(Chart& chart, const orvek::SurfacePoints& points, SurfacePlot plot) {
    if (plot == SurfacePlot::Profile) {
        chart.setAxisTitles("x/c", "y/c");
        chart.setEqualAspect(true);
    } else {
        chart.setAxisTitles("x/c", "1-Cp");
        chart.setEqualAspect(false);
    }
    chart.setCurves(surfaceCurves(points, plot));
}
