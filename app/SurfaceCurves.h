#pragma once
// A calculated surface in a chart, as the pictures and the explorer show it: the profile (y/c
// against x/c, one unit as long on both axes) or 1-Cp against x/c, the upper and the lower
// surface as two named curves that meet at the leading edge. Unset points break a curve.

#include "CasePlots.h"
#include "plot/Chart.h"
#include "solver/surface/SurfacePoints.h"

#include <QColor>
#include <QVector>

enum class SurfacePlot { Profile, Pressure };

// The colours of a surface wherever it is charted: the designed plots' red for the upper surface
// (and for a whole contour), a blue for the lower.
inline const QColor UpperColour = QColor::fromRgba(CurveColour);
inline const QColor LowerColour(20, 60, 200);

// The upper and the lower surface, "upper surface" in UpperColour and "lower surface" in
// LowerColour, each including the point where they meet.
QVector<Chart::Curve> surfaceCurves(const orvek::SurfacePoints& points, SurfacePlot plot);

// The surface's two curves in `chart`, with the plot's axis titles and aspect.
void showSurface(Chart& chart, const orvek::SurfacePoints& points, SurfacePlot plot);
