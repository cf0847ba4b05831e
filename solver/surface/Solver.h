#pragma once
/// \file
/// The conformal-mapping solver `ORVEK` for Karman-Trefftz airfoils (Joukowsky airfoils for m = 2).
///
/// The generating circle in the \f$\zeta\f$ plane has its centre at \f$\zeta_0 = -F + iG\f$ and
/// passes through the trailing-edge point \f$\zeta = 1\f$: \f$R = \sqrt{(1+F)^2 + G^2}\f$.
/// A circle point maps to the airfoil plane by
/// \f[ z = m\,b\,\frac{1 + w}{1 - w}, \qquad w = \left(\frac{\zeta - 1}{\zeta + 1}\right)^m, \f]
/// with the scale \f$b = \frac{c}{2m}\left(1 - \left(\frac{F}{1+F}\right)^m\right)\f$ that puts the
/// image of \f$\zeta = -(1+2F)\f$ one chord \f$c\f$ ahead of the trailing edge; z is then shifted
/// by \f$mb - c\f$ so that the trailing edge lies at x = c.
///
/// Unit free stream at angle \f$\alpha\f$, with the Kutta condition at \f$\zeta = 1\f$:
/// \f[ \Gamma = 4\pi R\,b\,\sin(\alpha + \beta), \quad \beta = \arctan\frac{G}{1+F}, \quad
///     C_L = \frac{2\Gamma}{c}, \f]
/// \f[ C_{M0} = \frac{4(m^2 - 1)}{3}\frac{\pi \sin 2\alpha}{(c/b)^2}
///            + \frac{8\pi R}{(c/b)^2}(F\cos\alpha - G\sin\alpha)\sin(\alpha+\beta), \quad
///     C_{M,c/4} = C_{M0} - C_L\cos\alpha\left(\frac{|mb - c|}{c} - \frac14\right). \f]
/// On the circle the speed is \f$2(\sin\psi + \sin(\alpha+\beta))\f$, \f$\psi\f$ the polar angle
/// about the centre less \f$\alpha\f$; divided by \f$|dz/d\zeta|\f$ it gives the surface speed V,
/// and \f$1 - C_p = V^2\f$.

#include "solver/Airfoil.h"
#include "solver/Constants.h"
#include "solver/Expected.h"
#include "solver/kernels/InstructionSets.h"
#include "solver/surface/SurfacePoints.h"

namespace orvek {

/// The largest number of surface points a calculation accepts (three arrays of doubles, about
/// 24 MB per case).
constexpr double MaxPoints = 1000001.0;

struct SolverInput {
    double N1 = 51;    ///< number of surface points, a whole number from 2 to MaxPoints
    Airfoil airfoil;   ///< F, G and the exponent m
    double Chord = 1;  ///< chord length
    double AlfaD = 0;  ///< angle of attack in degrees
};

/// Quantities computed once per calculation and used at every surface point.
struct MappingConstants {
    std::size_t steps = 0;  ///< N1 - 1 angular steps around the circle
    double b = 0;           ///< mapping scale
    double mb = 0;          ///< abscissa of the trailing edge before the shift
    double chordOverB = 0;
    double shift = 0;         ///< mb - Chord
    double betaRadians = 0;   ///< minus the zero-lift angle
    double R2 = 0, R = 0;     ///< circle radius squared and radius
    double dOverR = 0;        ///< distance of the centre from the origin, over R
    double deltaRadians = 0;  ///< angle of the centre vector (F, G)
    double alphaRadians = 0;  ///< angle of attack
    double Gamma = 0;         ///< circulation for unit free-stream speed
    double CM0 = 0;           ///< moment coefficient about the mapping origin
};

struct SolverResult {
    MappingConstants k;
    Coefficients coefficients;
    SurfacePoints points;  ///< x, y and 1-Cp at indices 1..N1
};

/// Checks the inputs for every fault the formulas would meet and, when there is none, computes
/// the whole case. Never returns a NaN or an infinity. The arrays of `reuse`, if given, lend
/// their memory to the result's arrays (their contents do not matter): repeated calculations
/// then spare the operating system's work of handing out fresh memory.
Expected<SolverResult> ORVEK(const SolverInput& in, SurfacePoints reuse = {});

/// How the surface points are computed: with which instruction set and on how many threads. The
/// values do not depend on the thread count; between instruction sets they differ in the last bits.
struct SurfaceOptions {
    InstructionSet instructionSet = InstructionSet::Scalar;
    unsigned threads = 1;
};

/// The same calculation with the surface computed as `how` says.
Expected<SolverResult> ORVEK(const SolverInput& in, SurfacePoints reuse, const SurfaceOptions& how);

/// The number of threads for a surface of `pointCount` points: one for small cases, every core for large ones.
unsigned surfaceThreads(std::size_t pointCount);

/// What `ORVEK` uses: the preferred instruction set and `surfaceThreads(pointCount)`.
SurfaceOptions defaultSurfaceOptions(std::size_t pointCount);

/// The largest size of F and of G the program calculates. The surface's error against an exact
/// evaluation grows as the square of the circle's radius, about 5e-16 (F^2 + G^2) chords: within
/// this bound every x, y and 1-Cp holds 1e-12, the flow field 1e-10 and the measured camber 1e-9
/// (at F or G = 1e5 the surface is off by 2e-6 chord and a symmetric airfoil's camber by 7e-8).
constexpr double MaxShapeParameter = 20.0;

/// The sizes of the exponent m calculated: |m| from MinExponent to MaxExponent, either sign. The
/// error grows as 1/|m| below 1 (2e-12 at m = 0.5, F = G = 20). Only 1 < m <= 2 gives a simple
/// airfoil; the rest are shapes the mapping still draws.
constexpr double MinExponent = 1.0;
constexpr double MaxExponent = 4.0;

/// Whether the airfoil can be calculated, and if not why, in one sentence ("Cannot calculate
/// this airfoil: ..."): finite F, G and m, F and G within MaxShapeParameter, |m| within
/// MinExponent to MaxExponent, F not -1 and not below -1/2, a whole m for a negative F,
/// a mapping scale other than 0. Every calculation asks this first.
Status checkAirfoil(const Airfoil& airfoil, double chord = 1.0);

/// Whether the airfoil is calculated (checkAirfoil) and is a simple closed profile, which can be
/// measured, written to coordinate files and flowed around: F of 0 or more and m above 1 and up
/// to 2. `ORVEK` calculates more (a negative F, another m), but those contours are lens-like,
/// inside out or cross themselves; this says why, as a sentence ("Not a simple airfoil: ...").
Status checkSimpleAirfoil(const Airfoil& airfoil);

/// Whether these inputs can be calculated, and if not why (checked before any computing).
Status inputFault(const SolverInput& in);

/// The mapping constants and the three coefficients, for inputs that passed `inputFault`.
SolverResult coefficients(const SolverInput& in);

/// The bound K of the loop over the circle's steps: (N1-1)/2 + 1, or (N1-1)/2 when F = 0 (the
/// circle then passes through the critical point zeta = -1, which the loop must not reach).
double loopBound(std::size_t pointCount, double F);

/// N1 as the whole number it is once `inputFault` has passed the inputs.
std::size_t pointCount(const SolverInput& in);

/// One point of the continuous surface: x, y and 1-Cp.
struct SurfaceValue {
    double x = 0, y = 0, Cu = 0;
};

/// The surface at the polar angle theta of the circle, by the same formulas as the surface points:
/// theta 0 is the trailing edge, positive angles run along the upper surface and pi is the
/// leading edge of the chord; point i lies at -(i - 1) * 2 pi / (N1 - 1). `k` are the mapping
/// constants of `in` (as `coefficients(in)` gives them), for inputs that passed `inputFault`.
SurfaceValue surfacePointAt(const SolverInput& in, const MappingConstants& k, double theta);

/// Fails, naming the first non-finite value of a result, unless every value is finite.
Status nonFiniteQuantity(const SolverResult& r);

}  // namespace orvek
