// The flow about the airfoil: the field against a quad-precision evaluation made from the circle
// plane, the surface and the lift it implies, the stream function on the body and on the
// streamlines, the far field, the stagnation points, and the VTK grid file read back.

#include "support/HighPrecisionFlow.h"
#include "support/SolveCase.h"
#include "export/StreamlineFiles.h"
#include "export/VtkGrid.h"
#include "solver/flow/FlowField.h"
#include "solver/flow/Streamlines.h"
#include "solver/surface/Solver.h"

#include <QtTest>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <random>
#include <sstream>

using orvek::FlowField;
using orvek::FlowPoint;
using orvek::FlowValues;

namespace {

// circulation: Gamma set by hand, NaN for the Kutta condition's
FlowField flowAbout(double F, double G, double m, double alphaDegrees, double circulation = std::nan("")) {
    orvek::Expected<FlowField> f =
        FlowField::make({F, G, m}, alphaDegrees, std::isnan(circulation) ? std::nullopt : std::optional(circulation));
    if (!f) qFatal("unexpected fault: %s", f.error().c_str());
    return *f;
}

// Within 1e-10, relative for values of magnitude 1 or more, absolute below.
bool close(double value, double exact, double tolerance = 1e-10) {
    return std::fabs(value - exact) <= tolerance * std::max(1.0, std::fabs(exact));
}

struct Sample {
    FlowPoint zeta;
    ExactFlowPoint exact;
};

// Points of the flow made in the circle plane and mapped out in quad precision, so the inverse
// mapping is never trusted: polar angles about the centre at random, distances from the circle
// spread over nine decades; kept when the image lies at least 1e-4 of a chord from the surface
// point of the same angle and at most 100 chords from the airfoil.
std::vector<Sample> flowSamples(const FlowField& f, int count, unsigned seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const FlowPoint c = f.centre();
    const double R = f.radius();
    std::vector<Sample> out;
    while (static_cast<int>(out.size()) < count) {
        const double theta = 2.0 * orvek::Pi * unit(random);
        const double rho = 1.0 + std::pow(10.0, -7.0 + 10.0 * unit(random));
        const FlowPoint zeta{c.x + R * rho * std::cos(theta), c.y + R * rho * std::sin(theta)};
        const double gamma = f.kutta() ? std::nan("") : f.circulation();
        const ExactFlowPoint e = exactFlowAt(f.airfoil(), f.alphaRadians(), zeta.x, zeta.y, gamma);
        const ExactFlowPoint foot =
            exactFlowAt(f.airfoil(), f.alphaRadians(), c.x + R * std::cos(theta), c.y + R * std::sin(theta), gamma);
        if (std::hypot(e.x - foot.x, e.y - foot.y) < 1e-4 || std::hypot(e.x - 0.5, e.y) > 100) continue;
        out.push_back({zeta, e});
    }
    return out;
}

// The y where the closed outline crosses the vertical line x, lowest and highest.
std::pair<double, double> outlineAt(const std::vector<FlowPoint>& outline, double x) {
    double lo = HUGE_VAL, hi = -HUGE_VAL;
    for (std::size_t k = 1; k < outline.size(); ++k) {
        const FlowPoint a = outline[k - 1], b = outline[k];
        if ((a.x - x) * (b.x - x) > 0 || a.x == b.x) continue;
        const double y = a.y + (x - a.x) / (b.x - a.x) * (b.y - a.y);
        lo = std::min(lo, y);
        hi = std::max(hi, y);
    }
    return {lo, hi};
}

// The circle-plane point just outside the surface at the solver's polar angle theta about the
// origin: zeta - 1, formed as the solver forms its circle points, then moved out by `out` radii.
std::pair<double, double> surfaceZetaMinusOne(const FlowField& f, double theta, double out) {
    const double F = f.airfoil().F, G = f.airfoil().G;
    const double p = -F * std::cos(theta) + G * std::sin(theta);
    const double r = p + std::sqrt((1.0 + 2.0 * F) + p * p);
    const double zx = r * std::cos(theta), zy = r * std::sin(theta);
    return {zx - 1.0 + out * (zx + F), zy + out * (zy - G)};
}

// --- a reader of legacy VTK files, written from the format's definition --------------------

struct VtkData {
    std::vector<std::string> header;  // the lines before the binary data
    std::size_t nx = 0, ny = 0;
    double origin[2] = {0, 0}, spacing[2] = {0, 0};
    std::vector<double> velocity, Cp, psi;
    std::vector<unsigned char> body;
    bool ok = false;
};

class VtkReader {
public:
    explicit VtkReader(const std::string& bytes) : b_(bytes) {}

    VtkData read() {
        VtkData d;
        for (int k = 0; k < 4; ++k) d.header.push_back(line());
        if (d.header[0] != "# vtk DataFile Version 3.0" || d.header[2] != "BINARY" ||
            d.header[3] != "DATASET STRUCTURED_POINTS") {
            return d;
        }
        std::size_t n = 0;
        for (;;) {
            const std::string l = line();
            if (l.empty() && at_ >= b_.size()) break;
            if (l.empty()) continue;
            std::istringstream words(l);
            std::string key;
            words >> key;
            if (key == "DIMENSIONS") {
                words >> d.nx >> d.ny;
            } else if (key == "ORIGIN") {
                words >> d.origin[0] >> d.origin[1];
            } else if (key == "SPACING") {
                words >> d.spacing[0] >> d.spacing[1];
            } else if (key == "POINT_DATA") {
                words >> n;
            } else if (key == "VECTORS") {
                std::string name, type;
                words >> name >> type;
                if (name != "velocity" || type != "double") return d;
                d.velocity = doubles(3 * n);
            } else if (key == "SCALARS") {
                std::string name, type;
                int components = 0;
                words >> name >> type >> components;
                if (line() != "LOOKUP_TABLE default" || components != 1) return d;
                if (name == "body" && type == "unsigned_char") {
                    d.body.assign(b_.begin() + static_cast<std::ptrdiff_t>(at_),
                                  b_.begin() + static_cast<std::ptrdiff_t>(at_ + n));
                    at_ += n;
                } else if (type == "double" && (name == "Cp" || name == "psi")) {
                    (name == "Cp" ? d.Cp : d.psi) = doubles(n);
                } else {
                    return d;
                }
            } else {
                return d;
            }
        }
        d.ok = n == d.nx * d.ny && d.velocity.size() == 3 * n && d.Cp.size() == n && d.psi.size() == n &&
               d.body.size() == n;
        return d;
    }

private:
    std::string line() {
        const std::size_t end = b_.find('\n', at_);
        const std::size_t stop = end == std::string::npos ? b_.size() : end;
        std::string l = b_.substr(at_, stop - at_);
        at_ = stop + 1;
        return l;
    }
    // n doubles, big-endian
    std::vector<double> doubles(std::size_t n) {
        std::vector<double> out(n);
        for (std::size_t k = 0; k < n; ++k) {
            std::uint64_t bits = 0;
            for (int j = 0; j < 8; ++j) bits = (bits << 8) | static_cast<unsigned char>(b_[at_ + 8 * k + j]);
            std::memcpy(&out[k], &bits, sizeof bits);
        }
        at_ += 8 * n;
        return out;
    }

    const std::string& b_;
    std::size_t at_ = 0;
};

}  // namespace

class TestFlowField : public QObject {
    Q_OBJECT
private slots:
    void againstHighPrecision_data() {
        QTest::addColumn<double>("F");
        QTest::addColumn<double>("G");
        QTest::addColumn<double>("m");
        QTest::addColumn<double>("alpha");
        QTest::addColumn<double>("circulation");  // NaN: the Kutta condition
        const double kutta = std::nan("");
        QTest::newRow("Joukowsky") << 0.1 << 0.05 << 2.0 << 5.0 << kutta;
        QTest::newRow("Joukowsky, thinnest, cambered") << 1e-6 << 0.1 << 2.0 << -4.0 << kutta;
        QTest::newRow("Joukowsky, thick, negative camber") << 0.3 << -0.08 << 2.0 << 12.0 << kutta;
        QTest::newRow("Joukowsky, symmetric") << 0.05 << 0.0 << 2.0 << 0.0 << kutta;
        QTest::newRow("Karman-Trefftz") << 0.1 << 0.05 << 1.9 << 5.0 << kutta;
        QTest::newRow("Karman-Trefftz, thinnest, negative camber") << 1e-6 << -0.1 << 1.95 << 3.0 << kutta;
        QTest::newRow("Karman-Trefftz, thick") << 0.3 << 0.1 << 1.8 << -8.0 << kutta;
        QTest::newRow("Karman-Trefftz, strongly cambered thin") << 0.02 << 0.12 << 1.9 << 2.0 << kutta;
        QTest::newRow("Karman-Trefftz, blunt trailing edge") << 0.15 << 0.04 << 1.5 << 20.0 << kutta;
        // the circulation by hand: none, less and more than Kutta's, and so much that the
        // stagnation points leave the body
        QTest::newRow("no circulation") << 0.1 << 0.05 << 1.9 << 5.0 << 0.0;
        QTest::newRow("Joukowsky, negative circulation") << 0.1 << 0.05 << 2.0 << 5.0 << -0.4;
        QTest::newRow("twice Kutta's, blunt") << 0.15 << 0.04 << 1.5 << 8.0 << 1.6;
        QTest::newRow("stagnation point off the body") << 0.1 << 0.05 << 1.9 << 5.0 << 5.0;
        QTest::newRow("off the body, the other way") << 0.1 << 0.05 << 2.0 << -3.0 << -6.0;
    }
    // Every value at points from 1e-4 of a chord off the surface to 100 chords away, from each
    // instruction set and split over threads, within 1e-10 of the quad-precision evaluation.
    void againstHighPrecision() {
        QFETCH(double, F);
        QFETCH(double, G);
        QFETCH(double, m);
        QFETCH(double, alpha);
        QFETCH(double, circulation);
        const FlowField f = flowAbout(F, G, m, alpha, circulation);
        const std::vector<Sample> samples = flowSamples(f, 250, 19);
        const std::size_t n = samples.size();
        std::vector<double> x(n), y(n), u(n), v(n), cp(n), psi(n);
        for (std::size_t k = 0; k < n; ++k) {
            x[k] = samples[k].exact.x;
            y[k] = samples[k].exact.y;
        }
        const auto check = [&](const char* how, std::size_t k, double uk, double vk, double cpk, double psik) {
            const ExactFlowPoint& e = samples[k].exact;
            if (close(uk, e.u) && close(vk, e.v) && close(cpk, e.Cp) && close(psik, e.psi)) return true;
            qWarning("%s at (%.17g, %.17g): u %.17g/%.17g v %.17g/%.17g Cp %.17g/%.17g psi %.17g/%.17g", how, e.x, e.y,
                     uk, e.u, vk, e.v, cpk, e.Cp, psik, e.psi);
            return false;
        };
        for (std::size_t k = 0; k < n; ++k) {
            const FlowValues a = f.at({x[k], y[k]});
            QVERIFY(!a.inside);
            QVERIFY(check("at", k, a.u, a.v, a.Cp, a.psi));
        }
        for (orvek::InstructionSet set : {orvek::InstructionSet::Scalar, orvek::InstructionSet::Sse2,
                                          orvek::InstructionSet::Avx2, orvek::InstructionSet::Avx512}) {
            if (!orvek::instructionSetAvailable(set)) continue;
            for (unsigned threads : {1u, 2u}) {
                f.evaluate({n, x.data(), y.data(), u.data(), v.data(), cp.data(), psi.data()}, set, threads);
                for (std::size_t k = 0; k < n; ++k)
                    QVERIFY(check(orvek::instructionSetName(set), k, u[k], v[k], cp[k], psi[k]));
            }
        }
    }

    // The principal root would send points below a strongly cambered thin airfoil into the circle;
    // the field gives them their values and leaves the points inside the airfoil empty.
    void belowStronglyCamberedAirfoil() {
        const FlowField f = flowAbout(0.02, 0.12, 2.0, 3.0);
        const std::vector<FlowPoint> outline = orvek::bodyOutline(f, orvek::StreamPlane::Airfoil);
        for (double x : {0.2, 0.5, 0.8}) {
            const auto [lower, upper] = outlineAt(outline, x);
            QVERIFY(lower > 0.02);  // the chord line runs below the lower surface
            const FlowPoint below{x, 0.5 * lower};
            const FlowValues v = f.at(below);
            QVERIFY(!v.inside);
            const FlowPoint zeta = f.toCircle(below);
            const FlowPoint c = f.centre();
            QVERIFY(std::hypot(zeta.x - c.x, zeta.y - c.y) > f.radius());
            const ExactFlowPoint e = exactFlowAt(f.airfoil(), f.alphaRadians(), zeta.x, zeta.y);
            QVERIFY(close(e.x, below.x, 1e-12) && close(e.y, below.y, 1e-12));
            QVERIFY(close(v.u, e.u) && close(v.v, e.v) && close(v.Cp, e.Cp) && close(v.psi, e.psi));
            const FlowValues inside = f.at({x, 0.5 * (lower + upper)});
            QVERIFY(inside.inside);
            QVERIFY(std::isnan(inside.u) && std::isnan(inside.v) && std::isnan(inside.Cp) && std::isnan(inside.psi));
        }
    }

    void surfaceMatchesSolver_data() {
        QTest::addColumn<double>("F");
        QTest::addColumn<double>("G");
        QTest::addColumn<double>("m");
        QTest::addColumn<double>("alpha");
        QTest::newRow("Joukowsky") << 0.1 << 0.05 << 2.0 << 5.0;
        QTest::newRow("Karman-Trefftz") << 0.12 << 0.1 << 1.95 << -2.0;
        QTest::newRow("negative camber, large angle") << 0.08 << -0.06 << 1.85 << 15.0;
    }
    // The forward mapping lands on the solver's surface points, the speed just off the surface is
    // the solver's, and the circulation around the airfoil gives the solver's lift.
    void surfaceMatchesSolver() {
        QFETCH(double, F);
        QFETCH(double, G);
        QFETCH(double, m);
        QFETCH(double, alpha);
        const FlowField f = flowAbout(F, G, m, alpha);
        const double N1 = 201;
        const orvek::SolverResult s = solveCase(F, G, m, alpha, N1);
        const double dTheta = (2.0 * orvek::Pi) / (N1 - 1);
        for (std::size_t i = 2; i <= 100; ++i) {
            const double theta = -((static_cast<double>(i) - 1.0) * dTheta);
            const auto [eRe, eIm] = surfaceZetaMinusOne(f, theta, 0.0);
            const FlowPoint z = f.toAirfoil(eRe, eIm);
            QVERIFY(std::fabs(z.x - s.points.x[i]) < 1e-14 && std::fabs(z.y - s.points.y[i]) < 1e-14);
            const auto [oRe, oIm] = surfaceZetaMinusOne(f, theta, 1e-9);
            const FlowValues v = f.at(f.toAirfoil(oRe, oIm));
            QVERIFY(!v.inside);
            QVERIFY2(std::fabs((v.u * v.u + v.v * v.v) - s.points.Cu[i]) < 1e-6, qPrintable(QString::number(i)));
            QVERIFY(std::fabs(v.psi) < 1e-8);
        }
        // -circulation = counter-clockwise integral of u dx + v dy around a circle of 3 chords
        const int n = 4000;
        double integral = 0;
        for (int k = 0; k < n; ++k) {
            const double a = 2.0 * orvek::Pi * k / n;
            const FlowValues v = f.at({0.5 + 3.0 * std::cos(a), 3.0 * std::sin(a)});
            integral += (-v.u * std::sin(a) + v.v * std::cos(a)) * 3.0 * (2.0 * orvek::Pi / n);
        }
        QVERIFY(std::fabs(-2.0 * integral - s.coefficients.CL) < 1e-9);
    }

    void circulationByHand_data() {
        QTest::addColumn<double>("F");
        QTest::addColumn<double>("G");
        QTest::addColumn<double>("m");
        QTest::addColumn<double>("alpha");
        QTest::addColumn<double>("times");  // the circulation, times the Kutta value
        QTest::addColumn<double>("plus");   // and plus this
        QTest::addColumn<int>("points");    // stagnation points in the flow
        QTest::newRow("none, symmetric flow about the circle") << 0.1 << 0.05 << 1.9 << 5.0 << 0.0 << 0.0 << 2;
        QTest::newRow("half Kutta's, Joukowsky") << 0.1 << 0.05 << 2.0 << 5.0 << 0.5 << 0.0 << 2;
        QTest::newRow("twice Kutta's, negative angle") << 0.12 << 0.1 << 1.95 << -6.0 << 2.0 << 0.0 << 2;
        QTest::newRow("-2 times Kutta's") << 0.1 << 0.05 << 1.9 << 5.0 << -2.0 << 0.0 << 2;
        QTest::newRow("off the body, above") << 0.1 << 0.05 << 1.9 << 5.0 << 0.0 << -4.0 << 1;
        QTest::newRow("off the body, below") << 0.1 << 0.05 << 2.0 << 5.0 << 0.0 << 4.0 << 1;
    }
    // Gamma set by hand: the circulation around the airfoil is Gamma, the Kutta value is half the
    // solver's CL (and set by hand gives the Kutta flow's values), the velocity is zero at the
    // stagnation points said (on the circle or, for a large Gamma, one free in the flow), and
    // without circulation the flow about the circle is symmetric: the points at alpha and
    // alpha + pi about the centre.
    void circulationByHand() {
        QFETCH(double, F);
        QFETCH(double, G);
        QFETCH(double, m);
        QFETCH(double, alpha);
        QFETCH(double, times);
        QFETCH(double, plus);
        QFETCH(int, points);
        const FlowField kutta = flowAbout(F, G, m, alpha);
        QVERIFY(kutta.kutta());
        const orvek::SolverResult s = solveCase(F, G, m, alpha, 201);
        QVERIFY(std::fabs(kutta.kuttaCirculation() - s.coefficients.CL / 2) < 1e-14);
        const FlowField same = flowAbout(F, G, m, alpha, kutta.kuttaCirculation());
        for (const FlowPoint p : {FlowPoint{-0.3, 0.2}, FlowPoint{1.0 + 1e-6, 1e-7}, FlowPoint{0.5, -0.4}}) {
            const FlowValues a = kutta.at(p), b = same.at(p);
            QVERIFY(close(a.u, b.u, 1e-12) && close(a.v, b.v, 1e-12) && close(a.psi, b.psi, 1e-12));
        }

        const double gamma = times * kutta.kuttaCirculation() + plus;
        const FlowField f = flowAbout(F, G, m, alpha, gamma);
        QVERIFY(!f.kutta());
        QCOMPARE(f.circulation(), gamma);
        const int n = 4000;
        double integral = 0;  // counter-clockwise, the negative of the circulation
        for (int k = 0; k < n; ++k) {
            const double a = 2.0 * orvek::Pi * k / n;
            const FlowValues v = f.at({0.5 + 3.0 * std::cos(a), 3.0 * std::sin(a)});
            integral += (-v.u * std::sin(a) + v.v * std::cos(a)) * 3.0 * (2.0 * orvek::Pi / n);
        }
        QVERIFY2(std::fabs(integral + gamma) < 1e-9, qPrintable(QString::number(integral + gamma)));

        const std::vector<FlowPoint> circlePoints = f.stagnationPoints(orvek::StreamPlane::Circle),
                                     st = f.stagnationPoints();
        QCOMPARE(static_cast<int>(circlePoints.size()), points);
        QCOMPARE(st.size(), circlePoints.size());
        const FlowPoint c = f.centre();
        for (std::size_t k = 0; k < st.size(); ++k) {
            const FlowPoint zeta = circlePoints[k];
            const double rho = std::hypot(zeta.x - c.x, zeta.y - c.y) / f.radius();
            QVERIFY(points == 2 ? std::fabs(rho - 1) < 1e-14 : rho > 1.01);
            const FlowValues v = f.atCircle({c.x + (zeta.x - c.x) * (1 + 1e-12), c.y + (zeta.y - c.y) * (1 + 1e-12)});
            QVERIFY2(std::hypot(v.u, v.v) < 1e-9, qPrintable(QString::number(std::hypot(v.u, v.v))));
            const FlowPoint z = f.toAirfoil(zeta.x - 1.0, zeta.y);
            QVERIFY(std::hypot(z.x - st[k].x, z.y - st[k].y) < 1e-12);
            if (points == 1) QVERIFY(std::hypot(f.at(z).u, f.at(z).v) < 1e-9);
        }
        if (gamma == 0.0) {
            const double a = f.alphaRadians();
            QVERIFY(std::fabs(circlePoints[1].x - (c.x + f.radius() * std::cos(a))) < 1e-14);
            QVERIFY(std::fabs(circlePoints[1].y - (c.y + f.radius() * std::sin(a))) < 1e-14);
            QVERIFY(std::fabs(circlePoints[0].x - (c.x - f.radius() * std::cos(a))) < 1e-14);
        }
        // the sharp trailing edge: infinite speed, unless the Kutta condition holds there
        const FlowValues edge = f.at({1.0, 0.0});
        QVERIFY(std::isinf(edge.u) && edge.Cp == -HUGE_VAL);
        QVERIFY(std::isfinite(kutta.at({1.0, 0.0}).u));
    }

    void farFieldIsTheFreeStream_data() {
        QTest::addColumn<double>("G");
        QTest::addColumn<double>("alpha");
        QTest::addColumn<double>("decay");  // 1: circulation, 1/r; 2: none, 1/r^2
        QTest::newRow("lifting") << 0.05 << 5.0 << 1.0;
        QTest::newRow("negative lift") << -0.03 << -8.0 << 1.0;
        QTest::newRow("no lift") << 0.0 << 0.0 << 2.0;
    }
    void farFieldIsTheFreeStream() {
        QFETCH(double, G);
        QFETCH(double, alpha);
        QFETCH(double, decay);
        const FlowField f = flowAbout(0.1, G, 1.9, alpha);
        const double a = alpha * orvek::Pi / 180;
        for (double direction : {0.3, 1.9, 3.5, 5.0}) {
            double deviation[2];
            int k = 0;
            for (double r : {10.0, 100.0}) {
                const FlowValues v = f.at({0.5 + r * std::cos(direction), r * std::sin(direction)});
                deviation[k++] = std::hypot(v.u - std::cos(a), v.v - std::sin(a));
            }
            // ten times farther: the disturbance falls by 10 (circulation) or 100 (no lift)
            const double expected = std::pow(10.0, -decay);
            QVERIFY2(deviation[1] < 1.3 * expected * deviation[0] && deviation[1] > 0.7 * expected * deviation[0],
                     qPrintable(QString("%1 %2").arg(deviation[0]).arg(deviation[1])));
        }
    }

    void stagnationPoints_data() {
        QTest::addColumn<double>("F");
        QTest::addColumn<double>("G");
        QTest::addColumn<double>("m");
        QTest::addColumn<double>("alpha");
        QTest::newRow("Joukowsky, cusp") << 0.1 << 0.05 << 2.0 << 5.0;
        QTest::newRow("Karman-Trefftz, corner") << 0.1 << 0.05 << 1.9 << 5.0;
        QTest::newRow("symmetric, no incidence") << 0.1 << 0.0 << 1.9 << 0.0;
        QTest::newRow("negative angle") << 0.12 << 0.1 << 1.95 << -6.0;
        // At its ideal angle a circular arc's front stagnation point is the critical point zeta = -1.
        QTest::newRow("circular arc at its ideal angle") << 0.0 << 0.08 << 2.0 << 0.0;
    }
    // The front stagnation point is where the surface speed is least, near the leading edge;
    // the trailing edge is one for a corner and none for a cusp.
    void stagnationPoints() {
        QFETCH(double, F);
        QFETCH(double, G);
        QFETCH(double, m);
        QFETCH(double, alpha);
        const FlowField f = flowAbout(F, G, m, alpha);
        const std::vector<FlowPoint> st = f.stagnationPoints();
        QCOMPARE(st.size(), m == 2.0 ? std::size_t{1} : std::size_t{2});
        if (st.size() == 2) QVERIFY(st[1].x == 1.0 && st[1].y == 0.0);
        const orvek::SolverResult s = solveCase(F, G, m, alpha, 20001);
        std::size_t slowest = 0;
        double least = HUGE_VAL;
        for (std::size_t i = 2; i + 1 < s.points.x.size(); ++i) {
            if (s.points.x[i] < 0.5 && s.points.Cu[i] < least) {
                least = s.points.Cu[i];
                slowest = i;
            }
        }
        QVERIFY(std::hypot(st[0].x - s.points.x[slowest], st[0].y - s.points.y[slowest]) < 1e-3);
        if ((G == 0.0 || F == 0.0) && alpha == 0.0) QVERIFY(std::hypot(st[0].x, st[0].y) < 1e-12);
        // About the circle both zeros of dW/dzeta, the trailing edge too; the front one maps onto st[0].
        const std::vector<FlowPoint> circle = f.stagnationPoints(orvek::StreamPlane::Circle);
        QCOMPARE(circle.size(), std::size_t{2});
        for (const FlowPoint& p : circle) QVERIFY(std::hypot(f.atCircle(p).u, f.atCircle(p).v) < 1e-12);
        const FlowPoint front = f.toAirfoil(circle[0].x - 1.0, circle[0].y);
        QVERIFY(std::hypot(front.x - st[0].x, front.y - st[0].y) < 1e-9);
    }

    void streamlinesFollowTheirLevels_data() {
        QTest::addColumn<double>("F");
        QTest::addColumn<double>("G");
        QTest::addColumn<double>("m");
        QTest::addColumn<double>("alpha");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("circle");
        QTest::addColumn<double>("circulation");  // NaN: the Kutta condition
        const double kutta = std::nan("");
        QTest::newRow("Karman-Trefftz, default request") << 0.1 << 0.05 << 1.9 << 5.0 << 21 << false << kutta;
        QTest::newRow("Joukowsky, strongly cambered") << 0.02 << 0.12 << 2.0 << 3.0 << 15 << false << kutta;
        QTest::newRow("negative angle, few lines") << 0.12 << 0.1 << 1.95 << -10.0 << 4 << false << kutta;
        QTest::newRow("circle plane") << 0.1 << 0.05 << 1.9 << 5.0 << 21 << true << kutta;
        QTest::newRow("no circulation") << 0.1 << 0.05 << 1.9 << 5.0 << 21 << false << 0.0;
        QTest::newRow("Joukowsky, negative circulation") << 0.1 << 0.05 << 2.0 << 5.0 << 15 << false << -0.5;
        QTest::newRow("no circulation, circle plane") << 0.1 << 0.05 << 1.9 << 5.0 << 21 << true << 0.0;
        QTest::newRow("stagnation point off the body") << 0.1 << 0.05 << 1.9 << 5.0 << 21 << false << 4.0;
        QTest::newRow("off the body, circle plane") << 0.1 << 0.05 << 2.0 << 5.0 << 21 << true << -3.6;
    }
    // Every point lies on its level; the levels are evenly spaced and include 0; the lines are
    // finely spaced; psi = 0 runs from upstream through the front stagnation point around the
    // body and leaves the trailing edge downstream.
    void streamlinesFollowTheirLevels() {
        QFETCH(double, F);
        QFETCH(double, G);
        QFETCH(double, m);
        QFETCH(double, alpha);
        QFETCH(int, count);
        QFETCH(bool, circle);
        QFETCH(double, circulation);
        const FlowField f = flowAbout(F, G, m, alpha, circulation);
        orvek::StreamlineRequest rq;
        rq.count = count;
        if (circle) {
            rq.plane = orvek::StreamPlane::Circle;
            rq.extent = orvek::Extent{-3, 3, -2, 2};
        }
        const auto lines = orvek::streamlines(f, rq);
        QVERIFY(lines.ok());
        const auto values = [&](FlowPoint p) { return circle ? f.atCircle(p) : f.at(p); };
        std::vector<double> levels;
        int dividing = 0;
        for (const orvek::Streamline& line : *lines) {
            QVERIFY(line.points.size() > 1);
            if (levels.empty() || levels.back() != line.psi) levels.push_back(line.psi);
            for (std::size_t k = 0; k < line.points.size(); ++k) {
                const FlowValues v = values(line.points[k]);
                // the dividing streamline's stretch along the contour lies on the body itself
                QVERIFY((line.dividing && v.inside) || std::fabs(v.psi - line.psi) <= 1e-9);
                if (k > 0) {
                    const double gap =
                        std::hypot(line.points[k].x - line.points[k - 1].x, line.points[k].y - line.points[k - 1].y);
                    QVERIFY(gap <= orvek::StreamlineSpacing * (1 + 1e-9));
                }
            }
            dividing += line.dividing ? 1 : 0;
        }
        const bool offBody = f.stagnationPoints(orvek::StreamPlane::Circle).size() == 1;
        // off the body the values of psi entering the box may all lie to one side of 0, and a level
        // next to 0 then touch no edge
        QVERIFY(offBody ? static_cast<int>(levels.size()) >= count - 1 : static_cast<int>(levels.size()) == count);
        QCOMPARE(dividing, 2);
        QVERIFY(std::find(levels.begin(), levels.end(), 0.0) != levels.end());
        for (std::size_t k = 2; k < levels.size(); ++k) {
            QVERIFY(std::fabs((levels[k] - levels[k - 1]) - (levels[1] - levels[0])) < 1e-12);
        }

        const orvek::Streamline* over = nullptr;
        const orvek::Streamline* under = nullptr;
        for (const orvek::Streamline& line : *lines) {
            if (line.dividing) (over == nullptr ? over : under) = &line;
        }
        const std::vector<FlowPoint> circlePoints = f.stagnationPoints(orvek::StreamPlane::Circle);
        if (circlePoints.size() == 1) {
            // the stagnation points off the body: psi = 0 is the contour, closed, and a line
            // passing it from upstream to downstream, outside it all along
            const bool overPasses = over->points.front().x != over->points.back().x;
            const orvek::Streamline& passing = overPasses ? *over : *under;
            const orvek::Streamline& contour = overPasses ? *under : *over;
            QVERIFY(std::hypot(contour.points.front().x - contour.points.back().x,
                               contour.points.front().y - contour.points.back().y) < 1e-12);
            const auto out = [&](FlowPoint p) { return !rq.extent.contains(p); };
            QVERIFY(out(passing.points.front()) && out(passing.points.back()));
            QVERIFY(passing.points.front().x < passing.points.back().x);
            for (const FlowPoint p : passing.points) QVERIFY(!values(p).inside);
            return;
        }
        // the first dividing line passes the front stagnation point and the rear one (the trailing
        // edge by the Kutta condition), after which it moves on downstream; the second ends there
        const auto shown = [&](FlowPoint zeta) { return circle ? zeta : f.toAirfoil(zeta.x - 1.0, zeta.y); };
        const FlowPoint front = shown(circlePoints[0]), rear = shown(circlePoints[1]);
        const double near = f.kutta() ? 1e-12 : 1e-9;
        bool passesFront = false, passesEdge = false;
        for (std::size_t k = 0; k < over->points.size(); ++k) {
            const FlowPoint p = over->points[k];
            passesFront = passesFront || std::hypot(p.x - front.x, p.y - front.y) < 1e-9;
            if (std::hypot(p.x - rear.x, p.y - rear.y) < near) {
                passesEdge = true;
                QVERIFY(k + 1 < over->points.size());
                const FlowPoint next = over->points[k + 1];
                if (f.kutta()) QVERIFY(next.x - rear.x > 0.0);
                QVERIFY(std::fabs(values(next).psi) <= 1e-9);
            }
        }
        QVERIFY(passesFront && passesEdge);
        QVERIFY(std::hypot(under->points.back().x - rear.x, under->points.back().y - rear.y) < near);
    }

    void streamlineRequestFaults() {
        const FlowField f = flowAbout(0.1, 0.05, 1.9, 5.0);
        orvek::StreamlineRequest rq;
        rq.extent.x1 = rq.extent.x0;
        QVERIFY(!orvek::streamlines(f, rq).ok());
        rq = {};
        rq.extent.y0 = 2;
        QVERIFY(!orvek::streamlines(f, rq).ok());
        for (int count : {0, orvek::MaxStreamlines + 1}) {
            rq = {};
            rq.count = count;
            QVERIFY(!orvek::streamlines(f, rq).ok());
        }
    }

    void airfoilFaults_data() {
        QTest::addColumn<double>("F");
        QTest::addColumn<double>("m");
        QTest::addColumn<double>("alpha");
        QTest::newRow("F below 0") << -0.1 << 2.0 << 0.0;
        QTest::newRow("m above 2") << 0.1 << 2.1 << 0.0;
        QTest::newRow("m of 0") << 0.1 << 0.0 << 0.0;
        QTest::newRow("F not a number") << std::nan("") << 2.0 << 0.0;
        QTest::newRow("angle beyond a turn") << 0.1 << 2.0 << 361.0;
        QTest::newRow("F beyond the calculated domain") << 1e20 << 2.0 << 5.0;
    }
    void airfoilFaults() {
        QFETCH(double, F);
        QFETCH(double, m);
        QFETCH(double, alpha);
        const orvek::Expected<FlowField> f = FlowField::make({F, 0.05, m}, alpha);
        QVERIFY(!f.ok());
        // the solver's sentence where it refuses, the measurement's for a shape it calculates
        const orvek::Status simple = orvek::checkSimpleAirfoil({F, 0.05, m});
        QVERIFY(f.error().find(simple ? "Cannot calculate: the angle" : simple.error()) == 0);
    }

    // The VTK file read back as its format defines it: header, grid, the four arrays, NaN inside.
    void vtkFileReadsBack() {
        const FlowField f = flowAbout(0.1, 0.05, 1.9, 5.0);
        orvek::GridShape shape;
        shape.nx = 13;
        shape.ny = 7;
        shape.x0 = -0.5;
        shape.y0 = -0.3;
        shape.dx = 2.0 / 12;
        shape.dy = 0.1;
        orvek::VtkGridFile file(shape, "Karman-Trefftz F=0.1\nG=0.05");
        std::vector<double> x(shape.nx), y(shape.nx), u(shape.nx), v(shape.nx), cp(shape.nx), psi(shape.nx);
        std::vector<double> all[4];
        for (std::size_t j = 0; j < shape.ny; ++j) {
            for (std::size_t i = 0; i < shape.nx; ++i) {
                x[i] = shape.x0 + static_cast<double>(i) * shape.dx;
                y[i] = shape.y0 + static_cast<double>(j) * shape.dy;
            }
            orvek::FlowRun run{shape.nx, x.data(), y.data(), u.data(), v.data(), cp.data(), psi.data()};
            f.evaluate(run);
            file.setPoints(j * shape.nx, shape.nx, u.data(), v.data(), cp.data(), psi.data());
            for (std::size_t i = 0; i < shape.nx; ++i) {
                all[0].push_back(u[i]);
                all[1].push_back(v[i]);
                all[2].push_back(cp[i]);
                all[3].push_back(psi[i]);
            }
        }
        const std::string bytes = file.bytes();
        const VtkData d = VtkReader(bytes).read();
        QVERIFY(d.ok);
        QCOMPARE(d.header[1], std::string("Karman-Trefftz F=0.1 G=0.05"));
        QCOMPARE(d.nx, shape.nx);
        QCOMPARE(d.ny, shape.ny);
        QCOMPARE(d.origin[0], shape.x0);
        QCOMPARE(d.spacing[0], shape.dx);
        const auto same = [](double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; };
        std::size_t inside = 0;
        for (std::size_t k = 0; k < shape.nx * shape.ny; ++k) {
            QVERIFY(same(d.velocity[3 * k], all[0][k]) && same(d.velocity[3 * k + 1], all[1][k]));
            QCOMPARE(d.velocity[3 * k + 2], 0.0);
            QVERIFY(same(d.Cp[k], all[2][k]) && same(d.psi[k], all[3][k]));
            QCOMPARE(d.body[k] == 1, std::isnan(all[0][k]));
            inside += d.body[k];
        }
        QVERIFY(inside > 0 && inside < 10);  // the row y = 0 crosses the airfoil
    }

    // CSV of streamlines: a header, lines numbered from 1, each row back to its point.
    void streamlineCsvReadsBack() {
        const FlowField f = flowAbout(0.1, 0.05, 2.0, 5.0);
        orvek::StreamlineRequest rq;
        rq.count = 5;
        const auto lines = orvek::streamlines(f, rq);
        QVERIFY(lines.ok());
        orvek::StringOutput out;
        orvek::writeStreamlinesCsv(out, *lines);
        const std::string csv = out.text();
        std::istringstream in(csv);
        std::string row;
        std::getline(in, row);
        QCOMPARE(row, std::string("line,psi,x,y"));
        std::size_t line = 1, point = 0;
        while (std::getline(in, row)) {
            std::istringstream fields(row);
            std::string a, b, c, d;
            std::getline(fields, a, ',');
            std::getline(fields, b, ',');
            std::getline(fields, c, ',');
            std::getline(fields, d, ',');
            if (std::stoul(a) != line) {
                QCOMPARE(point, (*lines)[line - 1].points.size());
                QCOMPARE(std::stoul(a), line + 1);
                ++line;
                point = 0;
            }
            const orvek::Streamline& s = (*lines)[line - 1];
            QCOMPARE(std::stod(b), s.psi);
            QCOMPARE(std::stod(c), s.points[point].x);
            QCOMPARE(std::stod(d), s.points[point].y);
            ++point;
        }
        QCOMPARE(line, lines->size());
    }
};

QTEST_GUILESS_MAIN(TestFlowField)
#include "test_flowfield.moc"
