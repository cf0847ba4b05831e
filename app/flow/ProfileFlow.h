#pragma once
// The explorer's "Flow": streamlines and stagnation points about its profile plot, as chart curves
// in the chord's frame (the plot is true to scale, so the stagnation marks are small squares).

#include "plot/Chart.h"
#include "solver/Airfoil.h"

#include <QVector>

// The region around the profile the explorer shows the flow in: a chord's room ahead and behind
// it, and as high as the plot's shape `aspect` (height over width) allows, so the lines fill the
// true-to-scale plot.
constexpr double ProfileFlowX0 = -0.6, ProfileFlowX1 = 1.6;

// 21 streamlines of the flow about `airfoil` at `alphaDegrees` (the dividing one in orange) and a
// mark at each stagnation point; nothing when the flow cannot be drawn (the explorer shows the
// solver's reason already, or the profile alone).
QVector<Chart::Curve> profileFlowCurves(const orvek::Airfoil& airfoil, double alphaDegrees, double aspect);

// The colours of the explorer's stagnation marks and streamlines, apart from the profile's red
// and the pinned curves' colours.
QColor stagnationMarkColour();
QColor profileStreamlineColour();
QColor profileDividingColour();
