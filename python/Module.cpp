// The Python module orvek: an airfoil, its calculation, polar, measurement, design and coordinate
// file, with numpy arrays. Every call computes without the GIL (the core touches no Python object),
// so threads calculate in parallel; a refusal of the core becomes ValueError with its sentence,
// an argument of the wrong type TypeError (pybind11's own checks).

#include "OrvekVersion.h"
#include "export/AirfoilCoordinates.h"
#include "python/Numbers.h"  // first: the module's reading of numbers

#include "python/Flow.h"
#include "python/PointArrays.h"
#include "python/Raise.h"
#include "python/WithoutGil.h"
#include "solver/analysis/Describe.h"
#include "solver/analysis/Design.h"
#include "solver/analysis/PressureMinimum.h"
#include "solver/ShortestText.h"
#include "solver/surface/Solver.h"
#include "solver/analysis/Sweep.h"
#include "solver/boundarylayer/BoundaryLayer.h"
#include "solver/flow/FlowField.h"

#include <pybind11/numpy.h>
#include <pybind11/operators.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace py = pybind11;
using namespace pybind11::literals;

namespace orvek::python {

namespace {

// numpy.array, looked up once when the module is imported: an import per call fails from a
// __del__ while the interpreter shuts down. Never freed, as the interpreter may drop its modules
// before the last call ends.
const py::object* numpyArray = nullptr;

// A number of points as the core takes it: any Python integer (int, numpy integers), never a
// float or a bool; out-of-range counts are the core's to refuse with its sentence, and those
// beyond a double's range refused here in the same words.
double pointCount(const py::handle& np) {
    const double count = wholeNumber(np);
    if (std::isinf(count)) {
        throw py::value_error("Cannot calculate: the number of points NP must be " +
                              (count > 0 ? "at most " + shortestText(MaxPoints) : std::string("at least 2")) +
                              ", not a number beyond 1e308.");
    }
    return count;
}

// One calculation as Python sees it: the coefficients and the surface points 1..NP, and the
// viscous and compressible figures when they were asked for.
struct Solution {
    Airfoil airfoil;
    double alpha = 0;
    Coefficients coefficients;
    PointArrays points;
    std::optional<std::vector<FlowPoint>> stagnation;
    std::optional<ViscousResult> viscous;
    std::optional<CompressibleResult> compressible;
};

// One side's surface arrays, views into the solution's.
struct SurfaceView {
    py::array x, y, Cu;
};

using Trips = std::array<std::optional<double>, 2>;

// The viscous estimate's inputs as the module takes them; their faults are ValueError.
ViscousInput viscousInput(const Airfoil& airfoil, double alpha, double re, double ncrit, const Trips& trip,
                          double mach) {
    ViscousInput v;
    v.airfoil = airfoil;
    v.alphaDegrees = alpha;
    v.Re = re;
    v.Ncrit = ncrit;
    v.tripUpper = trip[0];
    v.tripLower = trip[1];
    v.mach = mach;
    if (Status fault = viscousArgumentFault(v); !fault) throw py::value_error(fault.error());
    return v;
}

Solution solve(const Airfoil& airfoil, double alpha, const py::handle& np, const std::optional<double>& re,
               double ncrit, const Trips& trip, double mach) {
    SolverInput in;
    in.airfoil = airfoil;
    in.AlfaD = alpha;
    in.N1 = pointCount(np);
    const bool viscous = re.has_value();
    if (!viscous && (ncrit != DefaultNcrit || trip[0] || trip[1])) {
        throw py::value_error("Cannot estimate the boundary layer: ncrit and trip go with re.");
    }
    const ViscousInput v = viscousInput(airfoil, alpha, re.value_or(1e6), ncrit, trip, mach);
    Solution out;
    Expected<SolverResult> r = withoutGil([&](const StopRequest&) -> Expected<SolverResult> {
        Expected<SolverResult> solved = ORVEK(in);
        if (!solved) return solved;
        if (Expected<FlowField> f = FlowField::make(airfoil, alpha)) out.stagnation = f->stagnationPoints();
        if (viscous) {
            Expected<ViscousResult> e = boundaryLayer(v);
            if (!e) return Failure{e.error()};
            out.viscous = std::move(*e);
            out.compressible = out.viscous->compressible;
        } else if (mach > 0.0) {
            Expected<CompressibleResult> c = orvek::compressible(airfoil, alpha, mach);
            if (!c) return Failure{c.error()};
            out.compressible = *c;
        }
        return solved;
    });
    SolverResult result = valueOrRaise(std::move(r));
    out.airfoil = airfoil;
    out.alpha = alpha;
    out.coefficients = result.coefficients;
    out.points = pointArrays(std::move(result.points));
    return out;
}

// The lower side: points 1 up to the middle; the upper: the rest (orvek-batch's layout).
SurfaceView surfaceView(const Solution& s, Surface side) {
    const std::size_t n = static_cast<std::size_t>(s.points.x.size());
    std::size_t lower = 0;
    while (lower < n && surfaceOfPoint(lower + 1, n) == Surface::Lower) ++lower;
    const py::slice part = side == Surface::Lower ? py::slice(0, static_cast<py::ssize_t>(lower), 1)
                                                  : py::slice(static_cast<py::ssize_t>(lower), static_cast<py::ssize_t>(n), 1);
    return {s.points.x[part], s.points.y[part], s.points.Cu[part]};
}

// The stations of one side as arrays.
struct LayerArrays {
    py::array_t<double> s, x, y, Ue, theta, deltaStar, H, Cf, N;
    py::array state;
};

LayerArrays layerArrays(const LayerSide& side) {
    const auto n = static_cast<py::ssize_t>(side.stations.size());
    LayerArrays a;
    const auto fill = [&](py::array_t<double>& out, double LayerStation::*member) {
        out = py::array_t<double>(n);
        double* p = out.mutable_data();
        for (const LayerStation& st : side.stations) *p++ = st.*member;
    };
    fill(a.s, &LayerStation::s);
    fill(a.x, &LayerStation::x);
    fill(a.y, &LayerStation::y);
    fill(a.Ue, &LayerStation::Ue);
    fill(a.theta, &LayerStation::theta);
    fill(a.deltaStar, &LayerStation::deltaStar);
    fill(a.H, &LayerStation::H);
    fill(a.Cf, &LayerStation::Cf);
    fill(a.N, &LayerStation::N);
    py::list states;
    for (const LayerStation& st : side.stations) states.append(layerStateName(st.state));
    a.state = (*numpyArray)(states, "dtype"_a = "U9");
    return a;
}

struct BoundaryLayerResult {
    ViscousResult viscous;
    LayerArrays upper, lower;
};

BoundaryLayerResult boundaryLayerOf(const Airfoil& airfoil, double alpha, double re, double ncrit, const Trips& trip) {
    const ViscousInput v = viscousInput(airfoil, alpha, re, ncrit, trip, 0.0);
    Expected<ViscousResult> e = withoutGil([&](const StopRequest&) { return boundaryLayer(v); });
    ViscousResult r = valueOrRaise(std::move(e));
    BoundaryLayerResult out;
    out.upper = layerArrays(r.upper);
    out.lower = layerArrays(r.lower);
    out.viscous = std::move(r);
    return out;
}

double criticalMach(const Airfoil& airfoil, double alpha) {
    Expected<CompressibleResult> c =
        withoutGil([&](const StopRequest&) { return orvek::compressible(airfoil, alpha, 0.0); });
    return valueOrRaise(std::move(c)).criticalMach;
}

template <typename Value>
py::array_t<double> column(const std::vector<SweepRow>& rows, Value value) {
    py::array_t<double> a(static_cast<py::ssize_t>(rows.size()));
    double* out = a.mutable_data();
    for (const SweepRow& r : rows) *out++ = value(r);
    return a;
}

py::dict sweepColumns(const Airfoil& airfoil, double first, double last, double step, const py::handle& np,
                      const std::optional<double>& re, double ncrit, const Trips& trip) {
    SweepInput in;
    in.airfoil = airfoil;
    in.fromDegrees = first;
    in.toDegrees = last;
    in.stepDegrees = step;
    in.N1 = pointCount(np);
    // The angles' own faults, in the sentence orvek-batch gives them.
    if (Expected<std::vector<double>> angles = sweepAngles(first, last, step); !angles) {
        throw py::value_error(angles.error());
    }
    std::optional<ViscousInput> layer;
    if (re) layer = viscousInput(airfoil, first, *re, ncrit, trip, 0.0);
    std::vector<DragPolarRow> drag;
    Expected<std::vector<SweepRow>> computed = withoutGil([&](const StopRequest& stop) -> Expected<std::vector<SweepRow>> {
        in.stop = stop;
        if (layer) layer->stop = stop;
        Expected<std::vector<SweepRow>> done = sweep(in);
        if (!done || !layer) return done;
        Expected<std::vector<DragPolarRow>> polar = dragPolar(*layer, first, last, step);
        if (!polar) return Failure{polar.error()};
        drag = std::move(*polar);
        return done;
    });
    const std::vector<SweepRow> rows = valueOrRaise(std::move(computed));
    py::list surface;
    for (const SweepRow& row : rows) surface.append(surfaceName(row.surface));
    py::dict columns;
    columns["alpha"] = column(rows, [](const SweepRow& r) { return r.alphaDegrees; });
    columns["CL"] = column(rows, [](const SweepRow& r) { return r.coefficients.CL; });
    columns["CMc4"] = column(rows, [](const SweepRow& r) { return r.coefficients.CMc4; });
    columns["Alfa0"] = column(rows, [](const SweepRow& r) { return r.coefficients.Alfa0; });
    columns["CpMin"] = column(rows, [](const SweepRow& r) { return r.CpMin; });
    columns["xCpMin"] = column(rows, [](const SweepRow& r) { return r.xCpMin; });
    columns["surface"] = (*numpyArray)(surface, "dtype"_a = "U5");
    if (layer) {
        const auto dragColumn = [&](auto value) {
            py::array_t<double> a(static_cast<py::ssize_t>(drag.size()));
            double* out = a.mutable_data();
            for (const DragPolarRow& r : drag) *out++ = value(r);
            return a;
        };
        columns["CD"] = dragColumn([](const DragPolarRow& r) { return r.CD; });
        columns["CDf"] = dragColumn([](const DragPolarRow& r) { return r.CDf; });
        columns["CDp"] = dragColumn([](const DragPolarRow& r) { return r.CDp; });
        columns["xtr_upper"] = dragColumn([](const DragPolarRow& r) { return r.transitionUpper; });
        columns["xtr_lower"] = dragColumn([](const DragPolarRow& r) { return r.transitionLower; });
        columns["LD"] = dragColumn([](const DragPolarRow& r) { return r.CL / r.CD; });
        py::list valid;
        for (const DragPolarRow& r : drag) valid.append(r.valid);
        columns["valid"] = (*numpyArray)(valid, "dtype"_a = "bool");
    }
    return columns;
}

AirfoilGeometry describe(const Airfoil& airfoil) {
    Expected<AirfoilGeometry> g = withoutGil([&](const StopRequest&) { return measureAirfoil(airfoil); });
    return valueOrRaise(std::move(g));
}

Airfoil design(double thickness, double camber, double teAngle) {
    Expected<DesignResult> d =
        withoutGil([&](const StopRequest&) { return designAirfoil({thickness, camber, teAngle}); });
    return valueOrRaise(std::move(d)).airfoil;
}

// The bytes `orvek-batch export` writes for the same airfoil, format, points, angle and name.
std::string coordinates(const Airfoil& airfoil, const std::string& formatName, const py::handle& np, double alpha,
                        const std::optional<std::string>& name) {
    const std::optional<CoordinateFormat> format = coordinateFormat(formatName);
    if (!format)
        throw py::value_error("Cannot export: the format must be selig, lednicer or csv, not '" + formatName + "'.");
    CoordinateFileRequest request;
    request.airfoil = airfoil;
    request.format = *format;
    request.NP = pointCount(np);
    request.alphaDegrees = alpha;
    request.name = name;
    Expected<std::string> text = withoutGil([&](const StopRequest&) -> Expected<std::string> {
        Expected<CoordinateFile> file = coordinateFile(request);
        if (!file) return Failure{file.error()};  // a refusal is already a sentence
        return file->text();
    });
    return valueOrRaise(std::move(text));
}

std::string airfoilRepr(const Airfoil& a) {
    return "Airfoil(F=" + shortestText(a.F) + ", G=" + shortestText(a.G) + ", m=" + shortestText(a.m) + ")";
}

}  // namespace

}  // namespace orvek::python

PYBIND11_MODULE(_orvek, m) {
    using namespace orvek;
    using namespace orvek::python;
    // numpy and pybind11's table of its C functions are taken now, while the import holds the
    // GIL alone: the table is a function-local static, and filling it on a first call would
    // import numpy under the static's guard, where a second thread holding the GIL waits forever.
    numpyArray = new py::object(py::module_::import("numpy").attr("array"));  // NOLINT(cppcoreguidelines-owning-memory)
    pybind11::detail::npy_api::get();
    rememberMainThread();
    m.doc() =
        "Karman-Trefftz and Joukowsky airfoils by conformal mapping, exactly: coefficients, surface\n"
        "points and 1-Cp, polars, shape measurement, design from targets and coordinate files.\n\n"
        "Frame: chord 1, leading edge at x = 0, trailing edge at (1, 0); angles in degrees.";
    m.attr("__version__") = orvek::Version;

    py::class_<AirfoilGeometry>(m, "Geometry", "The measured shape of an airfoil along its exact contour (chord 1).")
        .def_readonly("Delta", &AirfoilGeometry::thickness, "maximum thickness over chord")
        .def_readonly("Gama", &AirfoilGeometry::camber, "maximum camber over chord, signed")
        .def_readonly("xDltC", &AirfoilGeometry::thicknessPosition,
                      "chordwise position of the maximum thickness, over chord")
        .def_readonly("Tau", &AirfoilGeometry::teAngleDegrees, "trailing-edge angle, degrees")
        .def_readonly("xGama", &AirfoilGeometry::camberPosition, "chordwise position of the maximum camber, over chord")
        .def("__repr__", [](const AirfoilGeometry& g) {
            return "Geometry(Delta=" + shortestText(g.thickness) + ", Gama=" + shortestText(g.camber) +
                   ", xDltC=" + shortestText(g.thicknessPosition) + ", Tau=" + shortestText(g.teAngleDegrees) +
                   ", xGama=" + shortestText(g.camberPosition) + ")";
        });

    py::class_<ViscousFlag>(m, "Flag", "Where the viscous estimate stops meaning anything, or a note (a bubble).")
        .def_property_readonly(
            "kind", [](const ViscousFlag& f) { return flagKindName(f.kind); },
            "'turbulent separation', 'laminar separation', 'laminar bubble' or 'locally supersonic'")
        .def_property_readonly(
            "surface", [](const ViscousFlag& f) { return surfaceName(f.surface); }, "'upper' or 'lower'")
        .def_readonly("x", &ViscousFlag::x, "x/c where it happens")
        .def_readonly("invalidates", &ViscousFlag::invalidates, "whether the estimate stops meaning anything")
        .def_readonly("message", &ViscousFlag::sentence, "the sentence for the user")
        .def("__repr__", [](const ViscousFlag& f) { return "Flag(" + f.sentence + ")"; });

    py::class_<ViscousResult>(m, "Viscous",
                              "The viscous estimate of one case: drag (Squire-Young), friction drag, transition\n"
                              "and separation as x/c, validity and flags.")
        .def_readonly("Re", &ViscousResult::Re, "Reynolds number")
        .def_readonly("Ncrit", &ViscousResult::Ncrit, "critical amplification exponent")
        .def_readonly("CD", &ViscousResult::CD, "profile drag coefficient")
        .def_readonly("CDf", &ViscousResult::CDf, "skin-friction drag coefficient")
        .def_readonly("CDp", &ViscousResult::CDp, "pressure drag coefficient, CD - CDf")
        .def_property_readonly(
            "transition", [](const ViscousResult& r) { return py::make_tuple(r.upper.transition, r.lower.transition); },
            "(upper, lower) x/c of transition; 1 where the side stays laminar")
        .def_property_readonly(
            "separation", [](const ViscousResult& r) { return py::make_tuple(r.upper.separation, r.lower.separation); },
            "(upper, lower) x/c of separation, None where there is none")
        .def_readonly("valid", &ViscousResult::valid, "False where a flag says the estimate means nothing")
        .def_readonly("flags", &ViscousResult::flags, "list of Flag")
        .def("__repr__", [](const ViscousResult& r) {
            return "Viscous(Re=" + shortestText(r.Re) + ", CD=" + shortestText(r.CD) + ", CDf=" + shortestText(r.CDf) +
                   ", CDp=" + shortestText(r.CDp) + ", valid=" + (r.valid ? "True" : "False") + ")";
        });

    py::class_<CompressibleResult>(m, "Compressible",
                                   "Karman-Tsien corrected coefficients at Mach M and the critical Mach number.")
        .def_readonly("M", &CompressibleResult::M, "free-stream Mach number")
        .def_readonly("CL", &CompressibleResult::CL, "lift coefficient from the corrected pressures")
        .def_readonly("CMc4", &CompressibleResult::CMc4, "quarter-chord moment from the corrected pressures")
        .def_readonly("CpMin", &CompressibleResult::CpMin, "the corrected least pressure coefficient")
        .def_readonly("critical_mach", &CompressibleResult::criticalMach,
                      "free-stream Mach number at which the least Cp is sonic")
        .def_readonly("supersonic", &CompressibleResult::supersonic, "whether the local flow is supersonic at M");

    py::class_<LayerArrays>(m, "Layer", "One side's boundary layer, station by station from the stagnation point.")
        .def_readonly("s", &LayerArrays::s, "arc length from the front stagnation point, chords")
        .def_readonly("x", &LayerArrays::x, "x/c")
        .def_readonly("y", &LayerArrays::y, "y/c")
        .def_readonly("Ue", &LayerArrays::Ue, "edge speed the layer sees, over the free stream's")
        .def_readonly("theta", &LayerArrays::theta, "momentum thickness, chords")
        .def_readonly("delta_star", &LayerArrays::deltaStar, "displacement thickness, chords")
        .def_readonly("H", &LayerArrays::H, "shape factor delta_star / theta")
        .def_readonly("Cf", &LayerArrays::Cf, "skin friction on the edge speed's dynamic pressure")
        .def_readonly("N", &LayerArrays::N, "amplification exponent")
        .def_readonly("state", &LayerArrays::state, "'laminar', 'turbulent' or 'separated' per station");

    py::class_<BoundaryLayerResult>(m, "BoundaryLayer", "Both boundary layers of one case and its viscous figures.")
        .def_readonly("upper", &BoundaryLayerResult::upper, "the upper side's Layer")
        .def_readonly("lower", &BoundaryLayerResult::lower, "the lower side's Layer")
        .def_readonly("viscous", &BoundaryLayerResult::viscous, "CD, CDf, CDp, transition, separation, flags");

    py::class_<SurfaceView>(m, "SurfaceSide", "One side's surface points: views into the Solution's arrays.")
        .def_readonly("x", &SurfaceView::x, "abscissae over chord")
        .def_readonly("y", &SurfaceView::y, "ordinates over chord")
        .def_readonly("one_minus_cp", &SurfaceView::Cu, "1 - Cp")
        .def_property_readonly(
            "cp", [](const SurfaceView& v) { return py::reinterpret_steal<py::object>(PyNumber_Subtract(py::int_(1).ptr(), v.Cu.ptr())); },
            "Cp, a new array");

    py::class_<Solution>(m, "Solution",
                         "One calculation: the closed-form coefficients and the surface points 1..NP.\n\n"
                         "The arrays are float64 of length NP in the points' index order: the trailing edge\n"
                         "(1, 0) first and last, the lower surface from it to the leading edge, then the upper\n"
                         "surface back. Points the mapping does not reach (the leading edge of an F = 0\n"
                         "airfoil) are NaN.")
        .def_readonly("airfoil", &Solution::airfoil, "the airfoil calculated")
        .def_readonly("alpha", &Solution::alpha, "angle of attack, degrees")
        .def_property_readonly(
            "CL", [](const Solution& s) { return s.coefficients.CL; }, "lift coefficient")
        .def_property_readonly(
            "CMc4", [](const Solution& s) { return s.coefficients.CMc4; },
            "moment coefficient about the quarter chord, nose up positive")
        .def_property_readonly(
            "Alfa0", [](const Solution& s) { return s.coefficients.Alfa0; }, "zero-lift angle, degrees")
        .def_property_readonly(
            "x", [](const Solution& s) { return s.points.x; }, "abscissae over chord, float64[NP]")
        .def_property_readonly(
            "y", [](const Solution& s) { return s.points.y; }, "ordinates over chord, float64[NP]")
        .def_property_readonly(
            "one_minus_cp", [](const Solution& s) { return s.points.Cu; },
            "1 - Cp, the squared surface speed over the free stream's, float64[NP]")
        .def_property_readonly(
            "cp",
            [](const Solution& s) {
                return py::reinterpret_steal<py::object>(PyNumber_Subtract(py::int_(1).ptr(), s.points.Cu.ptr()));
            },
            "the pressure coefficient Cp = 1 - (1 - Cp), a new float64[NP]")
        .def_property_readonly(
            "stagnation",
            [](const Solution& s) -> py::object {
                if (!s.stagnation) return py::none();
                py::list l;
                for (const FlowPoint& p : *s.stagnation) l.append(py::make_tuple(p.x, p.y));
                return l;
            },
            "the stagnation points as (x, y): the front one and, unless m = 2, the trailing edge;\n"
            "None when the flow cannot be had (F < 0 or m > 2)")
        .def_property_readonly(
            "upper", [](const Solution& s) { return surfaceView(s, Surface::Upper); },
            "the upper side's points (from the middle index to the trailing edge), views")
        .def_property_readonly(
            "lower", [](const Solution& s) { return surfaceView(s, Surface::Lower); },
            "the lower side's points (from the trailing edge to the middle index), views")
        .def_readonly("viscous", &Solution::viscous, "the Viscous estimate when re was given, else None")
        .def_readonly("compressible", &Solution::compressible,
                      "the Compressible figures when mach > 0 was given, else None")
        .def("__repr__", [](const Solution& s) {
            return "Solution(" + airfoilRepr(s.airfoil) + ", alpha=" + shortestText(s.alpha) +
                   ", np=" + std::to_string(s.points.x.size()) + ", CL=" + shortestText(s.coefficients.CL) +
                   ", CMc4=" + shortestText(s.coefficients.CMc4) + ", Alfa0=" + shortestText(s.coefficients.Alfa0) +
                   ")";
        });

    py::class_<Airfoil> airfoil(m, "Airfoil",
                                "A Karman-Trefftz airfoil: the image of a circle through zeta = 1 with its centre at\n"
                                "-F + iG under the mapping of exponent m; m = 2 is the Joukowsky airfoil (a cusped\n"
                                "trailing edge), m < 2 gives a trailing-edge angle of (2 - m) * 180 degrees.\n\n"
                                "Immutable, comparable, hashable and picklable. Every calculation uses chord 1 with\n"
                                "the leading edge at x = 0 and the trailing edge at (1, 0).");
    airfoil
        .def(py::init([](double F, double G, double mExp) {
                 // NaN or infinity would make an airfoil whose repr does not read back: refused
                 // with the core's sentence at once (other faults wait for a calculation).
                 const Airfoil a{F, G, mExp};
                 if (!std::isfinite(F) || !std::isfinite(G) || !std::isfinite(mExp)) {
                     throw py::value_error(checkAirfoil(a).error());
                 }
                 return a;
             }),
             "F"_a, "G"_a, "m"_a = 2.0,
             "F: thickness parameter (the centre lies F left of the origin); G: camber parameter (the\n"
             "centre's height); m: Karman-Trefftz exponent, 2 for a Joukowsky airfoil.")
        .def_readonly("F", &Airfoil::F, "thickness parameter")
        .def_readonly("G", &Airfoil::G, "camber parameter")
        .def_readonly("m", &Airfoil::m, "Karman-Trefftz exponent (2: Joukowsky)")
        .def_property_readonly("name", &Airfoil::name,
                               "the name a coordinate file gives it, e.g. 'Karman-Trefftz F=0.1 G=0.05 m=1.9'")
        .def_property_readonly("is_joukowsky", &Airfoil::isJoukowsky, "whether m is 2")
        .def(py::self == py::self)
        .def(py::self != py::self)
        .def("__hash__", [](const Airfoil& a) { return py::hash(py::make_tuple(a.F, a.G, a.m)); })
        .def("__repr__", &airfoilRepr)
        // Pickled as the call that makes it again, so any protocol and any process pool can send it.
        .def(
            "__reduce__",
            [](const py::object& self) {
                const auto& a = self.cast<const Airfoil&>();
                return py::make_tuple(py::type::of(self), py::make_tuple(a.F, a.G, a.m));
            },
            "Airfoil(F, G, m) again, for pickle and copy")
        .def("solve", &solve, "alpha"_a, "np"_a = 51, "re"_a = py::none(), "ncrit"_a = DefaultNcrit,
             "trip"_a = Trips{}, "mach"_a = 0.0,
             "Calculates the airfoil at the angle of attack alpha (degrees, -360 to 360) with np surface\n"
             "points (an integer from 2 to 1000001): CL, CMc4 and Alfa0 in closed form, x, y and\n"
             "1 - Cp at every point (chord 1, leading edge at x = 0). Returns a Solution.\n"
             "re (1000 to 1e9) adds .viscous: the boundary-layer estimate with the critical\n"
             "amplification exponent ncrit (1 to 20) and trip = (upper, lower) forced transition x/c\n"
             "or None; mach (0 to below 1) adds .compressible (Karman-Tsien).\n"
             "Raises ValueError with the reason when the case cannot be calculated.")
        .def("boundary_layer", &boundaryLayerOf, "alpha"_a, "re"_a, "ncrit"_a = DefaultNcrit, "trip"_a = Trips{},
             "Both boundary layers at alpha degrees and Reynolds number re: .upper and .lower (Layer:\n"
             "float64 arrays s, x, y, Ue, theta, delta_star, H, Cf, N and the states) and .viscous.\n"
             "Raises ValueError for numbers outside their range or an airfoil without a flow.")
        .def("critical_mach", &criticalMach, "alpha"_a,
             "The free-stream Mach number at which the least Karman-Tsien corrected Cp is sonic.")
        .def("sweep", &sweepColumns, "first"_a, "last"_a, "step"_a, "np"_a = 201, "re"_a = py::none(),
             "ncrit"_a = DefaultNcrit, "trip"_a = Trips{},
             "A polar: one calculation per angle first, first + step, ... up to last inclusive (degrees;\n"
             "step may be negative), np surface points each. Returns a dict of column name to array:\n"
             "alpha (degrees), CL, CMc4, Alfa0 (degrees), CpMin (the least Cp of the continuous surface), xCpMin\n"
             "(its x over chord), all float64, and surface ('upper' or 'lower', the side of the\n"
             "suction peak); pandas.DataFrame takes it as it is. With re a drag polar: CD, CDf, CDp,\n"
             "xtr_upper, xtr_lower, LD and valid as well. Raises ValueError when an angle\n"
             "cannot be calculated (the whole sweep fails) or the angles are not a valid range.")
        .def("describe", &describe,
             "Measures the airfoil along its exact contour (chord 1): maximum thickness Delta, camber\n"
             "Gama and their positions xDltC, xGama (over chord), trailing-edge angle Tau (degrees).\n"
             "Raises ValueError for an airfoil that cannot be calculated or is not a simple one\n"
             "(F >= 0 and 1 < m <= 2).")
        .def("coordinates", &coordinates, "format"_a = "selig", "np"_a = 161, "alpha"_a = 0.0, "name"_a = py::none(),
             "The coordinate file orvek-batch export writes, as text: format 'selig', 'lednicer' or\n"
             "'csv' (with 1 - Cp at alpha degrees), np surface points (odd: both surfaces share the\n"
             "leading-edge point), the name line (default: the airfoil's name). Values with 8\n"
             "decimals, chord 1, LF line ends. Raises ValueError when the airfoil cannot be\n"
             "calculated or is not a simple one, and for an unknown format.")
        .def_static("design", &design, py::kw_only(), "thickness"_a, "camber"_a = 0.0, "te_angle"_a = 0.0,
                    "The Karman-Trefftz airfoil of the given maximum thickness and camber (over chord) and\n"
                    "trailing-edge angle (degrees), as describe measures them: m = 2 - te_angle / 180, F\n"
                    "and G by a Newton iteration. Reachable: te_angle 0 to 30, camber -0.10 to 0.10,\n"
                    "thickness up to 0.30 and at least tan(te_angle / 4) + 0.01; ValueError otherwise.");
    addFlow(m, airfoil);
}
