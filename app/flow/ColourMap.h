#pragma once
// The core's colours of the pressure field (export/CpColours.h) as Qt's colours, and the flow
// window's choice of scale.

#include "export/CpColours.h"

#include <QRgb>

#include <cstddef>

// The colour at t in [0, 1] (dark blue-violet at 0, yellow at 1); t outside is clamped.
QRgb viridis(double t);

// The colours as a table of ViridisSize entries from t = 0 to t = 1, for a loop over many pixels.
constexpr int ViridisSize = static_cast<int>(orvek::ViridisSize);
const QRgb* viridisTable();

// The pressure coefficient on the colours: Cp from `lo` (strong suction, darkest) to `hi` = 1
// (the stagnation points, brightest). By default fixed, not fitted to the view, so a colour means
// the same pressure whatever the zoom, the pan, the plane or the angle; `fitted` to the range in
// view on request. Values beyond either end (an infinite suction too) take the end's colour.
struct CpScale {
    double lo = orvek::CpColourLow, hi = orvek::CpColourHigh;
    bool fitted = false;
    // The range of the finite values: the highest and, at the lowest, the value that all but a
    // two-hundredth of them reach; at least 0.05 wide. The fixed scale when none is finite.
    static CpScale fittedTo(const double* cp, std::size_t count);
    double fraction(double cp) const { return (cp - lo) / (hi - lo); }
    QRgb colour(double cp) const { return viridis(fraction(cp)); }
};
