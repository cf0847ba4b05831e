// The pressure minimum of a surface, the polar sweep and the catalogue table.

#include "support/ReferenceSolver.h"
#include "support/SolveCase.h"
#include "case/CatalogueTable.h"
#include "solver/analysis/PressureMinimum.h"
#include "solver/analysis/Sweep.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <vector>

Q_DECLARE_METATYPE(std::vector<double>)

namespace {

// The largest 1-Cp over the set points, found the plain way.
double largestOneMinusCp(const orvek::SurfacePoints& p) {
    double best = -1.0;
    for (std::size_t i = 1; i < p.size(); ++i) {
        if (p.isSet(i)) best = std::max(best, p.Cu[i]);
    }
    return best;
}

}  // namespace

class TestSweep : public QObject {
    Q_OBJECT
private slots:
    void surfaceOfPoint_data() {
        QTest::addColumn<int>("NP");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("upper");
        QTest::newRow("odd, first trailing edge") << 51 << 1 << false;
        QTest::newRow("odd, last lower point") << 51 << 25 << false;
        QTest::newRow("odd, leading edge") << 51 << 26 << true;
        QTest::newRow("odd, last trailing edge") << 51 << 51 << true;
        QTest::newRow("even, last lower point") << 50 << 25 << false;
        QTest::newRow("even, first upper point") << 50 << 26 << true;
        QTest::newRow("two points") << 2 << 1 << false;
    }
    void surfaceOfPoint() {
        QFETCH(int, NP);
        QFETCH(int, index);
        QFETCH(bool, upper);
        QCOMPARE(orvek::surfaceOfPoint(static_cast<std::size_t>(index), static_cast<std::size_t>(NP)) ==
                     orvek::Surface::Upper,
                 upper);
    }

    // Where the suction peak lies: near the nose on the side facing away from the flow, and for a
    // symmetric airfoil at zero incidence (a tie between the two sides) on the upper side.
    void pressureMinimum_data() {
        QTest::addColumn<double>("F");
        QTest::addColumn<double>("G");
        QTest::addColumn<double>("m");
        QTest::addColumn<double>("alpha");
        QTest::addColumn<double>("N1");
        QTest::addColumn<QString>("surface");
        QTest::addColumn<double>("xBelow");
        QTest::newRow("nose, upper, positive angle") << 0.1 << 0.05 << 2.0 << 8.0 << 201.0 << "upper" << 0.05;
        QTest::newRow("nose, lower, negative angle") << 0.1 << 0.0 << 1.9 << -8.0 << 201.0 << "lower" << 0.05;
        QTest::newRow("symmetric, zero angle") << 0.1 << 0.0 << 2.0 << 0.0 << 201.0 << "upper" << 1.0;
        QTest::newRow("even point count") << 0.12 << 0.1 << 1.95 << 4.0 << 200.0 << "upper" << 0.2;
        QTest::newRow("circular arc, nose unset") << 0.0 << 0.05 << 2.0 << 3.0 << 201.0 << "upper" << 1.0;
    }
    void pressureMinimum() {
        QFETCH(double, F);
        QFETCH(double, G);
        QFETCH(double, m);
        QFETCH(double, alpha);
        QFETCH(double, N1);
        QFETCH(QString, surface);
        QFETCH(double, xBelow);
        const orvek::SolverResult r = solveCase(F, G, m, alpha, N1);
        const orvek::Expected<orvek::PressureMinimum> pm = orvek::pressureMinimum(r.points);
        QVERIFY(pm.ok());
        QCOMPARE(pm->CpMin, 1.0 - largestOneMinusCp(r.points));
        QVERIFY(r.points.isSet(pm->index));
        QCOMPARE(pm->xCpMin, r.points.x[pm->index]);
        QCOMPARE(QString(orvek::surfaceName(pm->surface)), surface);
        QVERIFY2(pm->xCpMin < xBelow, qPrintable(QString::number(pm->xCpMin)));
        // On its side: the upper side of a surface point has the larger ordinate of the two sides
        // at nearly the same station, so the sign of y follows the side away from the nose.
        if (pm->xCpMin > 0.01) QCOMPARE(pm->y > 0, surface == "upper");
    }

    // The polar's pressure minimum is that of the continuous surface: the same, to 1e-10 in CpMin
    // and in its position, at any number of points, and below the points of the densest surface by
    // no more than their spacing allows.
    void continuousMinimum_data() {
        QTest::addColumn<double>("F");
        QTest::addColumn<double>("G");
        QTest::addColumn<double>("m");
        QTest::addColumn<double>("alpha");
        QTest::addColumn<double>("chord");
        QTest::addColumn<QString>("surface");
        QTest::newRow("Joukowsky at -10") << 0.1 << 0.05 << 2.0 << -10.0 << 1.0 << "lower";
        QTest::newRow("Joukowsky at 8") << 0.1 << 0.05 << 2.0 << 8.0 << 1.0 << "upper";
        QTest::newRow("Karman-Trefftz at 4, chord 2") << 0.12 << 0.1 << 1.95 << 4.0 << 2.0 << "upper";
        QTest::newRow("thin, sharp peak at 12") << 0.02 << 0.02 << 1.9 << 12.0 << 1.0 << "upper";
        QTest::newRow("symmetric at 0") << 0.1 << 0.0 << 2.0 << 0.0 << 1.0 << "upper";
    }
    void continuousMinimum() {
        QFETCH(double, F);
        QFETCH(double, G);
        QFETCH(double, m);
        QFETCH(double, alpha);
        QFETCH(double, chord);
        QFETCH(QString, surface);
        const auto rowAt = [&](double N1) {
            orvek::SweepInput in;
            in.airfoil = {F, G, m};
            in.fromDegrees = in.toDegrees = alpha;
            in.N1 = N1;
            in.Chord = chord;
            const orvek::Expected<std::vector<orvek::SweepRow>> rows = orvek::sweep(in);
            if (!rows || rows->size() != 1) qFatal("the sweep failed");
            return rows->front();
        };
        const orvek::SweepRow dense = rowAt(1000001);
        QCOMPARE(QString(orvek::surfaceName(dense.surface)), surface);
        for (double N1 : {6.0, 21.0, 64.0, 201.0, 2000.0, 20001.0}) {
            const orvek::SweepRow row = rowAt(N1);
            QVERIFY2(std::fabs(row.CpMin - dense.CpMin) <= 1e-10,
                     qPrintable(QString("NP %1: CpMin %2 against %3").arg(N1).arg(row.CpMin, 0, 'g', 17).arg(dense.CpMin, 0, 'g', 17)));
            QVERIFY2(std::fabs(row.xCpMin - dense.xCpMin) <= 1e-10,
                     qPrintable(QString("NP %1: xCpMin %2 against %3").arg(N1).arg(row.xCpMin, 0, 'g', 17).arg(dense.xCpMin, 0, 'g', 17)));
            QCOMPARE(QString(orvek::surfaceName(row.surface)), surface);
        }
        // The densest points lie on the same surface: their least Cp is no lower, and close.
        const orvek::SolverResult r = solveCase(caseInput(F, G, m, alpha, 1000001, chord));
        const double pointsCpMin = 1.0 - largestOneMinusCp(r.points);
        QVERIFY2(dense.CpMin <= pointsCpMin + 1e-13 && pointsCpMin - dense.CpMin < 1e-9 * std::fabs(dense.CpMin),
                 qPrintable(QString::number(pointsCpMin - dense.CpMin)));
    }

    void pressureMinimumHalfChord() {
        const orvek::SolverResult r = solveCase(caseInput(0.1, 0.05, 2.0, 5.0, 201, 2.0));
        const orvek::Expected<orvek::PressureMinimum> pm = orvek::pressureMinimum(r.points, 2.0);
        QVERIFY(pm.ok());
        QCOMPARE(pm->xCpMin, r.points.x[pm->index] / 2.0);
        QVERIFY(!orvek::pressureMinimum(orvek::SurfacePoints{}).ok());
        QVERIFY(!orvek::pressureMinimum(r.points, 0.0).ok());
    }

    void angles_data() {
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<double>("step");
        QTest::addColumn<std::vector<double>>("angles");
        QTest::newRow("whole degrees") << -2.0 << 3.0 << 1.0 << std::vector<double>{-2, -1, 0, 1, 2, 3};
        QTest::newRow("tenths") << 0.0 << 0.5 << 0.1 << std::vector<double>{0, 0.1, 0.2, 0.3, 0.4, 0.5};
        QTest::newRow("tenths through zero") << -0.3 << 0.1 << 0.1 << std::vector<double>{-0.3, -0.2, -0.1, 0, 0.1};
        QTest::newRow("downwards") << 10.0 << -5.0 << -2.5 << std::vector<double>{10, 7.5, 5, 2.5, 0, -2.5, -5};
        QTest::newRow("last angle off the grid") << 0.0 << 10.0 << 3.0 << std::vector<double>{0, 3, 6, 9};
        QTest::newRow("off the grid, downwards") << 1.0 << -1.0 << -0.75 << std::vector<double>{1, 0.25, -0.5};
        QTest::newRow("one angle") << 4.0 << 4.0 << 1.0 << std::vector<double>{4};
        QTest::newRow("one angle, negative step") << 4.0 << 4.0 << -1.0 << std::vector<double>{4};
        QTest::newRow("step larger than the range") << 0.0 << 1.0 << 5.0 << std::vector<double>{0};
        // Within a billionth of a step of the last angle, but the only angle is the first.
        QTest::newRow("step far beyond the range") << 0.0 << 2.0 << 1e10 << std::vector<double>{0};
        QTest::newRow("step far beyond, downwards") << 10.0 << -10.0 << -1e12 << std::vector<double>{10};
        QTest::newRow("two angles, the last within tolerance")
            << 0.0 << 1e10 + 1e-3 << 1e10 << std::vector<double>{0, 1e10 + 1e-3};
        // Rounded to 15 digits; the last angle is the one asked for.
        QTest::newRow("thirds reach the end")
            << 0.0 << 1.0 << 1.0 / 3.0 << std::vector<double>{0, 0.333333333333333, 0.666666666666667, 1};
    }
    void angles() {
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(double, step);
        QFETCH(std::vector<double>, angles);
        const orvek::Expected<std::vector<double>> a = orvek::sweepAngles(from, to, step);
        QVERIFY(a.ok());
        QCOMPARE(a->size(), angles.size());
        for (std::size_t k = 0; k < angles.size(); ++k) {
            QVERIFY2((*a)[k] == angles[k], qPrintable(QString::number((*a)[k], 'g', 17)));
            QVERIFY(!std::signbit((*a)[k]) || (*a)[k] != 0.0);
        }
    }

    void longestSweep() {
        const orvek::Expected<std::vector<double>> a = orvek::sweepAngles(-50, 50, 0.001);
        QVERIFY(a.ok());
        QCOMPARE(a->size(), orvek::MaxSweepRows);
        QCOMPARE(a->back(), 50.0);
        QCOMPARE((*a)[12345], -37.655);
    }

    void badSteps_data() {
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<double>("step");
        QTest::addColumn<QString>("message");
        const double nan = std::nan(""), inf = HUGE_VAL;
        QTest::newRow("zero") << 0.0 << 5.0 << 0.0 << "Invalid sweep: the step is 0.";
        QTest::newRow("zero, one angle") << 5.0 << 5.0 << 0.0 << "Invalid sweep: the step is 0.";
        QTest::newRow("not a number") << 0.0 << 5.0 << nan << "Invalid sweep: the step is not a number.";
        QTest::newRow("infinite") << 0.0 << 5.0 << inf << "Invalid sweep: the step is not a finite number.";
        QTest::newRow("wrong sign") << 0.0 << 5.0 << -1.0
                                    << "Invalid sweep: the step -1 points away from the last angle 5 (from 0).";
        QTest::newRow("wrong sign, downwards")
            << 5.0 << 0.0 << 1.0 << "Invalid sweep: the step 1 points away from the last angle 0 (from 5).";
        QTest::newRow("too many angles")
            << 0.0 << 100.0 << 0.0009
            << "Invalid sweep: it would have 111112 angles, and at most 100001 are calculated.";
        // The real limit, not the step's size, for a range of many steps.
        QTest::newRow("ten trillion angles")
            << 0.0 << 1e13 << 1.0
            << "Invalid sweep: it would have 10000000000001 angles, and at most 100001 are calculated.";
        // A few thousand steps, each below what the angles' size can resolve.
        QTest::newRow("lost in rounding")
            << 1e6 << 1e6 + 1e-8 << 1e-12 << "Invalid sweep: the step 1e-12 is too small to change the angle 1e+06.";
        QTest::newRow("first angle") << nan << 2.0 << 1.0 << "Invalid sweep: the first angle is not a finite number.";
        QTest::newRow("last angle") << 0.0 << inf << 1.0 << "Invalid sweep: the last angle is not a finite number.";
    }
    void badSteps() {
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(double, step);
        QFETCH(QString, message);
        const orvek::Expected<std::vector<double>> a = orvek::sweepAngles(from, to, step);
        QVERIFY(!a.ok());
        QCOMPARE(QString::fromStdString(a.error()), message);
    }

    // Every row is what a single calculation at its angle gives, to the last bit.
    void rowsEqualSingleCalculations_data() {
        QTest::addColumn<double>("F");
        QTest::addColumn<double>("G");
        QTest::addColumn<double>("m");
        QTest::addColumn<double>("N1");
        QTest::newRow("Joukowsky") << 0.1 << 0.05 << 2.0 << 201.0;
        QTest::newRow("Karman-Trefftz") << 0.12 << 0.1 << 1.95 << 201.0;
        QTest::newRow("even point count") << 0.08 << -0.04 << 1.9 << 64.0;
        QTest::newRow("circular arc") << 0.0 << 0.05 << 2.0 << 101.0;
    }
    void rowsEqualSingleCalculations() {
        QFETCH(double, F);
        QFETCH(double, G);
        QFETCH(double, m);
        QFETCH(double, N1);
        orvek::SweepInput in;
        in.airfoil.F = F;
        in.airfoil.G = G;
        in.airfoil.m = m;
        in.N1 = N1;
        in.fromDegrees = 12;
        in.toDegrees = -4;
        in.stepDegrees = -0.8;
        const orvek::Expected<std::vector<orvek::SweepRow>> rows = orvek::sweep(in);
        QVERIFY(rows.ok());
        QCOMPARE(rows->size(), std::size_t(21));
        for (const orvek::SweepRow& row : *rows) {
            const orvek::SolverResult r = solveCase(F, G, m, row.alphaDegrees, N1);
            QCOMPARE(row.coefficients.CL, r.coefficients.CL);
            QCOMPARE(row.coefficients.CMc4, r.coefficients.CMc4);
            QCOMPARE(row.coefficients.Alfa0, r.coefficients.Alfa0);
            const orvek::PressureMinimum pm = *orvek::surfacePressureMinimum(caseInput(F, G, m, row.alphaDegrees, N1), r);
            QCOMPARE(row.CpMin, pm.CpMin);
            QCOMPARE(row.xCpMin, pm.xCpMin);
            QVERIFY(row.surface == pm.surface);
            // The surface between the points dips at least as low as the points do.
            QVERIFY(row.CpMin <= 1.0 - largestOneMinusCp(r.points) + 1e-14);
        }
    }

    // With a Reynolds number each row carries the estimate boundaryLayer gives at its angle, with
    // a Mach number the compressible figures; without, neither.
    void dragAndCompressibleColumns_data() {
        QTest::addColumn<double>("Re");
        QTest::addColumn<double>("mach");
        QTest::newRow("inviscid") << 0.0 << 0.0;
        QTest::newRow("Re 1e6") << 1e6 << 0.0;
        QTest::newRow("Re 3e6, Ncrit 5") << 3e6 << 0.0;
        QTest::newRow("Mach 0.4") << 0.0 << 0.4;
        QTest::newRow("Re 1e6, Mach 0.3") << 1e6 << 0.3;
    }
    void dragAndCompressibleColumns() {
        QFETCH(double, Re);
        QFETCH(double, mach);
        orvek::SweepInput in;
        in.airfoil = {0.1, 0.05, 2};
        in.fromDegrees = -12;
        in.toDegrees = 14;
        in.stepDegrees = 2;
        in.mach = mach;
        orvek::ViscousInput layer;
        layer.Re = Re;
        layer.Ncrit = Re == 3e6 ? 5 : orvek::DefaultNcrit;
        if (Re > 0) in.viscous = layer;
        const orvek::Expected<std::vector<orvek::SweepRow>> rows = orvek::sweep(in);
        QVERIFY(rows.ok());
        QCOMPARE(rows->size(), std::size_t(14));
        for (const orvek::SweepRow& row : *rows) {
            QCOMPARE(row.drag.has_value(), Re > 0);
            QCOMPARE(row.compressible.has_value(), mach > 0);
            if (row.compressible) {
                const orvek::CompressibleResult c = *orvek::compressible(in.airfoil, row.alphaDegrees, mach);
                QCOMPARE(row.compressible->CL, c.CL);
                QCOMPARE(row.compressible->criticalMach, c.criticalMach);
            }
            if (!row.drag) continue;
            orvek::ViscousInput v = layer;
            v.airfoil = in.airfoil;
            v.alphaDegrees = row.alphaDegrees;
            v.mach = mach;
            const orvek::ViscousResult e = *orvek::boundaryLayer(v);
            QCOMPARE(row.drag->CD, e.CD);
            QCOMPARE(row.drag->CDf, e.CDf);
            QCOMPARE(row.drag->CDp, e.CDp);
            QCOMPARE(row.drag->transitionUpper, e.upper.transition);
            QCOMPARE(row.drag->transitionLower, e.lower.transition);
            QCOMPARE(row.drag->separationUpper, e.upper.separation);
            QCOMPARE(row.drag->separationLower, e.lower.separation);
            QCOMPARE(row.drag->valid, e.valid);
        }
    }

    // Told to stop, a sweep ends before its next angle with the rows before handed on.
    void stopsBetweenAngles_data() {
        QTest::addColumn<int>("after");
        QTest::newRow("before the first angle") << 0;
        QTest::newRow("after one") << 1;
        QTest::newRow("after seven") << 7;
        QTest::newRow("never") << 100;
    }
    void stopsBetweenAngles() {
        QFETCH(int, after);
        orvek::SweepInput in;
        in.airfoil = {0.1, 0.05, 1.9};
        in.fromDegrees = 0;
        in.toDegrees = 10;
        in.stepDegrees = 1;
        int handed = 0;
        in.stop = [&handed, after] { return handed >= after; };
        const orvek::Status done = orvek::sweepRows(
            in, [&handed](const orvek::SweepRow&, std::size_t index, std::size_t) { QCOMPARE(int(index), handed++); });
        if (after < 11) {
            QVERIFY(!done);
            QCOMPARE(QString::fromStdString(done.error()), QString(orvek::Interrupted));
            QCOMPARE(handed, after);
        } else {
            QVERIFY(done.ok());
            QCOMPARE(handed, 11);
        }
    }

    // CL and CMc/4 of a sweep against the plain transcription of the formulas, at 20 angles.
    void coefficientsAgainstTheFormulas() {
        orvek::SweepInput in;
        in.airfoil.F = 0.1;
        in.airfoil.G = 0.05;
        in.airfoil.m = 1.9;
        in.fromDegrees = -9.5;
        in.toDegrees = 9.5;
        in.stepDegrees = 1;
        const orvek::Expected<std::vector<orvek::SweepRow>> rows = orvek::sweep(in);
        QVERIFY(rows.ok());
        QCOMPARE(rows->size(), std::size_t(20));
        for (const orvek::SweepRow& row : *rows) {
            const orvek::Coefficients plain =
                referenceSolve(caseInput(in.airfoil.F, in.airfoil.G, in.airfoil.m, row.alphaDegrees, in.N1))
                    .coefficients;
            QVERIFY2(std::fabs(row.coefficients.CL - plain.CL) < 1e-13, qPrintable(QString::number(row.alphaDegrees)));
            QVERIFY2(std::fabs(row.coefficients.CMc4 - plain.CMc4) < 1e-13,
                     qPrintable(QString::number(row.alphaDegrees)));
        }
        QCOMPARE(rows->front().alphaDegrees, -9.5);
        QCOMPARE(rows->back().alphaDegrees, 9.5);
    }

    void failsWhole() {
        orvek::SweepInput in;
        in.airfoil.F = 0.1;
        in.airfoil.m = 0;  // no airfoil
        in.fromDegrees = 0;
        in.toDegrees = 5;
        in.stepDegrees = 1;
        const orvek::Expected<std::vector<orvek::SweepRow>> rows = orvek::sweep(in);
        QVERIFY(!rows.ok());
        QCOMPARE(QString::fromStdString(rows.error()),
                 "At the angle of attack 0: Cannot calculate this airfoil: the exponent m is 0.");
        in.airfoil.m = 2;
        in.stepDegrees = -1;
        QVERIFY(!orvek::sweep(in).ok());
    }

    // Each row is a single calculation of its airfoil; one that cannot be calculated keeps its
    // place with the reason.
    void catalogueTable() {
        const orvek::Catalogue c = *orvek::readCatalogue(
            "Title\n0.12,0.02,0.25,0,0.1,0.05,2\n0.1,0,0.3,0,0.1,0,0\n0.18,0.02,0.34,18,0.1,0.05,1.9\n");
        const std::vector<orvek::CatalogueTableRow> rows = orvek::catalogueTable(c, 3.0, 101);
        QCOMPARE(rows.size(), std::size_t(3));
        QVERIFY(!rows[1].result);
        QCOMPARE(QString::fromStdString(rows[1].result.error()), "Cannot calculate this airfoil: the exponent m is 0.");
        for (std::size_t k : {std::size_t(0), std::size_t(2)}) {
            const orvek::CatalogueTableRow& t = rows[k];
            QCOMPARE(t.row, k + 1);
            QVERIFY(t.result);
            QCOMPARE(t.airfoil.text, c.rows[k].text);
            const orvek::Airfoil& a = t.airfoil.airfoil;
            const orvek::SolverResult r = solveCase(a.F, a.G, a.m, 3.0, 101);
            QCOMPARE(t.result->coefficients.CL, r.coefficients.CL);
            QCOMPARE(t.result->coefficients.CMc4, r.coefficients.CMc4);
            QCOMPARE(t.result->CpMin, orvek::surfacePressureMinimum(caseInput(a.F, a.G, a.m, 3.0, 101), r)->CpMin);
        }
    }
};

QTEST_GUILESS_MAIN(TestSweep)
#include "test_sweep.moc"
