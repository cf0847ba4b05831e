// The polar window, opened from the main window and driven headless as a user would drive it.

#include "PolarWindow.h"
#include "support/SolveCase.h"
#include "plot/Chart.h"
#include "support/MainWindowDriver.h"

#include <QAction>
#include <QClipboard>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// The text of a cell of the window's table, as shown.
QString cell(const QTableView* table, int row, int column) {
    return table->model()->index(row, column).data().toString();
}
int rowCount(const QTableView* table) { return table->model()->rowCount(); }
QString header(const QTableView* table, int column) {
    return table->model()->headerData(column, Qt::Horizontal).toString();
}

// Types into a box as a user does: focus, select all, the keys, Return.
void typeInto(QWidget* box, const QString& text) {
    box->setFocus();
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(box)) spin->selectAll();
    if (auto* line = qobject_cast<QLineEdit*>(box)) line->selectAll();
    if (text.isEmpty()) QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

// The finite points of a chart's curves named or following `name`'s curve set, in order.
QVector<QPointF> finitePoints(const Chart::Curve& c) {
    QVector<QPointF> out;
    for (const QPointF& p : c.points) {
        if (std::isfinite(p.x()) && std::isfinite(p.y())) out.push_back(p);
    }
    return out;
}

const Chart::Curve* curveNamed(const Chart* chart, const QString& name) {
    for (const Chart::Curve& c : chart->curves()) {
        if (c.name == name) return &c;
    }
    return nullptr;
}

}  // namespace

class TestPolar : public QObject {
    Q_OBJECT
    MainWindowDriver d;

    // A polar window of its own, shown, for this airfoil; the last angle typed when given.
    std::unique_ptr<PolarWindow> shownPolar(const orvek::Airfoil& airfoil, const QString& to = QString()) {
        auto polar = std::make_unique<PolarWindow>(d.messages, d.asker);
        polar->show();
        if (!QTest::qWaitForWindowExposed(polar.get())) qFatal("the polar window was not shown");
        polar->setAirfoil(airfoil);
        if (!to.isEmpty()) typeInto(polar->findChild<QDoubleSpinBox*>("polarTo"), to);
        return polar;
    }

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
        auto* table = polar->findChild<QTableView*>("polarTable");
        QCOMPARE(rowCount(table), 51);
        const QLocale locale;
        for (int row = 0; row < 51; ++row) {
            const double alpha = -10 + 0.5 * row;
            const orvek::SolverResult r = solveCase(0.1, 0.05, 1.9, alpha, 201);
            QCOMPARE(polar->rows()[static_cast<std::size_t>(row)].coefficients.CL, r.coefficients.CL);
            QCOMPARE(polar->rows()[static_cast<std::size_t>(row)].coefficients.CMc4, r.coefficients.CMc4);
            QCOMPARE(cell(table, row, 1), locale.toString(r.coefficients.CL, 'f', 4));
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
            QCOMPARE(cell(table, static_cast<int>(k), 5), QString(orvek::surfaceName((*core)[k].surface)));
        }
        auto* chart = polar->findChild<Chart*>("polarChart");
        QCOMPARE(chart->curves().size(), 2);
        QCOMPARE(chart->marks().size(), 1);
        QCOMPARE(chart->marks()[0].x, solveCase(0.1, 0.05, 1.9, 0, 51).coefficients.Alfa0);
        d.snapshotIfAsked("polar.png", polar);

        // Range and step typed by the user.
        auto* step = polar->findChild<QDoubleSpinBox*>("polarStep");
        step->setValue(2.5);
        QCOMPARE(rowCount(table), 11);
        step->setValue(-1);
        QVERIFY(!polar->problem().isEmpty());
        QCOMPARE(rowCount(table), 0);
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
        // The airfoil is named once: in the chart's caption (and so in its pictures), in no label.
        const QString name = QString::fromStdString(orvek::Airfoil{0.1, 0.05, 1.9}.name());
        QCOMPARE(chart->caption(), name);
        for (const QLabel* label : polar.findChildren<QLabel*>()) QVERIFY(!label->text().contains(name));
        // The legend stands clear of the curves, above the plotting rectangle.
        const QRectF area = chart->plotArea(chart->size());
        const QVector<QRectF> legend = chart->legendEntries(chart->size());
        QCOMPARE(legend.size(), 2);
        for (const QRectF& entry : legend) QVERIFY(!entry.intersects(area));
        // Pinned CL and pinned CMc/4 in colours of their own, both named.
        QTest::mouseClick(polar.findChild<QPushButton*>("polarKeep"), Qt::LeftButton);
        const Chart::Curve& pinnedCL = chart->curves()[0];
        const Chart::Curve& pinnedCM = chart->curves()[1];
        QVERIFY(pinnedCM.rightAxis && !pinnedCL.rightAxis);
        QVERIFY(pinnedCL.colour.rgb() != pinnedCM.colour.rgb());
        QCOMPARE(pinnedCM.name, name + ": CMc/4 (right)");
        QCOMPARE(chart->legendEntries(chart->size()).size(), 4);
    }

    // The table takes its share of what the window grows by and shows more rows.
    void tableGrowsWithTheWindow() {
        PolarWindow polar(d.messages, d.asker);
        polar.resize(900, 600);
        polar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&polar));
        polar.setAirfoil(orvek::Airfoil{0.1, 0.05, 1.9});
        auto* table = polar.findChild<QTableView*>("polarTable");
        const int rowHeight = table->verticalHeader()->defaultSectionSize();
        const int before = table->viewport()->height();
        QVERIFY2(before >= 6 * rowHeight, qPrintable(QString::number(before)));
        polar.resize(900, 900);
        QTRY_VERIFY(table->viewport()->height() >= before + 100);
        qInfo("table rows shown: %d at 600 px, %d at 900 px", before / rowHeight, table->viewport()->height() / rowHeight);
    }

    // With a Reynolds number typed, the drag polar: the points, the table's columns and the saved
    // file are those of orvek-batch sweep --re for the same case, and the points past the first
    // separation are drawn apart and said in the table.
    void dragPolar() {
        d.open();
        d.calculate(0);  // F 0.1, G 0.05, m 2
        d.press(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        PolarWindow* polar = d.tools()->polarWindow();
        QVERIFY(polar && polar->isVisible());
        typeInto(polar->findChild<QDoubleSpinBox*>("polarRe"), "1e6");
        QVERIFY2(polar->problem().isEmpty(), qPrintable(polar->problem()));
        QVERIFY(!polar->calculating());
        QCOMPARE(polar->rows().size(), std::size_t(51));

        QProcess batch;
        batch.start(ORVEK_BATCH, {"sweep", "--F", "0.1", "--G", "0.05", "--m", "2", "--from", "-10", "--to", "15",
                                  "--step", "0.5", "--re", "1e6", "--format", "csv"});
        QVERIFY(batch.waitForFinished(30000));
        QCOMPARE(batch.exitCode(), 0);
        const QByteArray expected = batch.readAllStandardOutput();
        QList<QByteArray> lines = expected.split('\n');
        QCOMPARE(lines[0], QByteArray("alpha,CL,CMc4,Alfa0,CpMin,xCpMin,surfaceCpMin,CD,CDf,CDp,xtrUpper,xtrLower,LD,valid"));

        auto* table = polar->findChild<QTableView*>("polarTable");
        QCOMPARE(header(table, 6), QString("CD"));
        QCOMPARE(header(table, 9), QString("L/D"));
        const QLocale locale;
        const auto* dragChart = polar->findChild<Chart*>("polarDragChart");
        const auto* ratioChart = polar->findChild<Chart*>("polarRatioChart");
        QVERIFY(dragChart->isVisible() && ratioChart->isVisible());
        const Chart::Curve* attached = curveNamed(dragChart, "CL against CD");
        const Chart::Curve* separated = curveNamed(dragChart, "past the first separation");
        QVERIFY(attached && separated);
        QVector<QPointF> attachedPoints = finitePoints(*attached), separatedPoints = finitePoints(*separated);
        int past = 0;
        for (int row = 0; row < 51; ++row) {
            const QList<QByteArray> f = lines[row + 1].split(',');
            const double CL = f[1].toDouble(), CD = f[7].toDouble();
            const orvek::SweepRow& r = polar->rows()[static_cast<std::size_t>(row)];
            QCOMPARE(r.alphaDegrees, f[0].toDouble());
            QCOMPARE(r.coefficients.CL, CL);
            QCOMPARE(r.drag->CD, CD);
            QCOMPARE(r.drag->transitionUpper, f[10].toDouble());
            QCOMPARE(r.drag->transitionLower, f[11].toDouble());
            QCOMPARE(cell(table, row, 6), locale.toString(CD, 'f', 5));
            QCOMPARE(cell(table, row, 7), locale.toString(f[10].toDouble(), 'f', 3));
            QCOMPARE(cell(table, row, 9), locale.toString(f[12].toDouble(), 'f', 1));
            // The point (CD, CL) drawn on the drag polar: solid before the first separation,
            // dashed past it, and so said in the table.
            const QPointF point(CD, CL);
            const bool isPast = polar->pastSeparation()[static_cast<std::size_t>(row)];
            QCOMPARE(attachedPoints.contains(point), !isPast);
            QVERIFY(separatedPoints.contains(point) || !isPast);
            QCOMPARE(cell(table, row, 10).isEmpty(), !isPast);
            if (f[13] == "false") QVERIFY(isPast);  // a row whose layer separates is past it
            past += isPast ? 1 : 0;
        }
        QVERIFY2(past > 0 && past < 51, qPrintable(QString::number(past)));
        QCOMPARE(attached->style, Qt::SolidLine);
        QCOMPARE(separated->style, Qt::DashLine);
        QCOMPARE(separated->dots, Chart::Dots::Hollow);
        // L/D against the angle, drawn as the drag polar is.
        const QVector<QPointF> ratio = finitePoints(*curveNamed(ratioChart, "L/D"));
        for (std::size_t k = 0; k < polar->rows().size(); ++k) {
            const orvek::SweepRow& r = polar->rows()[k];
            const QPointF point(r.alphaDegrees, r.coefficients.CL / r.drag->CD);
            QCOMPARE(ratio.contains(point), !polar->pastSeparation()[k]);
        }

        QApplication::processEvents();  // the charts shown beside take their room
        QVERIFY(dragChart->width() >= 150 && ratioChart->width() >= 150);
        d.snapshotIfAsked("polar-drag.png", polar);

        // The saved CSV is orvek-batch's, byte for byte.
        d.asker.answer = FileNameAsker::Choice{d.path("drag.csv"), 0};
        QTest::mouseClick(polar->findChild<QPushButton*>("polarSaveCsv"), Qt::LeftButton);
        QFile csv(d.path("drag.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll(), expected);

        // Emptied, the box gives the inviscid polar again.
        typeInto(polar->findChild<QDoubleSpinBox*>("polarRe"), "");
        QVERIFY(!polar->rows().front().drag);
        QCOMPARE(table->model()->columnCount(), 6);
        QVERIFY(!dragChart->isVisible());
        QVERIFY(d.messages.messages.isEmpty());
    }

    // The Reynolds number box reads a point or a comma and a power of ten; text that is no
    // number is refused with a sentence (the box keeps what it had: empty, inviscid), and so is a
    // number out of range.
    void reynoldsBox_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("Re");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("message");
        QTest::newRow("power of ten") << "1e6" << 1e6 << "" << "";
        QTest::newRow("whole") << "1000000" << 1e6 << "" << "";
        QTest::newRow("comma") << "2,5e6" << 2.5e6 << "" << "";
        QTest::newRow("blanks") << " 3e5 " << 3e5 << "" << "";
        QTest::newRow("letters") << "1e6x" << 0.0 << ""
                                 << QString::fromUtf8("“1e6x” is no number for the Reynolds number");
        QTest::newRow("too small") << "10" << 0.0 << "from 1000 to 1000000000; 10 is too small" << "";
        QTest::newRow("too large") << "1e10" << 0.0 << "10000000000 is too large" << "";
    }
    void reynoldsBox() {
        QFETCH(QString, typed);
        QFETCH(double, Re);
        QFETCH(QString, problem);
        QFETCH(QString, message);
        const std::unique_ptr<PolarWindow> window = shownPolar(orvek::Airfoil{0.1, 0.05, 2}, "-5");
        PolarWindow& polar = *window;
        typeInto(polar.findChild<QDoubleSpinBox*>("polarRe"), typed);
        if (!problem.isEmpty()) {
            QVERIFY2(polar.problem().contains(problem), qPrintable(polar.problem()));
            QVERIFY(polar.rows().empty());
            QVERIFY(d.messages.messages.isEmpty());
            return;
        }
        QVERIFY2(polar.problem().isEmpty(), qPrintable(polar.problem()));
        QCOMPARE(polar.rows().size(), std::size_t(11));
        if (!message.isEmpty()) {
            QCOMPARE(d.messages.messages.size(), 1);
            QVERIFY2(d.messages.messages.front().contains(message), qPrintable(d.messages.messages.front()));
            QVERIFY(!polar.rows()[6].drag);
            return;
        }
        orvek::ViscousInput v;
        v.airfoil = orvek::Airfoil{0.1, 0.05, 2};
        v.alphaDegrees = -7;
        v.Re = Re;
        QCOMPARE(polar.rows()[6].drag->CD, orvek::boundaryLayer(v)->CD);
        QVERIFY(d.messages.messages.isEmpty());
    }

    // The step box shows as many decimals as the step has, and the table's angles as many.
    void stepDecimals_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("secondAngle");
        QTest::newRow("0.001") << "0.001" << QString::fromUtf8("0.001°") << "-9.999";
        QTest::newRow("0,25") << "0,25" << QString::fromUtf8("0.25°") << "-9.75";
        QTest::newRow("0.5") << "0.5" << QString::fromUtf8("0.50°") << "-9.50";
        QTest::newRow("0.0125") << "0.0125" << QString::fromUtf8("0.0125°") << "-9.9875";
        QTest::newRow("2") << "2" << QString::fromUtf8("2.00°") << "-8.00";
    }
    void stepDecimals() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, secondAngle);
        PolarWindow polar(d.messages, d.asker);
        polar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&polar));
        polar.setAirfoil(orvek::Airfoil{0.1, 0.05, 1.9});
        typeInto(polar.findChild<QDoubleSpinBox*>("polarTo"), "-8");
        auto* step = polar.findChild<QDoubleSpinBox*>("polarStep");
        typeInto(step, typed);
        QCOMPARE(step->text(), shown);
        QTRY_VERIFY(!polar.calculating());
        QVERIFY2(polar.problem().isEmpty(), qPrintable(polar.problem()));
        auto* table = polar.findChild<QTableView*>("polarTable");
        QCOMPARE(cell(table, 1, 0), secondAngle);
        QCOMPARE(polar.rows()[1].alphaDegrees, secondAngle.toDouble());
    }

    // A long sweep runs on its own thread: the window answers and follows it with the progress
    // bar; Cancel stops it at once with the angles calculated so far shown, and the next sweep
    // runs as usual.
    void cancelLongSweep() {
        PolarWindow polar(d.messages, d.asker);
        polar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&polar));
        polar.setAirfoil(orvek::Airfoil{0.1, 0.05, 1.9});
        typeInto(polar.findChild<QDoubleSpinBox*>("polarNP"), "1000001");
        typeInto(polar.findChild<QDoubleSpinBox*>("polarStep"), "0.001");
        QVERIFY(polar.calculating());
        QVERIFY(polar.rows().empty());
        // The window's thread is free: its timer moves the progress bar on while angles are done.
        QTRY_VERIFY_WITH_TIMEOUT(!polar.progressText().startsWith("0 of"), 60000);
        QVERIFY(polar.progressText().endsWith("of 25001 angles"));
        auto* cancel = polar.findChild<QPushButton*>("polarCancel");
        QVERIFY(cancel->isVisible());
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(cancel, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!polar.calculating(), 10000);
        const qint64 stopped = clock.elapsed();
        qInfo("Cancel to a usable window: %lld ms", stopped);
        QVERIFY2(stopped < 5000, qPrintable(QString::number(stopped)));
        QVERIFY2(polar.progressText().startsWith("Cancelled after"), qPrintable(polar.progressText()));
        QVERIFY(!polar.rows().empty() && polar.rows().size() < 25001);
        QVERIFY(polar.problem().isEmpty());
        // The next sweep runs, on its thread (51 angles at 1,000,001 points) and then at once.
        typeInto(polar.findChild<QDoubleSpinBox*>("polarStep"), "0.5");
        QVERIFY(polar.calculating());
        QTRY_VERIFY_WITH_TIMEOUT(!polar.calculating(), 120000);
        QCOMPARE(polar.rows().size(), std::size_t(51));
        QVERIFY(polar.progressText().isEmpty());
        typeInto(polar.findChild<QDoubleSpinBox*>("polarNP"), "201");
        QVERIFY(!polar.calculating());
        QCOMPARE(polar.rows().size(), std::size_t(51));
        // Esc cancels too, and closing the window during a sweep stops it.
        typeInto(polar.findChild<QDoubleSpinBox*>("polarNP"), "1000001");
        typeInto(polar.findChild<QDoubleSpinBox*>("polarStep"), "0.001");
        QVERIFY(polar.calculating());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!polar.calculating());
        QVERIFY(d.messages.messages.isEmpty());
    }
};

QTEST_MAIN(TestPolar)
#include "test_polar.moc"
