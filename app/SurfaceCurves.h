#pragma once
// A calculated surface in a chart, as the pictures and the explorer show it: the profile (y/c
// against x/c, one unit as long on both axes) or 1-Cp against x/c, the upper and the lower
// surface as two named curves that meet at the leading edge. Unset points break a curve.

#include "solver/surface/SurfacePoints.h"

#include <QColor>

class Chart;

enum class SurfacePlot { Profile, Pressure };

inline const QColor UpperColour(255, 17, 17);  // the designed plots' red
inline const QColor LowerColour(20, 60, 200);

void showSurface(Chart& chart, const orvek::SurfacePoints& points, SurfacePlot plot);
