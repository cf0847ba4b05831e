#pragma once
/// \file
/// What a zoomed view of the flow needs beyond the streamlines' own spacing: lines and the body's
/// outline with points closer together than `spacing` wherever they come near the view, so the
/// trailing edge seen 100 times enlarged is drawn as smoothly as the whole airfoil.
///
/// A point added between two neighbours of a streamline is put back on the line's level by
/// Newton steps along \f$\nabla\psi = (-v, u)\f$ (in the circle plane with the circle plane's
/// velocity); the outline's points are images of points of the circle
/// \f$\zeta = \zeta_0 + R e^{i\theta}\f$, so they lie on the contour exactly.

#include "solver/flow/FlowField.h"
#include "solver/flow/Streamlines.h"

#include <vector>

namespace orvek {

/// Adds points to `line` where neighbours lie more than `spacing` apart and their segment comes
/// near `box`; the points elsewhere are kept as they are.
void refineStreamline(const FlowField& field, StreamPlane plane, Streamline& line, double spacing, const Extent& box);

/// The body's closed outline in the plane asked for (first point repeated at the end), its
/// points at most `spacing` apart near `box` and coarser elsewhere.
std::vector<FlowPoint> bodyOutlineInView(const FlowField& field, StreamPlane plane, double spacing, const Extent& box);

}  // namespace orvek
