#pragma once
/// \file
/// The viscous estimate on the exact surface speed: the integral boundary layer on both sides of
/// the airfoil, laminar-turbulent transition, separation, skin friction and profile drag; and,
/// beside it, the compressibility correction of the pressures with the critical Mach number.
///
/// Lengths are in chords, speeds in free-stream speeds, \f$\nu = 1/Re\f$. Each side is marched in
/// arc length s from the exact front stagnation point to the trailing edge on stations of its own
/// (uniform in the circle's polar angle), so nothing depends on the number of surface points of
/// the case it accompanies.
///
/// - Laminar: momentum and kinetic-energy integral equations
///   \f[ \frac{d\theta}{ds} = \frac{C_f}{2} - (H + 2)\frac{\theta}{U_e}\frac{dU_e}{ds}, \qquad
///       \theta\frac{dH^*}{ds} = 2C_D - H^*\frac{C_f}{2} + H^*(H - 1)\frac{\theta}{U_e}\frac{dU_e}{ds} \f]
///   with the Falkner-Skan closures \f$H^*(H)\f$, \f$Re_\theta C_f/2\f$, \f$Re_\theta\,2C_D/H^*\f$
///   (the friction fitted down the adverse range, which sets how fast H grows behind the suction
///   peak and so where transition falls); the start is the stagnation-point (Hiemenz) solution of
///   the same equations.
/// - Transition: the envelope amplification exponent N, \f$dN/ds = \frac{dN}{dRe_\theta}(H)\,
///   \frac{m(H) + 1}{2}\frac{l(H)}{\theta}\f$ once \f$Re_\theta > Re_{\theta 0}(H)\f$, reaching
///   Ncrit; or a trip. Laminar separation (the laminar layer reaching its singular shape H = 4,
///   where \f$C_f \approx 0\f$) is a bubble: the separated layer runs at the constant pressure of the
///   separation point and keeps amplifying until N reaches Ncrit; reattaching, its momentum
///   thickness takes the pressure rise back to the exact speed, \f$\theta U_e^{H_r + 2}\f$ kept.
/// - Turbulent: Head's entrainment equation \f$d(U_e\theta H_1)/ds = 0.0306\,U_e(H_1 - 3)^{-0.6169}\f$
///   with Swafford's skin friction \f$C_f = 0.3e^{-1.33H}(\log_{10}Re_\theta)^{-1.74 - 0.31H} +
///   0.00011(\tanh(4 - H/0.875) - 1)\f$. Turbulent separation: H above 2.4; within the last per
///   cent of chord (the continued speed, below) only a note.
/// - Trailing edge: the exact speed falls to zero at a finite-angle trailing edge (m < 2), a feature
///   of the inviscid flow that the layer's displacement and the wake remove; over the last per cent
///   of chord (x/c > 0.99) each side sees the straight continuation of its speed from x/c = 0.99
///   instead (also at a cusp, where the speed stays finite, so the rule is one). CD moves by less
///   than 2 % between continuing from 0.98 and from 0.995.
/// - Drag (Squire-Young, both sides): \f$C_D = \sum 2\theta_{TE}U_{e,TE}^{(H_{TE} + 5)/2}\f$;
///   \f$C_{Df} = \sum\int C_f U_e^2\,(\mathbf t\cdot\mathbf e_\infty)\,ds\f$ along the free stream;
///   \f$C_{Dp} = C_D - C_{Df}\f$.
/// - Compressibility (M < 1): Karman-Tsien \f$C_p = C_{p0}/(\sqrt{1 - M^2} + \frac{M^2}{1 +
///   \sqrt{1 - M^2}}\frac{C_{p0}}{2})\f$ on the surface; CL and CMc4 from the corrected pressures;
///   the critical Mach number where the corrected least Cp meets the sonic Cp.

#include "solver/Airfoil.h"
#include "solver/Expected.h"
#include "solver/Interruption.h"
#include "solver/analysis/PressureMinimum.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvek {

/// The default critical amplification exponent (a quiet wind tunnel) and the accepted range.
inline constexpr double DefaultNcrit = 9.0;
inline constexpr double MinNcrit = 1.0;
inline constexpr double MaxNcrit = 20.0;

/// The accepted Reynolds numbers (chord and free-stream speed).
inline constexpr double MinReynolds = 1e3;
inline constexpr double MaxReynolds = 1e9;

/// The march's stations per side by default, and the accepted range.
inline constexpr std::size_t DefaultLayerStations = 145;
inline constexpr std::size_t MinLayerStations = 41;
inline constexpr std::size_t MaxLayerStations = 100001;

/// Where the last per cent of chord begins: beyond it the speed is continued straight.
inline constexpr double TrailingEdgeContinuation = 0.99;

/// The shape factor above which a turbulent layer counts as separated.
inline constexpr double TurbulentSeparationH = 2.4;

struct ViscousInput {
    Airfoil airfoil;
    double alphaDegrees = 0;
    double Re = 1e6;                    ///< Reynolds number of the chord and the free stream
    double Ncrit = DefaultNcrit;        ///< critical amplification exponent
    std::optional<double> tripUpper;    ///< forced transition on the upper side, x/c
    std::optional<double> tripLower;    ///< forced transition on the lower side, x/c
    double mach = 0;                    ///< free-stream Mach number for the compressible figures; 0: none
    std::size_t stations = DefaultLayerStations;  ///< march stations per side (not the surface points)
    double continuation = TrailingEdgeContinuation;  ///< x/c from which the speed is continued straight
    StopRequest stop;  ///< asked before each angle of a drag polar
};

enum class LayerState { Laminar, Turbulent, Separated };

/// "laminar", "turbulent" or "separated".
const char* layerStateName(LayerState s);

struct LayerStation {
    double s = 0;  ///< arc length from the front stagnation point, chords
    double x = 0, y = 0;
    double Ue = 0;  ///< edge speed the layer sees
    double theta = 0, deltaStar = 0, H = 0;
    double Cf = 0;  ///< skin friction on the edge speed's dynamic pressure
    double N = 0;   ///< amplification exponent (laminar stretch)
    LayerState state = LayerState::Laminar;
};

struct LayerSide {
    Surface surface = Surface::Upper;
    std::vector<LayerStation> stations;  ///< from the stagnation point to the trailing edge
    double transition = 1;               ///< x/c; 1 where the side stays laminar to the trailing edge
    bool tripped = false;                ///< transition forced by a trip
    std::optional<double> laminarSeparation;  ///< x/c where a laminar bubble begins
    std::optional<double> separation;    ///< x/c of turbulent separation (or of laminar separation
                                         ///< that never reattaches)
    double CD = 0;                       ///< this side's share of the Squire-Young drag
    double CDf = 0;                      ///< this side's skin-friction drag
};

/// A place where the estimate stops meaning anything (or, for notes, something worth knowing).
struct ViscousFlag {
    enum class Kind {
        TurbulentSeparation,  ///< H above 2.4 before the trailing edge (a note within the last per cent)
        OpenLaminarSeparation,  ///< a laminar separation that never reattaches
        LaminarBubble,        ///< a laminar separation bubble (a note; the estimate stays valid)
        LocalSupersonic,      ///< the corrected least Cp lies below the sonic Cp
    };
    Kind kind = Kind::TurbulentSeparation;
    Surface surface = Surface::Upper;
    double x = 0;          ///< x/c where it happens
    bool invalidates = true;
    std::string sentence;  ///< for the user, complete
};

/// The kind's name in files and the Python module: "turbulent separation", "laminar separation",
/// "laminar bubble" or "locally supersonic".
const char* flagKindName(ViscousFlag::Kind k);

struct CompressibleResult {
    double M = 0;
    double CL = 0, CMc4 = 0;  ///< from the Karman-Tsien corrected pressures
    double CpMin = 0;         ///< the corrected least pressure coefficient
    double criticalMach = 0;  ///< free-stream Mach number at which the least Cp is sonic
    bool supersonic = false;  ///< M above the critical Mach number: the local flow is supersonic
};

struct ViscousResult {
    double Re = 0, Ncrit = 0;
    double CL = 0, CMc4 = 0;  ///< inviscid, incompressible (the closed forms)
    double CD = 0, CDf = 0, CDp = 0;
    LayerSide upper, lower;
    bool valid = true;
    std::vector<ViscousFlag> flags;
    std::optional<CompressibleResult> compressible;  ///< when mach > 0
};

/// Why these inputs cannot be estimated (a sentence), or nothing. Re outside [MinReynolds,
/// MaxReynolds] or not a number, Ncrit outside [MinNcrit, MaxNcrit], trips outside [0, 1], M < 0
/// or M >= 1, an airfoil the flow cannot be had for, a sharp leading edge (F = 0) met off its
/// edge, station counts outside their range.
Status viscousFault(const ViscousInput& in);

/// The faults of the numbers alone (Re, Ncrit, trips, M, stations), without the airfoil's: what a
/// command line judges as invalid arguments.
Status viscousArgumentFault(const ViscousInput& in);

/// The boundary layers, drag and flags of one case (and the compressible figures when mach > 0).
Expected<ViscousResult> boundaryLayer(const ViscousInput& in);

/// The Karman-Tsien correction of an incompressible pressure coefficient at Mach number M.
double karmanTsien(double Cp0, double M);

/// The pressure coefficient at which the local flow is sonic, for free-stream Mach number M.
double sonicCp(double M);

/// The compressible figures alone (M in [0, 1)); with M = 0 only the critical Mach number means
/// something new.
Expected<CompressibleResult> compressible(const Airfoil& airfoil, double alphaDegrees, double M);

/// One row of a drag polar.
struct DragPolarRow {
    double alpha = 0;
    double CL = 0, CMc4 = 0;
    double CD = 0, CDf = 0, CDp = 0;
    double transitionUpper = 1, transitionLower = 1;
    bool valid = true;
};

/// The drag polar at the angles of `sweepAngles(from, to, step)`, each angle estimated as
/// `boundaryLayer` does with `base`'s other inputs; all or nothing, failing with the angle, or with
/// Interrupted when `base.stop` asks for it.
Expected<std::vector<DragPolarRow>> dragPolar(const ViscousInput& base, double from, double to, double step);

}  // namespace orvek
