#include "solver/surface/Solver.h"

#include "solver/ShortestText.h"
#include "solver/kernels/CoreSlices.h"
#include "solver/kernels/SurfaceKernel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace orvek {

namespace {

const char* const CannotCalculate = "Cannot calculate: ";
const char* const CannotCalculateAirfoil = "Cannot calculate this airfoil: ";

// Below this many points one core does the surface; above it the work is shared by all cores.
// Measured (KarmanTrefftzThreads): starting and joining a second thread costs 10 to 30 us of
// processor time, and one thread computes a Karman-Trefftz point in about 16 ns, a Joukowsky
// point in about 6, so on an otherwise idle machine the split pays from roughly 4,000 to 10,000
// points on; this bound leaves a margin for a busy one.
constexpr std::size_t ThreadedPoints = 20000;

PointConstants pointConstants(const SolverInput& in, const MappingConstants& k) {
    const Airfoil& a = in.airfoil;
    PointConstants c;
    c.airfoil = a;
    c.halfM = 0.5 * a.m;
    c.mb = k.mb;
    c.mb2 = k.mb * 2.0;
    c.shift = k.shift;
    c.onePlus2F = 1.0 + 2.0 * a.F;
    const double A = k.alphaRadians + k.betaRadians;
    // (1 + F + iG) e^(-i(alpha + beta)) / R^2
    const Complex<double> turned =
        timesConj(Complex<double>{1.0 + a.F, a.G}, Complex<double>{std::cos(A), std::sin(A)});
    c.k = {turned.re / k.R2, turned.im / k.R2};
    c.inv4m4 = 1.0 / (4.0 * a.m * a.m * a.m * a.m);
    c.dTheta = (2.0 * Pi) / static_cast<double>(k.steps);
    c.joukowsky = a.isJoukowsky();
    return c;
}

// Gives the array room for n values. Fresh memory is asked for as transparent huge pages, which
// the system hands out with far fewer page faults than ordinary pages.
void makeRoom(std::vector<double>& a, std::size_t n) {
    if (a.capacity() >= n) {
        a.resize(n);
        return;
    }
    std::vector<double>().swap(a);
    a.reserve(n);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t HugePage = 2u << 20;
    const std::size_t bytes = n * sizeof(double);
    if (bytes >= 2 * HugePage) {
        // the whole huge pages inside the block, before anything touches them
        char* const block = reinterpret_cast<char*>(a.data());
        const auto begin = reinterpret_cast<std::uintptr_t>(block);
        const std::uintptr_t first = (begin + HugePage - 1) & ~(HugePage - 1);
        const std::uintptr_t last = (begin + bytes) & ~(HugePage - 1);
        if (last > first) madvise(block + (first - begin), last - first, MADV_HUGEPAGE);
    }
#endif
    a.resize(n);
}

// Which indices the loop over the circle writes: the lower surface 2..lowerLast (polar angle
// -(i-1) dTheta at index i), the upper surface upperFirst..N1-1 (+(N1-i) dTheta at index i); in
// between, only for F = 0, the unset entries. Where the two meet at the middle of an odd N1 the
// upper-surface value stands, the one the loop writes last.
struct IndexRanges {
    std::size_t lowerLast = 1, upperFirst = 2, N = 2;
};

IndexRanges indexRanges(std::size_t pointCount, double F) {
    IndexRanges r;
    r.N = pointCount;
    const double K = loopBound(pointCount, F);
    const std::size_t steps = K >= 2.0 ? static_cast<std::size_t>(std::floor(K)) : 1;  // last i with i <= K
    r.upperFirst = r.N + 1 - steps;
    r.lowerLast = std::min(steps, r.upperFirst - 1);
    return r;
}

// Fills the indices [from, to) of the surface; false when a value there is not finite.
bool fillIndices(SurfaceKernelFn kernel, const PointConstants& c, const IndexRanges& ix, SurfacePoints& pts,
                 std::size_t from, std::size_t to) {
    bool finite = true;
    const auto runOf = [&](std::size_t first, std::size_t last, double sign, double tFirst, double tStep) {
        if (last < first) return;
        SurfaceRun run;
        run.sign = sign;
        run.tFirst = tFirst;
        run.tStep = tStep;
        run.count = last - first + 1;
        run.x = pts.x.data() + first;
        run.y = pts.y.data() + first;
        run.Cu = pts.Cu.data() + first;
        finite = kernel(c, run) && finite;
    };
    const std::size_t lo = std::max<std::size_t>(from, 2), hi = std::min(to, ix.N);  // [lo, hi)
    if (hi <= lo) return true;
    const std::size_t lowerEnd = std::min(hi - 1, ix.lowerLast);
    runOf(lo, lowerEnd, -1.0, static_cast<double>(lo) - 1.0, 1.0);
    const std::size_t upperStart = std::max(lo, ix.upperFirst);
    runOf(upperStart, hi - 1, 1.0, static_cast<double>(ix.N - upperStart), -1.0);
    for (std::size_t i = std::max(lo, ix.lowerLast + 1); i < std::min(hi, ix.upperFirst); ++i) {
        pts.x[i] = pts.y[i] = pts.Cu[i] = 0.0;  // unset
    }
    return finite;
}

bool fillSurface(const SolverInput& in, const MappingConstants& k, SurfacePoints& pts, const SurfaceOptions& how) {
    const IndexRanges ix = indexRanges(pointCount(in), in.airfoil.F);
    const std::size_t N = ix.N;
    // Every entry is written below, so arrays handed in for reuse keep their memory.
    makeRoom(pts.x, N + 1);
    makeRoom(pts.y, N + 1);
    makeRoom(pts.Cu, N + 1);
    pts.x[0] = pts.y[0] = pts.Cu[0] = 0.0;

    const PointConstants c = pointConstants(in, k);
    const SurfaceKernelFn kernel = surfaceKernel(how.instructionSet);
    std::vector<char> ok(std::max(1u, how.threads), 1);
    splitAmongCores(N, how.threads, [&](std::size_t worker, std::size_t from, std::size_t to) {
        ok[worker] = fillIndices(kernel, c, ix, pts, from, to);
    });
    const bool finite = std::all_of(ok.begin(), ok.end(), [](char o) { return o != 0; });

    // Trailing edge, index 1 and again index N1. The Joukowsky trailing edge is a cusp with the
    // finite speed cos(alpha + beta) / R; any other exponent gives a corner and a stagnation point.
    pts.x[1] = in.Chord;
    pts.x[N] = pts.x[1];
    pts.y[1] = 0.0;
    pts.y[N] = pts.y[1];
    const double cosTE = std::cos(k.alphaRadians + k.betaRadians);
    pts.Cu[1] = in.airfoil.isJoukowsky() ? (cosTE * cosTE) / k.R2 : 0.0;
    pts.Cu[N] = pts.Cu[1];

    pts.unset.clear();
    for (std::size_t i = std::max<std::size_t>(ix.lowerLast + 1, 2); i < std::min(ix.upperFirst, N); ++i) {
        pts.unset.push_back(i);
    }
    return finite && std::isfinite(pts.Cu[1]);
}

}  // namespace

SurfaceValue surfacePointAt(const SolverInput& in, const MappingConstants& k, double theta) {
    // A run of one point whose angle 1 * dTheta is theta itself.
    PointConstants c = pointConstants(in, k);
    c.dTheta = theta;
    SurfaceValue v;
    SurfaceRun run;
    run.count = 1;
    run.tFirst = 1.0;
    run.x = &v.x;
    run.y = &v.y;
    run.Cu = &v.Cu;
    surfaceKernel(InstructionSet::Scalar)(c, run);
    return v;
}

double loopBound(std::size_t pointCount, double F) {
    const double half = (static_cast<double>(pointCount) - 1.0) / 2.0;
    return F == 0.0 ? half : half + 1.0;
}

std::size_t pointCount(const SolverInput& in) { return static_cast<std::size_t>(in.N1); }

Status inputFault(const SolverInput& in) {
    // A fault of the typed inputs, and a fault of the airfoil itself.
    const auto calc = [](const std::string& why) { return Failure{CannotCalculate + why}; };
    if (!std::isfinite(in.N1) || in.N1 != std::floor(in.N1)) {
        return calc("the number of points NP must be a whole number, not " + shortestText(in.N1) + ".");
    }
    if (in.N1 < 2) return calc("the number of points NP must be at least 2, not " + shortestText(in.N1) + ".");
    if (in.N1 > MaxPoints) {
        return calc("the number of points NP must be at most " + shortestText(MaxPoints) + ", not " +
                    shortestText(in.N1) + ".");
    }
    if (!(std::fabs(in.AlfaD) <= MaxAngleDegrees)) {
        const std::string range = "the angle of attack must be from -" + shortestText(MaxAngleDegrees) + " to " +
                                  shortestText(MaxAngleDegrees) + " degrees";
        if (std::isnan(in.AlfaD)) return calc(range + "; it is not a number.");
        if (std::isinf(in.AlfaD)) return calc(range + "; it is too large.");
        return calc(range + ", not " + shortestText(in.AlfaD) + ".");
    }
    return checkAirfoil(in.airfoil, in.Chord);
}

Status checkAirfoil(const Airfoil& a, double chord) {
    const auto airfoil = [](const std::string& why) { return Failure{CannotCalculateAirfoil + why}; };
    const struct {
        const char* name;
        double value;
    } parameters[] = {{"F", a.F}, {"G", a.G}, {"the exponent m", a.m}, {"the chord", chord}};
    for (const auto& p : parameters) {
        if (!std::isfinite(p.value)) return airfoil(std::string(p.name) + " is not a finite number.");
    }
    const auto outOfRange = [&airfoil](const char* name, double value) {
        const std::string bound = shortestText(MaxShapeParameter);
        return airfoil(std::string(name) + " is " + shortestText(value) + ", and F and G from -" + bound + " to " +
                       bound + " are calculated (beyond, the surface loses its accuracy).");
    };
    for (const auto& p : {parameters[0], parameters[1]}) {
        if (!(std::fabs(p.value) <= MaxShapeParameter)) return outOfRange(p.name, p.value);
    }
    if (a.m == 0.0) return airfoil("the exponent m is 0.");
    if (!(std::fabs(a.m) >= MinExponent && std::fabs(a.m) <= MaxExponent)) {
        const std::string lo = shortestText(MinExponent), hi = shortestText(MaxExponent);
        return airfoil("the exponent m is " + shortestText(a.m) + ", and m from " + lo + " to " + hi + " (or -" + hi +
                       " to -" + lo + ") is calculated.");
    }
    if (a.F == -1.0) return airfoil("F is -1.");
    if (a.F > -1.0 && a.F < 0.0 && a.m != std::floor(a.m)) {
        return airfoil("F is negative (" + shortestText(a.F) + ") and the exponent m is not a whole number (" +
                       shortestText(a.m) + ").");
    }
    if (a.mappingScale(chord) == 0.0) return airfoil("the mapping scale b is 0.");
    if (a.F < -0.5)
        return airfoil("F is below -1/2 (" + shortestText(a.F) + "), so the circle does not enclose the origin.");
    return {};
}

Status checkSimpleAirfoil(const Airfoil& a) {
    if (Status calculated = checkAirfoil(a); !calculated) return calculated;
    const std::string no = "Not a simple airfoil: ";
    if (a.F < 0.0) {
        return Failure{no + "F is " + shortestText(a.F) +
                       ", and only F of 0 or more maps the circle onto a simple airfoil."};
    }
    if (!(a.m > 1.0 && a.m <= 2.0)) {
        return Failure{no + "the exponent m is " + shortestText(a.m) +
                       ", and only m above 1 and up to 2 maps the circle onto a simple airfoil (beyond 2 the "
                       "contour crosses itself)."};
    }
    return {};
}

SolverResult coefficients(const SolverInput& in) {
    SolverResult out;
    MappingConstants& k = out.k;
    const double F = in.airfoil.F, G = in.airfoil.G, m = in.airfoil.m, Chord = in.Chord, pi = Pi;
    k.steps = pointCount(in) - 1;
    k.b = in.airfoil.mappingScale(Chord);
    k.mb = m * k.b;
    k.chordOverB = Chord / k.b;
    k.shift = k.mb - Chord;
    k.betaRadians = in.airfoil.betaRadians();
    k.R2 = in.airfoil.radiusSquared();
    k.R = in.airfoil.radius();
    k.dOverR = std::sqrt((F * F + G * G) / k.R2);
    k.deltaRadians = std::atan2(G, F);  // angle of the centre vector; equals atan(G/F) for F > 0
    k.alphaRadians = (in.AlfaD * pi) / 180.0;
    k.Gamma = (((4.0 * pi) * k.R) * k.b) * std::sin(k.alphaRadians + k.betaRadians);
    out.coefficients.CL = (2.0 * k.Gamma) / Chord;
    const double normalLift = out.coefficients.CL * std::cos(k.alphaRadians);
    const double A =
        ((4.0 * (m * m - 1.0)) / 3.0) / (k.chordOverB * k.chordOverB) * pi * std::sin(2.0 * k.alphaRadians);
    const double B = ((8.0 * pi) * k.R) / (k.chordOverB * k.chordOverB) *
                     (F * std::cos(k.alphaRadians) - G * std::sin(k.alphaRadians)) *
                     std::sin(k.alphaRadians + k.betaRadians);
    k.CM0 = A + B;
    out.coefficients.CMc4 = k.CM0 - normalLift * (std::fabs(k.shift) / Chord - 0.25);
    out.coefficients.Alfa0 = (-k.betaRadians * 180.0) / pi;
    return out;
}

namespace {

Status nonFiniteScalar(const SolverResult& r) {
    const struct {
        const char* name;
        double value;
    } scalars[] = {{"the mapping scale b", r.k.b},
                   {"the zero-lift angle", r.k.betaRadians},
                   {"the circle radius", r.k.R},
                   {"the centre distance", r.k.dOverR},
                   {"the angle of attack", r.k.alphaRadians},
                   {"the lift coefficient CL", r.coefficients.CL},
                   {"the moment coefficient CMc/4", r.coefficients.CMc4},
                   {"the zero-lift angle Alfa0", r.coefficients.Alfa0}};
    for (const auto& s : scalars) {
        if (!std::isfinite(s.value)) return Failure{std::string(s.name) + " is not a finite number"};
    }
    return {};
}

}  // namespace

Status nonFiniteQuantity(const SolverResult& r) {
    if (Status scalars = nonFiniteScalar(r); !scalars) return scalars;
    const struct {
        const char* name;
        const std::vector<double>* values;
    } arrays[] = {{"x", &r.points.x}, {"y", &r.points.y}, {"1-Cp", &r.points.Cu}};
    for (const auto& a : arrays) {
        const std::vector<double>& v = *a.values;
        for (std::size_t i = 0; i < v.size(); ++i) {
            if (!std::isfinite(v[i])) {
                return Failure{std::string("the surface value ") + a.name + " at point " + std::to_string(i) +
                               " is not a finite number"};
            }
        }
    }
    return {};
}

unsigned surfaceThreads(std::size_t pointCount) {
    if (pointCount < ThreadedPoints) return 1;
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : cores;
}

SurfaceOptions defaultSurfaceOptions(std::size_t pointCount) {
    return {preferredInstructionSet(), surfaceThreads(pointCount)};
}

Expected<SolverResult> ORVEK(const SolverInput& in, SurfacePoints reuse) {
    if (Status fault = inputFault(in); !fault) return Failure{fault.error()};
    return ORVEK(in, std::move(reuse), defaultSurfaceOptions(pointCount(in)));
}

Expected<SolverResult> ORVEK(const SolverInput& in, SurfacePoints reuse, const SurfaceOptions& how) {
    if (Status fault = inputFault(in); !fault) return Failure{fault.error()};
    SolverResult result = coefficients(in);
    result.points = std::move(reuse);
    const bool finite = fillSurface(in, result.k, result.points, how);
    // The kernels report a value that is not finite; only then is the surface searched for it.
    Status check = finite ? nonFiniteScalar(result) : nonFiniteQuantity(result);
    if (!check) return Failure{std::string(CannotCalculateAirfoil) + check.error() + "."};
    return result;
}

}  // namespace orvek
