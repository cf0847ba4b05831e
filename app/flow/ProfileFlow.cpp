#include "flow/ProfileFlow.h"

#include "solver/flow/FlowField.h"
#include "solver/flow/Streamlines.h"


QColor stagnationMarkColour() { return QColor(0, 0, 0); }
QColor profileStreamlineColour() { return QColor(140, 170, 210); }
QColor profileDividingColour() { return QColor(230, 140, 0); }

QVector<Chart::Curve> profileFlowCurves(const orvek::Airfoil& airfoil, double alphaDegrees, const QRectF& extent) {
    const orvek::Expected<orvek::FlowField> field = orvek::FlowField::make(airfoil, alphaDegrees);
    if (!field) return {};
    orvek::StreamlineRequest request;
    request.extent = orvek::Extent{extent.left(), extent.right(), extent.top(), extent.bottom()};
    const orvek::Expected<std::vector<orvek::Streamline>> lines = orvek::streamlines(*field, request);
    QVector<Chart::Curve> out;
    if (lines) {
        for (const orvek::Streamline& line : *lines) {
            Chart::Curve c;
            c.fit = false;
            c.colour = line.dividing ? profileDividingColour() : profileStreamlineColour();
            c.points.reserve(static_cast<qsizetype>(line.points.size()));
            for (const orvek::FlowPoint& p : line.points) c.points.push_back(QPointF(p.x, p.y));
            out.push_back(std::move(c));
        }
    }
    // Each stagnation point as a small square around it, 0.03 chords across.
    constexpr double HalfSide = 0.015;
    for (const orvek::FlowPoint& p : field->stagnationPoints()) {
        Chart::Curve mark;
        mark.fit = false;
        mark.colour = stagnationMarkColour();
        mark.points = {QPointF(p.x - HalfSide, p.y - HalfSide), QPointF(p.x + HalfSide, p.y - HalfSide),
                       QPointF(p.x + HalfSide, p.y + HalfSide), QPointF(p.x - HalfSide, p.y + HalfSide),
                       QPointF(p.x - HalfSide, p.y - HalfSide)};
        out.push_back(std::move(mark));
    }
    return out;
}
