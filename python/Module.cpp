// The Python module orvek: an airfoil, its calculation, polar, measurement, design and coordinate
// file, with numpy arrays. Every call computes without the GIL (the core touches no Python object),
// so threads calculate in parallel; a refusal of the core becomes ValueError with its sentence,
// an argument of the wrong type TypeError (pybind11's own checks).

#include "OrvekVersion.h"
#include "export/AirfoilCoordinates.h"
#include "python/Flow.h"
#include "python/PointArrays.h"
#include "solver/analysis/Describe.h"
#include "solver/analysis/Design.h"
#include "solver/analysis/PressureMinimum.h"
#include "solver/ShortestText.h"
#include "solver/surface/Solver.h"
#include "solver/analysis/Sweep.h"

#include <pybind11/operators.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace py = pybind11;
using namespace pybind11::literals;

namespace orvek::python {

namespace {

// The value of a calculation, or ValueError with the core's reason.
template <typename T>
T valueOrRaise(Expected<T>&& e) {
    if (!e) throw py::value_error(e.error());
    return std::move(*e);
}

// A number of points as the core takes it: any Python integer (int, numpy integers), never a
// float; out-of-range counts are the core's to refuse with its sentence.
double pointCount(const py::handle& np) {
    const py::object index = py::reinterpret_steal<py::object>(PyNumber_Index(np.ptr()));
    if (!index) throw py::error_already_set();  // TypeError: '...' object cannot be interpreted as an integer
    const double count = PyLong_AsDouble(index.ptr());
    if (count == -1.0 && PyErr_Occurred()) throw py::error_already_set();
    return count;
}

// One calculation as Python sees it: the coefficients and the surface points 1..NP.
struct Solution {
    Airfoil airfoil;
    double alpha = 0;
    Coefficients coefficients;
    PointArrays points;
};

Solution solve(const Airfoil& airfoil, double alpha, const py::handle& np) {
    SolverInput in;
    in.airfoil = airfoil;
    in.AlfaD = alpha;
    in.N1 = pointCount(np);
    Expected<SolverResult> r = [&] {
        py::gil_scoped_release release;
        return ORVEK(in);
    }();
    SolverResult result = valueOrRaise(std::move(r));
    return {airfoil, alpha, result.coefficients, pointArrays(std::move(result.points))};
}

template <typename Value>
py::array_t<double> column(const std::vector<SweepRow>& rows, Value value) {
    py::array_t<double> a(static_cast<py::ssize_t>(rows.size()));
    double* out = a.mutable_data();
    for (const SweepRow& r : rows) *out++ = value(r);
    return a;
}

py::dict sweepColumns(const Airfoil& airfoil, double first, double last, double step, const py::handle& np) {
    SweepInput in;
    in.airfoil = airfoil;
    in.from = first;
    in.to = last;
    in.step = step;
    in.N1 = pointCount(np);
    // The angles' own faults, in the sentence orvek-batch gives them.
    if (Expected<std::vector<double>> angles = sweepAngles(first, last, step); !angles) {
        throw py::value_error(angles.error());
    }
    Expected<std::vector<SweepRow>> computed = [&] {
        py::gil_scoped_release release;
        return sweep(in);
    }();
    const std::vector<SweepRow> rows = valueOrRaise(std::move(computed));
    py::list surface;
    for (const SweepRow& row : rows) surface.append(surfaceName(row.surface));
    py::dict columns;
    columns["alpha"] = column(rows, [](const SweepRow& r) { return r.alpha; });
    columns["CL"] = column(rows, [](const SweepRow& r) { return r.coefficients.CL; });
    columns["CMc4"] = column(rows, [](const SweepRow& r) { return r.coefficients.CMc4; });
    columns["Alfa0"] = column(rows, [](const SweepRow& r) { return r.coefficients.Alfa0; });
    columns["CpMin"] = column(rows, [](const SweepRow& r) { return r.CpMin; });
    columns["xCpMin"] = column(rows, [](const SweepRow& r) { return r.xCpMin; });
    columns["surface"] = py::module_::import("numpy").attr("array")(surface, "dtype"_a = "U5");
    return columns;
}

AirfoilGeometry describe(const Airfoil& airfoil) {
    py::gil_scoped_release release;
    return valueOrRaise(measureAirfoil(airfoil));
}

Airfoil design(double thickness, double camber, double teAngle) {
    py::gil_scoped_release release;
    return valueOrRaise(designAirfoil({thickness, camber, teAngle})).airfoil;
}

// The bytes `orvek-batch export` writes for the same airfoil, format, points, angle and name.
std::string coordinates(const Airfoil& airfoil, const std::string& formatName, const py::handle& np, double alpha,
                        const std::optional<std::string>& name) {
    const std::optional<CoordinateFormat> format = coordinateFormat(formatName);
    if (!format)
        throw py::value_error("Cannot export: the format must be selig, lednicer or csv, not '" + formatName + "'.");
    SolverInput in;
    in.airfoil = airfoil;
    in.N1 = pointCount(np);
    in.AlfaD = alpha;
    Expected<std::string> text = [&]() -> Expected<std::string> {
        py::gil_scoped_release release;
        Expected<SolverResult> r = ORVEK(in);
        if (!r) return Failure{r.error()};
        if (Status shape = simpleAirfoilFault(airfoil); !shape) return Failure{shape.error()};
        Expected<std::string> t = airfoilCoordinatesText(r->points, *format, name.value_or(airfoil.name()));
        return t;  // a refusal is already a sentence
    }();
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
    m.doc() =
        "Karman-Trefftz and Joukowsky airfoils by conformal mapping, exactly: coefficients, surface\n"
        "points and 1-Cp, polars, shape measurement, design from targets and coordinate files.\n\n"
        "Frame: chord 1, leading edge at x = 0, trailing edge at (1, 0); angles in degrees.";
    m.attr("__version__") = orvek::Version;

    py::class_<AirfoilGeometry>(m, "Geometry", "The measured shape of an airfoil along its exact contour (chord 1).")
        .def_readonly("Delta", &AirfoilGeometry::Delta, "maximum thickness over chord")
        .def_readonly("Gama", &AirfoilGeometry::Gama, "maximum camber over chord, signed")
        .def_readonly("xDltC", &AirfoilGeometry::xDltC, "chordwise position of the maximum thickness, over chord")
        .def_readonly("Tau", &AirfoilGeometry::Tau, "trailing-edge angle, degrees")
        .def_readonly("xGama", &AirfoilGeometry::xGama, "chordwise position of the maximum camber, over chord")
        .def("__repr__", [](const AirfoilGeometry& g) {
            return "Geometry(Delta=" + shortestText(g.Delta) + ", Gama=" + shortestText(g.Gama) +
                   ", xDltC=" + shortestText(g.xDltC) + ", Tau=" + shortestText(g.Tau) +
                   ", xGama=" + shortestText(g.xGama) + ")";
        });

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
            "one_minus_cp", [](const Solution& s) { return s.points.oneMinusCp; },
            "1 - Cp, the squared surface speed over the free stream's, float64[NP]")
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
                 return Airfoil{F, G, mExp};
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
        .def("solve", &solve, "alpha"_a, "np"_a = 51,
             "Calculates the airfoil at the angle of attack alpha (degrees, -360 to 360) with np surface\n"
             "points (an integer from 2 to 1000001): CL, CMc4 and Alfa0 in closed form, x, y and\n"
             "1 - Cp at every point (chord 1, leading edge at x = 0). Returns a Solution.\n"
             "Raises ValueError with the reason when the case cannot be calculated.")
        .def("sweep", &sweepColumns, "first"_a, "last"_a, "step"_a, "np"_a = 201,
             "A polar: one calculation per angle first, first + step, ... up to last inclusive (degrees;\n"
             "step may be negative), np surface points each. Returns a dict of column name to array:\n"
             "alpha (degrees), CL, CMc4, Alfa0 (degrees), CpMin (the least Cp over the points), xCpMin\n"
             "(its x over chord), all float64, and surface ('upper' or 'lower', the side of the\n"
             "suction peak); pandas.DataFrame takes it as it is. Raises ValueError when an angle\n"
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
