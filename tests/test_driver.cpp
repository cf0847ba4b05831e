// The calculation driver without the window: the result boxes' texts and the two sets of arrays.

#include "support/SolveCase.h"
#include "case/Catalogue.h"
#include "case/Driver.h"
#include "export/NumberFormat.h"

#include <QtTest>

#include <vector>

class TestDriver : public QObject {
    Q_OBJECT
private slots:
    // Display texts: rounded half to even on the exact value, general decimal form.
    void displayTexts_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        QTest::newRow("exact half to even") << -2.125 << 2 << "-2.12";
        QTest::newRow("exact half up to even") << 0.375 << 2 << "0.38";
        QTest::newRow("no trailing zeros") << 0.5 << 3 << "0.5";
        QTest::newRow("whole") << 2.0 << 3 << "2";
        QTest::newRow("negative rounding to zero") << -0.0004 << 3 << "0";
        QTest::newRow("large") << 1234.56789 << 3 << "1234.568";
    }
    void displayTexts() {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(orvek::roundedDisplayText(value, decimals)), text);
    }

    // The driver's two sets of arrays take turns: a repeated calculation writes into the memory of
    // the case before the last one, and a refused case leaves the shown one exactly as it was.
    void driverReusesArrays() {
        orvek::CaseState s;
        orvek::storeCatalogue(s, *orvek::readCatalogue("Title\r\n0.1,0.02,0.3,0,0.1,0.05,1.9\r\n"));
        s.SelIndex = 1;
        QVERIFY(orvek::Calculate(s, "2001", "5"));
        const double* first = s.points.x.data();
        QVERIFY(orvek::Calculate(s, "2001", "3"));
        QVERIFY(s.points.x.data() != first);
        const std::vector<double> shown = s.points.x;
        QVERIFY(!orvek::Calculate(s, "1", "3"));
        QCOMPARE(s.points.x, shown);
        QCOMPARE(*s.AlfaD, 3.0);
        QVERIFY(orvek::Calculate(s, "1001", "4"));
        QCOMPARE(s.points.x.data(), first);
        QCOMPARE(s.points.size(), std::size_t{1002});
        QCOMPARE(s.points.x, solveCase(caseInput(0.1, 0.05, 1.9, 4, 1001)).points.x);
    }
};

QTEST_GUILESS_MAIN(TestDriver)
#include "test_driver.moc"
