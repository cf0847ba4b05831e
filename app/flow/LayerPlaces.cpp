#include "flow/LayerPlaces.h"

#include "NumberBox.h"

#include <QLocale>

#include <cmath>

namespace {

// The side's foremost station: from there on x/c grows to the trailing edge.
std::size_t frontStation(const orvek::LayerSide& side) {
    const std::vector<orvek::LayerStation>& st = side.stations;
    std::size_t front = 0;
    for (std::size_t i = 1; i < st.size(); ++i) {
        if (st[i].x < st[front].x) front = i;
    }
    return front;
}

}  // namespace

QPointF sidePointAt(const orvek::LayerSide& side, double x) {
    const std::vector<orvek::LayerStation>& st = side.stations;
    if (st.empty()) return {};
    const std::size_t front = frontStation(side);
    if (st[front].x >= x) return {st[front].x, st[front].y};
    for (std::size_t i = front + 1; i < st.size(); ++i) {
        if (st[i].x >= x) {
            const orvek::LayerStation& a = st[i - 1];
            const orvek::LayerStation& b = st[i];
            const double f = (x - a.x) / (b.x - a.x);
            return {a.x + f * (b.x - a.x), a.y + f * (b.y - a.y)};
        }
    }
    return {st.back().x, st.back().y};
}

QVector<LayerPlace> layerPlaces(const orvek::ViscousResult& result, const QLocale& locale) {
    QVector<LayerPlace> places;
    for (const orvek::LayerSide* side : {&result.upper, &result.lower}) {
        const auto add = [&](LayerPlace::Kind kind, double x, const char* word) {
            places.push_back(
                LayerPlace{kind, side->surface, x, sidePointAt(*side, x), QString("%1 %2").arg(word, plainNumber(x, 2, locale))});
        };
        if (side->transition < 1) add(LayerPlace::Kind::Transition, side->transition, side->tripped ? "trip" : "transition");
        if (side->laminarSeparation && side->laminarSeparation != side->separation) {
            add(LayerPlace::Kind::Bubble, *side->laminarSeparation, "bubble");
        }
        if (side->separation) add(LayerPlace::Kind::Separation, *side->separation, "separation");
    }
    return places;
}

qsizetype firstSeparatedStation(const orvek::LayerSide& side) {
    const auto& st = side.stations;
    if (!side.separation) return static_cast<qsizetype>(st.size());
    // Past the foremost station (a laminar bubble's stations before it count as attached).
    std::size_t i = frontStation(side);
    while (i < st.size() && st[i].x < *side.separation) ++i;
    return static_cast<qsizetype>(i);
}

QVector<QPointF> displacementSurface(const orvek::LayerSide& side) {
    const std::vector<orvek::LayerStation>& st = side.stations;
    QVector<QPointF> out;
    if (st.size() < 2) return out;
    out.reserve(static_cast<qsizetype>(st.size()));
    // The stations run from the stagnation point to the trailing edge: the outside lies to the
    // left of that way on the upper side, to the right on the lower.
    const double outward = side.surface == orvek::Surface::Upper ? 1.0 : -1.0;
    for (std::size_t i = 0; i < st.size(); ++i) {
        const orvek::LayerStation& a = st[i == 0 ? 0 : i - 1];
        const orvek::LayerStation& b = st[i + 1 < st.size() ? i + 1 : i];
        const double tx = b.x - a.x, ty = b.y - a.y, length = std::hypot(tx, ty);
        if (!(length > 0) || !std::isfinite(st[i].deltaStar)) continue;
        const double nx = -ty / length * outward, ny = tx / length * outward;
        out.push_back(QPointF(st[i].x + st[i].deltaStar * nx, st[i].y + st[i].deltaStar * ny));
    }
    return out;
}
