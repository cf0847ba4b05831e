#pragma once
// A polar: one calculation per angle of attack, from one angle to another in equal steps.

#include "solver/Expected.h"
#include "solver/Interruption.h"
#include "solver/analysis/PressureMinimum.h"
#include "solver/boundarylayer/BoundaryLayer.h"
#include "solver/surface/Solver.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace orvek {

// The most angles one sweep calculates.
inline constexpr std::size_t MaxSweepRows = 100001;

// The default number of surface points of a sweep (CpMin is refined from them).
inline constexpr double SweepPoints = 201.0;

struct SweepInput {
    Airfoil airfoil;
    double fromDegrees = 0;   // first angle of attack
    double toDegrees = 0;     // last angle, reached when it lies on the grid from + k*step
    double stepDegrees = 1;   // negative to sweep downwards
    double N1 = SweepPoints;  // surface points per angle
    double Chord = 1;
    // With a Reynolds number, a drag polar: each row adds the viscous estimate at its angle, made
    // as boundaryLayer makes it with these inputs (the airfoil and angle the row's, the Mach
    // number `mach`).
    std::optional<ViscousInput> viscous;
    // Above 0, each row adds the compressible figures at this free-stream Mach number.
    double mach = 0;
    StopRequest stop;  // asked before each angle; a sweep told to stop fails with Interrupted
};

// What a drag polar's row keeps of the viscous estimate at its angle (not the stations).
struct SweepDrag {
    double CD = 0, CDf = 0, CDp = 0;
    double transitionUpper = 1, transitionLower = 1;  // x/c
    // x/c where the layer separates for good (turbulent, or laminar never reattaching); the
    // estimate is then not valid.
    std::optional<double> separationUpper, separationLower;
    bool valid = true;
};

struct SweepRow {
    double alphaDegrees = 0;
    Coefficients coefficients;
    double CpMin = 0, xCpMin = 0;
    Surface surface = Surface::Upper;
    std::optional<SweepDrag> drag;  // with a Reynolds number
    std::optional<CompressibleResult> compressible;  // with a Mach number
};

// The drag polar's columns of one estimate.
SweepDrag sweepDrag(const ViscousResult& estimate);

// One case as a row of a polar: its angle, the coefficients of the closed forms and the pressure
// minimum of its continuous surface (surfacePressureMinimum). `spare` lends its arrays to the calculation and gets them back
// when it succeeds, so a series of cases reuses one set of arrays. Fails with the solver's reason.
Expected<SweepRow> polarRow(const SolverInput& in, SurfacePoints& spare);

// The angles from, from+step, ... up to `to` inclusive, `from` always first: a later angle that
// misses `to` by less than a billionth of a step counts as reaching it and is `to` itself (a step
// larger than the range gives `from` alone). Each angle is rounded to 15
// significant digits of the terms it is made of, so 0.1-degree steps give 0.3, not
// 0.30000000000000004. Fails, saying why, for angles that are not finite numbers, a step that is
// zero, not a number, pointing away from `to` or below 1e-12 of the angles' size, and for more than
// MaxSweepRows angles, in a sentence ("Invalid sweep: the step is 0."). A single angle
// (from == to) takes any nonzero step.
Expected<std::vector<double>> sweepAngles(double from, double to, double step);

// One row per angle of sweepAngles: the coefficients of the closed forms and the pressure minimum
// of the continuous surface, exactly as single calculations at those angles give them. All or
// nothing: an angle that cannot be calculated (or estimated, with a Reynolds number) fails the
// whole sweep with the solver's reason and the angle ("At the angle of attack 5: Cannot calculate
// ..."). The point arrays are reused from one angle to the next.
Expected<std::vector<SweepRow>> sweep(const SweepInput& in);

// The same, handing each row to `onRow` as soon as it is calculated (a long sweep's rows can be
// written as they come) with its number from 0 and the number of rows; nothing is kept. Fails as
// sweep does, after the rows before the failing angle were handed on, or with Interrupted when
// `in.stop` asks for it.
Status sweepRows(const SweepInput& in,
                 const std::function<void(const SweepRow& row, std::size_t index, std::size_t count)>& onRow);

}  // namespace orvek
