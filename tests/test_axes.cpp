// Tick steps and tick labels of the charts' axes.

#include "plot/Axes.h"

#include <QtTest>

class TestAxes : public QObject {
    Q_OBJECT
private slots:
    void niceTicks_data() {
        QTest::addColumn<double>("lo");
        QTest::addColumn<double>("hi");
        QTest::addColumn<double>("step");
        QTest::addColumn<QString>("firstLabel");
        QTest::newRow("angles") << -10.0 << 15.0 << 5.0 << "-10";
        QTest::newRow("coefficients") << -0.2 << 1.7 << 0.5 << "-0.5";
        QTest::newRow("chord") << -0.05 << 1.05 << 0.2 << "-0.2";
        QTest::newRow("small") << 0.0012 << 0.0047 << 0.0005 << "0.0010";
        QTest::newRow("one value") << 2.0 << 2.0 << 0.1 << "1.8";
    }

    void niceTicks() {
        QFETCH(double, lo);
        QFETCH(double, hi);
        QFETCH(double, step);
        QFETCH(QString, firstLabel);
        const axes::Range r = axes::niceRange(lo, hi, 5);
        QCOMPARE(r.step, step);
        QVERIFY(r.lo <= lo && r.hi >= hi);
        const std::vector<double> t = axes::ticks(r.lo, r.hi, r.step);
        QVERIFY(t.size() >= 3 && t.size() <= 12);
        QCOMPARE(axes::tickLabel(t.front(), r.step, QLocale::c()), firstLabel);
    }

    void tickLabelsFollowTheLocale() {
        const QLocale german(QLocale::German, QLocale::Germany);
        QCOMPARE(axes::tickLabel(0.25, 0.05, german), QString("0,25"));
        QCOMPARE(axes::tickLabel(-1e-17, 0.5, german), QString("0,0"));
        QCOMPARE(axes::tickLabel(1500, 500, german), QString("1500"));
        QCOMPARE(axes::tickLabel(0.25, 0.25, QLocale::c()), QString("0.25"));
    }
};

QTEST_GUILESS_MAIN(TestAxes)
#include "test_axes.moc"
