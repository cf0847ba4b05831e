#include "plot/PolylineThinning.h"

#include <cmath>

void PolylineThinner::add(const QPointF& p) {
    const double column = std::floor(p.x());
    if (open_ && column == column_) {
        ++count_;
        if (p.y() < low_.y()) {
            low_ = p;
            lowOrder_ = count_;
        }
        if (p.y() > high_.y()) {
            high_ = p;
            highOrder_ = count_;
        }
        last_ = p;
        return;
    }
    if (open_) flushColumn();
    open_ = true;
    column_ = column;
    first_ = low_ = high_ = last_ = p;
    lowOrder_ = highOrder_ = count_ = 0;
}

void PolylineThinner::flushColumn() {
    // First, then the lowest and highest in the order they came, then the last; no repeats.
    const QPointF* keep[4] = {&first_, lowOrder_ <= highOrder_ ? &low_ : &high_,
                              lowOrder_ <= highOrder_ ? &high_ : &low_, &last_};
    const int order[4] = {0, std::min(lowOrder_, highOrder_), std::max(lowOrder_, highOrder_), count_};
    int previous = -1;
    for (int k = 0; k < 4; ++k) {
        if (order[k] != previous) out_.append(*keep[k]);
        previous = order[k];
    }
}

QVector<QPointF> PolylineThinner::finish() {
    if (open_) flushColumn();
    open_ = false;
    QVector<QPointF> result;
    result.swap(out_);
    return result;
}

QVector<QPointF> thinPolyline(const QVector<QPointF>& points) {
    PolylineThinner thinner;
    for (const QPointF& p : points) thinner.add(p);
    return thinner.finish();
}
