// The polar window, opened from the main window and driven headless as a user would drive it.

#include "PolarWindow.h"
#include "support/SolveCase.h"
#include "plot/Chart.h"
#include "support/MainWindowDriver.h"

#include <QAction>
#include <QClipboard>
#include <QDoubleSpinBox>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <algorithm>

class TestPolar : public QObject {
    Q_OBJECT
    MainWindowDriver d;

private slots:
    void init() { d.enter(); }
    void cleanup() { d.leave(); }

    // The polar shows the solver's coefficients at every angle and follows the main window.
    void polarWindow() {
        d.open();
        d.calculate(1);
        d.press(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        PolarWindow* polar = d.tools()->polarWindow();
        QVERIFY(polar && polar->isVisible());
        auto* table = polar->findChild<QTableWidget*>("polarTable");
        QCOMPARE(table->rowCount(), 51);
        const QLocale locale;
        for (int row = 0; row < 51; ++row) {
            const double alpha = -10 + 0.5 * row;
            const orvek::SolverResult r = solveCase(0.1, 0.05, 1.9, alpha, 201);
            QCOMPARE(polar->rows()[static_cast<std::size_t>(row)].coefficients.CL, r.coefficients.CL);
            QCOMPARE(polar->rows()[static_cast<std::size_t>(row)].coefficients.CMc4, r.coefficients.CMc4);
            QCOMPARE(table->item(row, 1)->text(), locale.toString(r.coefficients.CL, 'f', 4));
            // The continuous surface's minimum, at or below the points'.
            QVERIFY(polar->rows()[static_cast<std::size_t>(row)].CpMin <=
                    1.0 - *std::max_element(r.points.Cu.begin() + 1, r.points.Cu.end()) + 1e-12);
            QCOMPARE(polar->rows()[static_cast<std::size_t>(row)].CpMin,
                     orvek::surfacePressureMinimum(caseInput(0.1, 0.05, 1.9, alpha, 201), r)->CpMin);
        }
        // Row for row what the core's sweep gives.
        orvek::SweepInput sweep;
        sweep.airfoil = {0.1, 0.05, 1.9};
        sweep.fromDegrees = -10;
        sweep.toDegrees = 15;
        sweep.stepDegrees = 0.5;
        const orvek::Expected<std::vector<orvek::SweepRow>> core = orvek::sweep(sweep);
        QVERIFY(core);
        QCOMPARE(polar->rows().size(), core->size());
        for (std::size_t k = 0; k < core->size(); ++k) {
            QCOMPARE(polar->rows()[k].alphaDegrees, (*core)[k].alphaDegrees);
            QCOMPARE(polar->rows()[k].xCpMin, (*core)[k].xCpMin);
            QCOMPARE(table->item(static_cast<int>(k), 5)->text(), QString(orvek::surfaceName((*core)[k].surface)));
        }
        auto* chart = polar->findChild<Chart*>("polarChart");
        QCOMPARE(chart->curves().size(), 2);
        QCOMPARE(chart->marks().size(), 1);
        QCOMPARE(chart->marks()[0].x, solveCase(0.1, 0.05, 1.9, 0, 51).coefficients.Alfa0);
        d.snapshotIfAsked("polar.png", polar);

        // Range and step typed by the user.
        auto* step = polar->findChild<QDoubleSpinBox*>("polarStep");
        step->setValue(2.5);
        QCOMPARE(table->rowCount(), 11);
        step->setValue(-1);
        QVERIFY(!polar->problem().isEmpty());
        QCOMPARE(table->rowCount(), 0);
        step->setValue(0.5);

        // The next calculation in the main window shows its airfoil.
        d.calculate(2);
        QCOMPARE(polar->rows().front().coefficients.CL, solveCase(0.1, 0, 2, -10, 51).coefficients.CL);

        // "Save as CSV…" and "Copy".
        d.asker.answer = FileNameAsker::Choice{d.path("polar.csv"), 0};
        QTest::mouseClick(polar->findChild<QPushButton*>("polarSaveCsv"), Qt::LeftButton);
        QFile csv(d.path("polar.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = csv.readAll().split('\n');
        QCOMPARE(lines[0], QByteArray("alpha,CL,CMc4,Alfa0,CpMin,xCpMin,surfaceCpMin"));
        QCOMPARE(lines[1].split(',')[0], QByteArray("-10"));
        QCOMPARE(lines[1].split(',')[1].toDouble(), polar->rows().front().coefficients.CL);
        // The same file as orvek-batch writes for this polar.
        QProcess batch;
        batch.start(ORVEK_BATCH, {"sweep", "--F", "0.1", "--G", "0", "--m", "2", "--from", "-10", "--to", "15",
                                  "--step", "0.5", "--format", "csv"});
        QVERIFY(batch.waitForFinished(10000));
        QCOMPARE(batch.exitCode(), 0);
        csv.seek(0);
        QCOMPARE(csv.readAll(), batch.readAllStandardOutput());
        QTest::mouseClick(polar->findChild<QPushButton*>("polarCopy"), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text().count('\n'), 52);

        // One instance: asking again shows the same window.
        d.press(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(d.tools()->polarWindow(), polar);
    }

    // While the range cannot be calculated there is nothing to save or copy.
    void saveAndCopyNeedRows_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<double>("value");
        QTest::newRow("step 0") << "polarStep" << 0.0;
        QTest::newRow("step against the range") << "polarStep" << -1.0;
        QTest::newRow("angle beyond 360") << "polarTo" << 400.0;
        QTest::newRow("NP 1") << "polarNP" << 1.0;
    }
    void saveAndCopyNeedRows() {
        QFETCH(QString, box);
        QFETCH(double, value);
        PolarWindow polar(d.messages, d.asker);
        polar.setAirfoil(orvek::Airfoil{0.1, 0.05, 1.9});
        auto* save = polar.findChild<QPushButton*>("polarSaveCsv");
        auto* copy = polar.findChild<QPushButton*>("polarCopy");
        QVERIFY(save->isEnabled() && copy->isEnabled());
        polar.findChild<QDoubleSpinBox*>(box)->setValue(value);
        QVERIFY(!polar.problem().isEmpty());
        QVERIFY(!save->isEnabled());
        QVERIFY(!copy->isEnabled());
        polar.findChild<QDoubleSpinBox*>(box)->setValue(box == "polarNP" ? 201.0 : box == "polarTo" ? 15.0 : 0.5);
        QVERIFY(save->isEnabled() && copy->isEnabled());
    }

    // CMc/4 has its own axis, and the plot has the picture items of the main window's plots.
    void polarPicture() {
        PolarWindow polar(d.messages, d.asker);
        polar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&polar));
        polar.setAirfoil(orvek::Airfoil{0.1, 0.05, 1.9});
        auto* chart = polar.findChild<Chart*>("polarChart");
        QVERIFY(!chart->curves()[0].rightAxis);
        QVERIFY(chart->curves()[1].rightAxis);
        d.asker.answer = FileNameAsker::Choice{d.path("polar.svg"), 1};
        polar.findChild<QAction*>("polarSavePicture")->trigger();
        QFile svg(d.path("polar.svg"));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QByteArray bytes = svg.readAll();
        for (const char* text : {"CMc/4 (right)", "Karman-Trefftz F=0.1 G=0.05 m=1.9"}) {
            QVERIFY2(bytes.contains(text), text);
        }
        QApplication::clipboard()->clear();
        polar.findChild<QAction*>("polarCopyPicture")->trigger();
        QCOMPARE(QApplication::clipboard()->image().size(), chart->size() * (2.0 * polar.devicePixelRatioF()));
        QVERIFY(d.messages.messages.isEmpty());
    }
};

QTEST_MAIN(TestPolar)
#include "test_polar.moc"
