#pragma once
/// \file
/// Streamlines of the flow about an airfoil: lines psi = const, every point on its level exactly
/// (each one projected onto the level by Newton steps along grad psi = (-v, u)), not contours
/// interpolated on a grid.
///
/// The levels are spaced evenly over the values of psi that enter the extent (psi is harmonic,
/// so its range over the box is its range over the box's edges) and always include psi = 0, the
/// dividing streamline. That one is given exactly through the circle plane, where about the
/// centre (t = R rho e^(i theta), phi = theta - alpha) psi = 0 reads
/// \f$\sin\varphi\,(\rho - 1/\rho) + 2\sin(\alpha+\beta)\ln\rho = 0\f$: two branches
/// \f$\sin\varphi = -2\sin(\alpha+\beta)\,\frac{\ln\rho}{\rho - 1/\rho}\f$, one from upstream to
/// the front stagnation point, one from the trailing edge downstream, and the contour between.
/// With a circulation set by hand the factor 2 sin(alpha + beta) is gamma/R and the downstream
/// branch leaves the rear stagnation point; once the stagnation points have left the circle
/// (|gamma| > 2R) psi = 0 is the contour, closed, and one line passing the body where the two
/// branches meet.

#include "solver/Expected.h"
#include "solver/Interruption.h"
#include "solver/flow/FlowField.h"

#include <cstddef>
#include <vector>

namespace orvek {

/// The default extent of streamlines in the circle plane, about the circle (the airfoil plane's is
/// `Extent{}`, a chord and a half about the airfoil).
inline constexpr Extent CircleExtent{-3, 3, -2, 2};

/// The extent streamlines are drawn over when none is given.
inline constexpr Extent defaultExtent(StreamPlane plane) {
    return plane == StreamPlane::Circle ? CircleExtent : Extent{};
}
/// Largest distance between neighbouring points of a line, in chords (circle-plane units there),
/// unless the request asks for more.
constexpr double StreamlineSpacing = 0.01;

struct StreamlineRequest {
    Extent extent;   ///< the region the levels are chosen for and the lines traced in
    int count = 21;  ///< number of levels of psi, 1 to MaxStreamlines
    StreamPlane plane = StreamPlane::Airfoil;
    StopRequest stop;  ///< asked before each line is traced
    /// Largest distance between neighbouring points of a line, at least StreamlineSpacing: a
    /// view of many chords asks for more (its lines are then refined to its pixels by FlowDetail).
    double spacing = StreamlineSpacing;
};

constexpr int MaxStreamlines = 1000;

/// The sides of an extent, in chords (circle-plane units there): at least a millionth of a chord
/// (the flow window's deepest view, refined there by FlowDetail; a picture's pixels then still
/// have a size), and at most as long as a line of MaxLinePoints points can cross; the extent
/// lies within the field's reach (FlowReach).
constexpr double MinStreamlineExtent = 1e-6;
constexpr double MaxStreamlineExtent = 1000;

/// Points of one line at most, and of all the lines of one request.
constexpr std::size_t MaxLinePoints = 200000;
constexpr std::size_t MaxStreamlinePoints = 20000000;

/// Whether `box` is an extent streamlines are drawn in, and if not why, as a sentence.
Status checkStreamlineExtent(const Extent& box);

struct Streamline {
    double psi = 0;
    /// The dividing streamline psi = 0 comes as two lines: from upstream to the front stagnation
    /// point, over the upper side of the contour to the trailing edge and downstream; and the
    /// lower side of the contour from the front stagnation point to the trailing edge.
    bool dividing = false;
    std::vector<FlowPoint> points;  ///< in the direction of the flow
};

/// The lines of the request, ordered by psi (the two dividing lines in their place). A level may
/// give more than one line when it crosses the extent more than once. Every line runs from edge to
/// edge of the extent (or to the body); one that would need more than MaxLinePoints points, or
/// lines of more than MaxStreamlinePoints in all, fail the request instead of stopping short.
/// Fails for an extent checkStreamlineExtent refuses or a count outside 1 to MaxStreamlines, and
/// with Interrupted when `request.stop` asks for it.
Expected<std::vector<Streamline>> streamlines(const FlowField& field, const StreamlineRequest& request);

/// The outline of the body in the plane asked for, closed (first point repeated at the end), from
/// the trailing edge over the upper side, spaced as the streamlines are.
std::vector<FlowPoint> bodyOutline(const FlowField& field, StreamPlane plane);

}  // namespace orvek
