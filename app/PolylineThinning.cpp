#include "PolylineThinning.h"

#include <cmath>

QVector<QPointF> thinPolyline(const QVector<QPointF>& points) {
    if (points.size() < 4) return points;
    QVector<QPointF> out;
    out.reserve(points.size() < 4096 ? points.size() : 4096);
    int first = 0;
    auto flush = [&](int begin, int end) {  // vertices begin..end-1 share one column
        int low = begin, high = begin;
        for (int k = begin + 1; k < end; ++k) {
            if (points[k].y() < points[low].y()) low = k;
            if (points[k].y() > points[high].y()) high = k;
        }
        int keep[4] = {begin, low < high ? low : high, low < high ? high : low, end - 1};
        int previous = -1;
        for (int k : keep) {
            if (k != previous) out.append(points[k]);
            previous = k;
        }
    };
    double column = std::floor(points[0].x());
    for (int k = 1; k < points.size(); ++k) {
        const double c = std::floor(points[k].x());
        if (c != column) {
            flush(first, k);
            first = k;
            column = c;
        }
    }
    flush(first, static_cast<int>(points.size()));
    return out;
}
