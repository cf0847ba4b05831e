#include "solver/analysis/Sweep.h"

#include "solver/NumberText.h"
#include "solver/ShortestText.h"
#include "solver/surface/Solver.h"

#include <charconv>
#include <cmath>
#include <string>
#include <utility>

namespace orvek {

namespace {

// A step count that misses the last angle by less than this fraction of a step still reaches it.
constexpr double StepTolerance = 1e-9;

// The least step, relative to the size of the angles: finer steps are lost in the rounding of
// the angles to 15 digits.
constexpr double SmallestStep = 1e-12;

// from + k*step rounded to 15 significant digits of the larger of its two terms: the last digits
// of the sum are rounding noise of the binary step, and a decimal quantum removes them, also when
// the terms cancel (-0.3 + 3*0.1 gives 0, not 5.6e-17).
double gridAngle(double from, double k, double step) {
    const double kStep = k * step;
    const double angle = from + kStep;
    const double scale = std::fmax(std::fabs(from), std::fabs(kStep));
    if (scale == 0.0 || !std::isfinite(angle)) return angle;
    const int decimals = 14 - static_cast<int>(std::floor(std::log10(scale)));
    if (decimals <= 0) return angle;
    char buf[512];
    const auto written = doubleToChars(buf, buf + sizeof buf, angle, std::chars_format::fixed, decimals);
    if (written.ec != std::errc()) return angle;
    double rounded = angle;
    const auto read = charsToDouble(buf, written.ptr, rounded);
    if (read.ec != std::errc()) return angle;
    return rounded == 0.0 ? 0.0 : rounded;  // no negative zero
}

}  // namespace

Expected<std::vector<double>> sweepAngles(double from, double to, double step) {
    const auto invalid = [](const std::string& why) { return Failure{"Invalid sweep: " + why + "."}; };
    if (!std::isfinite(from)) return invalid("the first angle is not a finite number");
    if (!std::isfinite(to)) return invalid("the last angle is not a finite number");
    if (std::isnan(step)) return invalid("the step is not a number");
    if (step == 0.0) return invalid("the step is 0");
    if (!std::isfinite(step)) return invalid("the step is not a finite number");
    const double steps = (to - from) / step;
    if (steps < 0.0) {
        return invalid("the step " + shortestText(step) + " points away from the last angle " + shortestText(to) +
                       " (from " + shortestText(from) + ")");
    }
    // The number of angles first: a step that is merely many times too small is said as such.
    const double count = std::floor(steps + StepTolerance) + 1.0;
    if (!(count <= static_cast<double>(MaxSweepRows))) {
        return invalid("it would have " + shortestText(count) + " angles, and at most " + std::to_string(MaxSweepRows) +
                       " are calculated");
    }
    if (to != from && std::fabs(step) < SmallestStep * std::fmax(std::fabs(from), std::fabs(to))) {
        return invalid("the step " + shortestText(step) + " is too small to change the angle " + shortestText(from));
    }
    const auto n = static_cast<std::size_t>(count);
    std::vector<double> angles(n);
    for (std::size_t k = 0; k < n; ++k) angles[k] = gridAngle(from, static_cast<double>(k), step);
    // The last angle within a billionth of a step of `to` is `to` itself; the first is always
    // `from`, however large the step.
    if (n > 1 && std::fabs(steps - (count - 1.0)) <= StepTolerance) angles.back() = to;
    return angles;
}

Expected<SweepRow> polarRow(const SolverInput& in, SurfacePoints& spare) {
    Expected<SolverResult> r = ORVEK(in, std::exchange(spare, {}));
    if (!r) return Failure{r.error()};
    Expected<PressureMinimum> pm = surfacePressureMinimum(in, *r);
    if (!pm) return Failure{"Cannot calculate: " + pm.error() + "."};
    SweepRow row;
    row.alphaDegrees = in.AlfaD;
    row.coefficients = r->coefficients;
    row.CpMin = pm->CpMin;
    row.xCpMin = pm->xCpMin;
    row.surface = pm->surface;
    spare = std::move(r->points);
    return row;
}

Status sweepRows(const SweepInput& in,
                 const std::function<void(const SweepRow& row, std::size_t index, std::size_t count)>& onRow) {
    Expected<std::vector<double>> angles = sweepAngles(in.fromDegrees, in.toDegrees, in.stepDegrees);
    if (!angles) return Failure{angles.error()};
    SolverInput s;
    s.airfoil = in.airfoil;
    s.N1 = in.N1;
    s.Chord = in.Chord;
    std::optional<ViscousInput> layer = in.viscous;
    SurfacePoints spare;
    for (std::size_t k = 0; k < angles->size(); ++k) {
        if (stopRequested(in.stop)) return Failure{Interrupted};
        s.AlfaD = (*angles)[k];
        Expected<SweepRow> row = polarRow(s, spare);
        const auto failed = [&](const std::string& why) {
            return Failure{"At the angle of attack " + shortestText(s.AlfaD) + ": " + why};
        };
        if (!row) return failed(row.error());
        if (layer) {
            layer->airfoil = in.airfoil;
            layer->alphaDegrees = s.AlfaD;
            layer->mach = in.mach;
            Expected<ViscousResult> estimate = boundaryLayer(*layer);
            if (!estimate) return failed(estimate.error());
            row->drag = sweepDrag(*estimate);
            row->compressible = estimate->compressible;
        } else if (in.mach > 0) {
            Expected<CompressibleResult> c = compressible(in.airfoil, s.AlfaD, in.mach);
            if (!c) return failed(c.error());
            row->compressible = *c;
        }
        onRow(*row, k, angles->size());
    }
    return {};
}

SweepDrag sweepDrag(const ViscousResult& estimate) {
    SweepDrag d;
    d.CD = estimate.CD;
    d.CDf = estimate.CDf;
    d.CDp = estimate.CDp;
    d.transitionUpper = estimate.upper.transition;
    d.transitionLower = estimate.lower.transition;
    d.separationUpper = estimate.upper.separation;
    d.separationLower = estimate.lower.separation;
    d.valid = estimate.valid;
    return d;
}

Expected<std::vector<SweepRow>> sweep(const SweepInput& in) {
    std::vector<SweepRow> rows;
    const Status done = sweepRows(in, [&rows](const SweepRow& row, std::size_t index, std::size_t count) {
        if (index == 0) rows.reserve(count);
        rows.push_back(row);
    });
    if (!done) return Failure{done.error()};
    return rows;
}

}  // namespace orvek
