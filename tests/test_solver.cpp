// The solver's figures, index layout, faults, and agreement with the plain transcription.

#include "support/ReferenceSolver.h"
#include "support/SolveCase.h"
#include "case/Driver.h"
#include "solver/surface/Solver.h"

#include <QtTest>

#include <cmath>

using orvek::SolverInput;
using orvek::SolverResult;

namespace {

// Agreement to the digits a figure shows: within half a unit of its last decimal.
bool agrees(double value, double shown, int decimals) {
    return std::fabs(value - shown) <= 0.5 * std::pow(10.0, -decimals) + 1e-15;
}

// Whether the plain transcription keeps its digits at index i: within about 0.05 radians of the
// critical points zeta = 1 (trailing edge) and zeta = -1 (next to the leading edge) it forms
// |zeta -+ 1|^2 and the circle speed as small differences of numbers near 1 and loses them.
bool wellConditioned(std::size_t i, double N1) {
    const double stepsFromTrailingEdge = std::min(static_cast<double>(i) - 1, N1 - static_cast<double>(i));
    const double theta = stepsFromTrailingEdge * 2 * M_PI / (N1 - 1);
    return theta >= 0.05 && M_PI - theta >= 0.05;
}

}  // namespace

class TestSolver : public QObject {
    Q_OBJECT
private slots:
    void coefficients_data() {
        QTest::addColumn<double>("F");
        QTest::addColumn<double>("G");
        QTest::addColumn<double>("m");
        QTest::addColumn<double>("AlfaD");
        QTest::addColumn<double>("CL");
        QTest::addColumn<double>("CMc4");
        QTest::addColumn<double>("Alfa0");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("Joukowsky") << 0.1 << 0.05 << 2.0 << 5.0 << 0.9077762 << -0.0742389 << -2.6025622
                                   << QStringList{"0.908", "-0.074", "-2.6"};
        QTest::newRow("Karman-Trefftz 1.95") << 0.12 << 0.1 << 1.95 << -2.0 << 0.3871122 << -0.1395738 << -5.1021653
                                             << QStringList{"0.387", "-0.14", "-5.1"};
        QTest::newRow("Karman-Trefftz 1.9") << 0.1 << 0.05 << 1.9 << 5.0 << 0.9533961 << -0.0900565 << -2.6025622
                                            << QStringList{"0.953", "-0.09", "-2.6"};
        QTest::newRow("symmetric at zero angle")
            << 0.1 << 0.0 << 2.0 << 0.0 << 0.0 << 0.0 << 0.0 << QStringList{"0", "0", "0"};
    }
    void coefficients() {
        QFETCH(double, F);
        QFETCH(double, G);
        QFETCH(double, m);
        QFETCH(double, AlfaD);
        QFETCH(double, CL);
        QFETCH(double, CMc4);
        QFETCH(double, Alfa0);
        QFETCH(QStringList, texts);
        const SolverResult r = solveCase(caseInput(F, G, m, AlfaD));
        QVERIFY2(agrees(r.coefficients.CL, CL, 7), qPrintable(QString::number(r.coefficients.CL, 'g', 17)));
        QVERIFY2(agrees(r.coefficients.CMc4, CMc4, 7), qPrintable(QString::number(r.coefficients.CMc4, 'g', 17)));
        QVERIFY2(agrees(r.coefficients.Alfa0, Alfa0, 7), qPrintable(QString::number(r.coefficients.Alfa0, 'g', 17)));
        const orvek::CoefficientTexts shown = orvek::coefficientTexts(r.coefficients);
        QCOMPARE((QStringList{QString::fromStdString(shown.CL), QString::fromStdString(shown.CMc4),
                              QString::fromStdString(shown.Alfa0)}),
                 texts);
    }

    // The moment of m = 1 (the circle itself) is checked against the integrated pressure with the
    // other shapes (test_physics).
    void mappingScale() {
        const SolverResult r = solveCase(caseInput(0.1, 0.05, 2, 5));
        QVERIFY(std::fabs(r.k.b - 30.0 / 121.0) < 1e-15);
        QCOMPARE(r.k.b, orvek::Airfoil({0.1, 0.05, 2}).mappingScale());
    }

    void zeroLiftAngle() {
        const SolverResult base = solveCase(caseInput(0.12, 0.1, 1.95, 0));
        const SolverResult atZero = solveCase(caseInput(0.12, 0.1, 1.95, base.coefficients.Alfa0));
        QVERIFY(std::fabs(atZero.coefficients.CL) < 1e-15);
        QVERIFY(std::fabs(atZero.coefficients.CMc4 - atZero.k.CM0) < 1e-15);
    }

    void surfacePoints_data() {
        QTest::addColumn<double>("F");
        QTest::addColumn<double>("G");
        QTest::addColumn<double>("m");
        QTest::addColumn<double>("AlfaD");
        QTest::addColumn<double>("N1");
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("Cu");  // NaN: not checked
        const double skip = std::nan("");
        QTest::newRow("51: middle") << 0.1 << 0.05 << 2.0 << 5.0 << 51.0 << 26 << 0.0 << 0.0 << 1.299078;
        QTest::newRow("51: index 2") << 0.1 << 0.05 << 2.0 << 5.0 << 51.0 << 2 << 0.996096 << 0.000309 << 0.786737;
        QTest::newRow("51: index 25") << 0.1 << 0.05 << 2.0 << 5.0 << 51.0 << 25 << 0.004544 << -0.010989 << skip;
        QTest::newRow("51: index 27") << 0.1 << 0.05 << 2.0 << 5.0 << 51.0 << 27 << 0.003520 << 0.011709 << skip;
        QTest::newRow("51: trailing edge 1") << 0.1 << 0.05 << 2.0 << 5.0 << 51.0 << 1 << 1.0 << 0.0 << 0.810306;
        QTest::newRow("51: trailing edge 51") << 0.1 << 0.05 << 2.0 << 5.0 << 51.0 << 51 << 1.0 << 0.0 << 0.810306;
        QTest::newRow("symmetric: leading-edge stagnation")
            << 0.1 << 0.0 << 2.0 << 0.0 << 51.0 << 26 << 0.0 << 0.0 << 0.0;
        QTest::newRow("symmetric: cusp speed") << 0.1 << 0.0 << 2.0 << 0.0 << 51.0 << 1 << 1.0 << 0.0 << 0.826446;
        QTest::newRow("corner trailing edge 1") << 0.12 << 0.1 << 1.95 << 3.0 << 51.0 << 1 << 1.0 << 0.0 << 0.0;
        QTest::newRow("corner trailing edge N1") << 0.12 << 0.1 << 1.95 << 3.0 << 51.0 << 51 << 1.0 << 0.0 << 0.0;
        QTest::newRow("N1 3: middle written twice") << 0.1 << 0.05 << 2.0 << 5.0 << 3.0 << 2 << 0.0 << 0.0 << skip;
        QTest::newRow("N1 2: trailing edge only") << 0.1 << 0.05 << 2.0 << 5.0 << 2.0 << 2 << 1.0 << 0.0 << 0.810306;
        // Mended surface angle: the principal argument keeps points on their own side.
        QTest::newRow("negative camber, upper side")
            << 0.1 << -0.05 << 1.9 << 5.0 << 51.0 << 44 << skip << 0.0233954 << skip;
        QTest::newRow("r = 1 decided by sin") << 0.1 << 0.1 << 1.9 << 0.0 << 41.0 << 11 << skip << -0.0389375 << skip;
        // Mended centre angle for F = 0: the circular-arc airfoil's speeds.
        QTest::newRow("circular arc") << 0.0 << 0.05 << 2.0 << 5.0 << 51.0 << 27 << skip << skip << 5.765423;
    }
    void surfacePoints() {
        QFETCH(double, F);
        QFETCH(double, G);
        QFETCH(double, m);
        QFETCH(double, AlfaD);
        QFETCH(double, N1);
        QFETCH(int, index);
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(double, Cu);
        const SolverResult r = solveCase(caseInput(F, G, m, AlfaD, N1));
        const auto i = static_cast<std::size_t>(index);
        QCOMPARE(r.points.size(), static_cast<std::size_t>(N1) + 1);
        if (!std::isnan(x)) QVERIFY2(agrees(r.points.x[i], x, 6), qPrintable(QString::number(r.points.x[i], 'g', 17)));
        // y to the digits shown: six decimals, seven for the figures given with seven.
        const int yDecimals = std::fabs(y * 1e6 - std::round(y * 1e6)) > 1e-6 ? 7 : 6;
        if (!std::isnan(y))
            QVERIFY2(agrees(r.points.y[i], y, yDecimals), qPrintable(QString::number(r.points.y[i], 'g', 17)));
        if (!std::isnan(Cu))
            QVERIFY2(agrees(r.points.Cu[i], Cu, 6), qPrintable(QString::number(r.points.Cu[i], 'g', 17)));
    }

    void indexLayout() {
        // Lower surface 2..K runs from the trailing edge forward with y below the upper surface.
        const SolverResult r = solveCase(caseInput(0.1, 0.05, 2, 0, 51));
        for (std::size_t i = 2; i < 26; ++i) {
            QVERIFY(r.points.x[i] < r.points.x[i - 1] || i == 2);
            QVERIFY(r.points.y[i] < r.points.y[52 - i]);
        }
        QVERIFY(r.points.unset.empty());
        // Even N1: every index written, none at the origin.
        const SolverResult even = solveCase(caseInput(0.1, 0.05, 2, 0, 10));
        QVERIFY(even.points.unset.empty());
        for (std::size_t i = 1; i <= 10; ++i) QVERIFY(std::hypot(even.points.x[i], even.points.y[i]) > 1e-3);
    }

    void unsetEntries_data() {
        QTest::addColumn<double>("N1");
        QTest::addColumn<QList<int>>("unset");
        QTest::newRow("odd") << 51.0 << QList<int>{26};
        QTest::newRow("even") << 10.0 << QList<int>{5, 6};
        QTest::newRow("three") << 3.0 << QList<int>{2};
        QTest::newRow("two") << 2.0 << QList<int>{};
    }
    void unsetEntries() {
        QFETCH(double, N1);
        QFETCH(QList<int>, unset);
        const SolverResult r = solveCase(caseInput(0.0, 0.05, 2, 5, N1));
        QList<int> got;
        for (std::size_t i : r.points.unset) got << static_cast<int>(i);
        QCOMPARE(got, unset);
        for (int i : unset) QCOMPARE(r.points.x[static_cast<std::size_t>(i)], 0.0);
    }

    void flatPlate() {
        const SolverResult r = solveCase(caseInput(0, 0, 2, 4, 51));
        for (std::size_t i = 1; i <= 51; ++i) {
            if (!r.points.isSet(i)) continue;
            QVERIFY(std::fabs(r.points.y[i]) < 1e-12);
        }
        QCOMPARE(r.points.x[1], 1.0);
        QVERIFY(r.points.x[25] < 0.01);
    }

    // The restructured solver stays within 1e-12 of the plain transcription wherever the latter is
    // well conditioned (the high-precision tests cover the rest).
    void agreesWithPlainTranscription_data() {
        QTest::addColumn<double>("F");
        QTest::addColumn<double>("G");
        QTest::addColumn<double>("m");
        QTest::addColumn<double>("AlfaD");
        QTest::addColumn<double>("N1");
        QTest::newRow("Joukowsky 51") << 0.1 << 0.05 << 2.0 << 5.0 << 51.0;
        QTest::newRow("Joukowsky dense") << 0.1 << 0.05 << 2.0 << 5.0 << 100001.0;
        QTest::newRow("Karman-Trefftz dense") << 0.12 << 0.1 << 1.95 << -2.0 << 100001.0;
        QTest::newRow("negative camber") << 0.1 << -0.05 << 1.9 << 5.0 << 2001.0;
        QTest::newRow("thin") << 0.01 << 0.02 << 1.98 << 10.0 << 20001.0;
        QTest::newRow("thick") << 0.4 << 0.2 << 1.8 << -8.0 << 20000.0;
        QTest::newRow("circular arc") << 0.0 << 0.05 << 2.0 << 5.0 << 10001.0;
        QTest::newRow("flat plate") << 0.0 << 0.0 << 2.0 << 3.0 << 1001.0;
        QTest::newRow("negative F, whole m") << -0.05 << 0.05 << 2.0 << 2.0 << 5001.0;
        QTest::newRow("m = 3") << 0.1 << 0.05 << 3.0 << 4.0 << 1001.0;
        QTest::newRow("odd small") << 0.1 << 0.05 << 1.9 << 5.0 << 7.0;
    }
    void agreesWithPlainTranscription() {
        QFETCH(double, F);
        QFETCH(double, G);
        QFETCH(double, m);
        QFETCH(double, AlfaD);
        QFETCH(double, N1);
        const SolverInput in = caseInput(F, G, m, AlfaD, N1);
        const SolverResult fast = solveCase(in);
        const SolverResult plain = referenceSolve(in);
        QCOMPARE(fast.points.unset, plain.points.unset);
        double worstXY = 0, worstCu = 0;
        for (std::size_t i = 1; i < fast.points.size(); ++i) {
            if (!wellConditioned(i, N1)) continue;
            worstXY = std::max({worstXY, std::fabs(fast.points.x[i] - plain.points.x[i]),
                                std::fabs(fast.points.y[i] - plain.points.y[i])});
            worstCu = std::max(worstCu,
                               std::fabs(fast.points.Cu[i] - plain.points.Cu[i]) / std::max(1.0, plain.points.Cu[i]));
        }
        QVERIFY2(worstXY <= 1e-12, qPrintable(QString::number(worstXY)));
        QVERIFY2(worstCu <= 1e-12, qPrintable(QString::number(worstCu)));
    }

    void faults_data() {
        QTest::addColumn<double>("N1");
        QTest::addColumn<double>("F");
        QTest::addColumn<double>("m");
        QTest::addColumn<double>("Chord");
        QTest::addColumn<double>("AlfaD");
        QTest::addColumn<QString>("message");
        const double inf = HUGE_VAL;
        QTest::newRow("fractional N1") << 12.5 << 0.1 << 2.0 << 1.0 << 0.0
                                       << "Cannot calculate: the number of points NP must be a whole number, not 12.5.";
        QTest::newRow("N1 1") << 1.0 << 0.1 << 2.0 << 1.0 << 0.0
                              << "Cannot calculate: the number of points NP must be at least 2, not 1.";
        QTest::newRow("N1 0") << 0.0 << 0.1 << 2.0 << 1.0 << 0.0
                              << "Cannot calculate: the number of points NP must be at least 2, not 0.";
        QTest::newRow("N1 negative") << -3.0 << 0.1 << 2.0 << 1.0 << 0.0
                                     << "Cannot calculate: the number of points NP must be at least 2, not -3.";
        QTest::newRow("N1 too large")
            << 1000002.0 << 0.1 << 2.0 << 1.0 << 0.0
            << "Cannot calculate: the number of points NP must be at most 1000001, not 1000002.";
        QTest::newRow("N1 infinite") << inf << 0.1 << 2.0 << 1.0 << 0.0
                                     << "Cannot calculate: the number of points NP must be a whole number, not inf.";
        QTest::newRow("angle infinite")
            << 51.0 << 0.1 << 2.0 << 1.0 << inf
            << "Cannot calculate: the angle of attack must be from -360 to 360 degrees; it is too large.";
        QTest::newRow("angle beyond a turn")
            << 51.0 << 0.1 << 2.0 << 1.0 << -360.5
            << "Cannot calculate: the angle of attack must be from -360 to 360 degrees, not -360.5.";
        QTest::newRow("m zero") << 51.0 << 0.1 << 0.0 << 1.0 << 0.0
                                << "Cannot calculate this airfoil: the exponent m is 0.";
        QTest::newRow("F -1") << 51.0 << -1.0 << 2.0 << 1.0 << 0.0 << "Cannot calculate this airfoil: F is -1.";
        QTest::newRow("negative F, fractional m")
            << 51.0 << -0.2 << 1.9 << 1.0 << 0.0
            << "Cannot calculate this airfoil: F is negative (-0.2) and the exponent m is not a whole number (1.9).";
        QTest::newRow("chord 0") << 51.0 << 0.1 << 2.0 << 0.0 << 0.0
                                 << "Cannot calculate this airfoil: the mapping scale b is 0.";
        QTest::newRow("F below -1/2")
            << 51.0 << -0.7 << 2.0 << 1.0 << 0.0
            << "Cannot calculate this airfoil: F is below -1/2 (-0.7), so the circle does not enclose the origin.";
        QTest::newRow("F infinite") << 51.0 << inf << 2.0 << 1.0 << 0.0
                                    << "Cannot calculate this airfoil: F is not a finite number.";
        // Beyond the domain the surface loses its accuracy (2e-6 chord at F = 1e5): refused.
        QTest::newRow("F beyond the domain")
            << 51.0 << 1e5 << 2.0 << 1.0 << 0.0
            << "Cannot calculate this airfoil: F is 1e+05, and F and G from -20 to 20 are calculated (beyond, the "
               "surface loses its accuracy).";
        QTest::newRow("F just beyond the domain")
            << 51.0 << -20.5 << 2.0 << 1.0 << 0.0
            << "Cannot calculate this airfoil: F is -20.5, and F and G from -20 to 20 are calculated (beyond, the "
               "surface loses its accuracy).";
        QTest::newRow("m below 1") << 51.0 << 0.1 << 0.5 << 1.0 << 0.0
                                   << "Cannot calculate this airfoil: the exponent m is 0.5, and m from 1 to 4 (or -4 "
                                      "to -1) is calculated.";
        QTest::newRow("m beyond 4") << 51.0 << 0.1 << -1e9 << 1.0 << 0.0
                                    << "Cannot calculate this airfoil: the exponent m is -1e+09, and m from 1 to "
                                       "4 (or -4 to -1) is calculated.";
    }
    void faults() {
        QFETCH(double, N1);
        QFETCH(double, F);
        QFETCH(double, m);
        QFETCH(double, Chord);
        QFETCH(double, AlfaD);
        QFETCH(QString, message);
        const orvek::Expected<SolverResult> o = orvek::ORVEK(caseInput(F, 0.05, m, AlfaD, N1, Chord));
        QVERIFY(!o);
        QCOMPARE(QString::fromStdString(o.error()), message);
    }

    void nonFiniteResultIsRefused() {
        // A camber parameter of 1e200 overflowed the radius; it is now outside the domain.
        SolverInput in = caseInput(0.1, 0.0, 2.0, 0.0, 51);
        in.airfoil.G = 1e200;
        const orvek::Expected<SolverResult> far = orvek::ORVEK(in);
        QVERIFY(!far);
        QVERIFY(QString::fromStdString(far.error()).startsWith("Cannot calculate this airfoil: G is 1e+200, and F and G"));
        // m = 4 sends a circle point of this airfoil to infinity: said, not written.
        in = caseInput(20.0, 20.0, 4.0, 5.0, 401);
        const orvek::Expected<SolverResult> o = orvek::ORVEK(in);
        QVERIFY(!o);
        QVERIFY2(QString::fromStdString(o.error()).startsWith("Cannot calculate this airfoil: the surface value x at"),
                 o.error().c_str());
    }
};

QTEST_GUILESS_MAIN(TestSolver)
#include "test_solver.moc"
