#pragma once
// The explorer's "Flow": streamlines and stagnation points about its profile plot, as chart curves
// in the chord's frame (the plot is true to scale, so the stagnation marks are small squares).

#include "plot/Chart.h"
#include "solver/Airfoil.h"

#include <QRectF>
#include <QVector>

// 21 streamlines of the flow about `airfoil` at `alphaDegrees` across `extent` (x/c from left to
// right, y/c from bottom to top: the range the plot shows, so the lines fill it; the dividing one
// in orange) and a mark at each stagnation point; nothing when the flow cannot be drawn (the
// explorer shows the solver's reason already, or the profile alone). The curves leave the plot's
// ranges to the profile.
QVector<Chart::Curve> profileFlowCurves(const orvek::Airfoil& airfoil, double alphaDegrees, const QRectF& extent);

// The colours of the explorer's stagnation marks and streamlines, apart from the profile's red
// and the pinned curves' colours.
QColor stagnationMarkColour();
QColor profileStreamlineColour();
QColor profileDividingColour();
