// Design from targets: round trips through the airfoil measurement, and the reachable range.

#include "solver/analysis/Describe.h"
#include "solver/analysis/Design.h"

#include <QtTest>

#include <cmath>

class TestDesign : public QObject {
    Q_OBJECT
private slots:
    // describe(design(T, C, tau)) gives T and C to 1e-6 and tau to describe's 0.01 degrees, over
    // the documented range: its corners, its edges (the least thickness of each angle) and inside.
    void roundTrip_data() {
        QTest::addColumn<double>("thickness");
        QTest::addColumn<double>("camber");
        QTest::addColumn<double>("teAngle");
        for (double tau : {0.0, 10.0, 20.0, 30.0}) {
            const double least = orvek::leastDesignThickness(tau);
            for (double camber : {-0.1, -0.04, 0.0, 0.05, 0.1}) {
                for (double thickness : {least, 0.5 * (least + 0.3), 0.3}) {
                    QTest::addRow("T %.4f C %g tau %g", thickness, camber, tau) << thickness << camber << tau;
                }
            }
        }
    }
    void roundTrip() {
        QFETCH(double, thickness);
        QFETCH(double, camber);
        QFETCH(double, teAngle);
        const orvek::Expected<orvek::DesignResult> d = orvek::designAirfoil({thickness, camber, teAngle});
        QVERIFY2(d.ok(), d.ok() ? "" : d.error().c_str());
        QCOMPARE(d->airfoil.m, 2.0 - teAngle / 180.0);
        // No camber is a symmetric airfoil: G exactly 0, not a residue of the iteration.
        if (camber == 0.0) QCOMPARE(d->airfoil.G, 0.0);
        const orvek::Expected<orvek::AirfoilGeometry> g = orvek::measureAirfoil(d->airfoil);
        QVERIFY(g.ok());
        QVERIFY2(std::fabs(g->thickness - thickness) <= 1e-6, qPrintable(QString::number(g->thickness - thickness)));
        QVERIFY2(std::fabs(g->camber - camber) <= 1e-6, qPrintable(QString::number(g->camber - camber)));
        QVERIFY2(std::fabs(g->teAngleDegrees - teAngle) <= 0.01,
                 qPrintable(QString::number(g->teAngleDegrees - teAngle)));
        // The design's own figures are those of the one measurement.
        QCOMPARE(d->reached.thickness, g->thickness);
        QCOMPARE(d->reached.camber, g->camber);
        QCOMPARE(d->reached.thicknessPosition, g->thicknessPosition);
    }

    void refused_data() {
        QTest::addColumn<double>("thickness");
        QTest::addColumn<double>("camber");
        QTest::addColumn<double>("teAngle");
        QTest::addColumn<QString>("message");
        QTest::newRow("too thick") << 0.35 << 0.0 << 0.0
                                   << "Cannot design: the thickness 0.35 is above the largest thickness 0.3.";
        QTest::newRow("thinner than the lens")
            << 0.05 << 0.0 << 10.0
            << "Cannot design: the thickness 0.05 is below the least thickness 0.0537 "
               "for a trailing-edge angle of 10 degrees (tan(tau/4) + 0.01).";
        QTest::newRow("too thin for a cusp")
            << 0.005 << 0.0 << 0.0
            << "Cannot design: the thickness 0.005 is below the least thickness 0.0100 "
               "for a trailing-edge angle of 0 degrees (tan(tau/4) + 0.01).";
        QTest::newRow("too much camber") << 0.12 << 0.12 << 0.0
                                         << "Cannot design: the camber 0.12 is above the largest camber 0.1.";
        QTest::newRow("too much negative camber")
            << 0.12 << -0.2 << 0.0 << "Cannot design: the camber -0.2 is below the least camber -0.1.";
        QTest::newRow("angle too large") << 0.2 << 0.0 << 31.0
                                         << "Cannot design: the trailing-edge angle 31 is above the largest angle 30.";
        QTest::newRow("negative angle") << 0.2 << 0.0 << -1.0
                                        << "Cannot design: the trailing-edge angle -1 is below the least angle 0.";
        QTest::newRow("thickness not a number")
            << std::nan("") << 0.0 << 0.0 << "Cannot design: the thickness is not a finite number.";
    }
    void refused() {
        QFETCH(double, thickness);
        QFETCH(double, camber);
        QFETCH(double, teAngle);
        QFETCH(QString, message);
        const orvek::Expected<orvek::DesignResult> d = orvek::designAirfoil({thickness, camber, teAngle});
        QVERIFY(!d.ok());
        QCOMPARE(QString::fromStdString(d.error()), message);
    }

    // The least thickness shown is itself accepted.
    void leastThicknessAsShownIsAccepted() {
        QVERIFY(orvek::designAirfoil({0.0537, 0.0, 10.0}).ok());
        QVERIFY(!orvek::designAirfoil({0.0536, 0.0, 10.0}).ok());
    }
};

QTEST_GUILESS_MAIN(TestDesign)
#include "test_design.moc"
