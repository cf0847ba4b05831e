// The airfoil explorer, driven headless as a user would drive it.

#include "ExplorerWindow.h"
#include "SolveCase.h"
#include "plot/Chart.h"
#include "support/MainWindowDriver.h"

#include <QClipboard>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>

#include <algorithm>

class TestExplorer : public QObject {
    Q_OBJECT
    MainWindowDriver d;

private slots:
    void init() { d.enter(); }
    void cleanup() { d.leave(); }

    void explorerStartsFromTheLastCase() {
        d.open();
        d.tools()->exploreAction()->trigger();  // before any calculation: the default airfoil
        ExplorerWindow* explorer = d.tools()->explorerWindow();
        QVERIFY(explorer && explorer->isVisible());
        QVERIFY(explorer->plotsShown());
        explorer->close();
        d.window.reset();
        d.open();
        d.calculate(1, "51", "3");
        d.press(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        explorer = d.tools()->explorerWindow();
        QCOMPARE(explorer->airfoil(), orvek::Airfoil({0.1, 0.05, 1.9}));
        QCOMPARE(explorer->spinBox(ExplorerWindow::Alpha)->value(), 3.0);
        const orvek::SolverResult r = solveCase(0.1, 0.05, 1.9, 3, 201);
        QCOMPARE(explorer->findChild<QLabel*>("explorerCL")->text(), QLocale().toString(r.coefficients.CL, 'f', 4));
        QCOMPARE(explorer->profileChart()->curves()[0].points.size(), 201);
        d.snapshotIfAsked("explorer.png", explorer);
    }

    // Moving the thickness slider thickens the drawn profile and the shown thickness follows.
    void thicknessSlider() {
        ExplorerWindow explorer(d.messages, d.asker);
        explorer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&explorer));
        explorer.setAirfoil(orvek::Airfoil{0.1, 0.05, 1.95}, 2);
        explorer.findChild<QRadioButton*>("explorerByTargets")->click();
        QSlider* slider = explorer.slider(ExplorerWindow::Thickness);
        QVERIFY(slider->isVisible());
        auto drawnThickness = [&] {
            double lo = 1, hi = -1;
            for (const QPointF& p : explorer.profileChart()->curves()[0].points) {
                lo = std::min(lo, p.y());
                hi = std::max(hi, p.y());
            }
            return hi - lo;
        };
        const double before = drawnThickness();
        const QString shownBefore = explorer.findChild<QLabel*>("explorerDelta")->text();
        slider->setFocus();
        for (int k = 0; k < 3; ++k) QTest::keyClick(slider, Qt::Key_PageUp);
        QVERIFY(explorer.plotsShown());
        const double target = explorer.spinBox(ExplorerWindow::Thickness)->value();
        QVERIFY(drawnThickness() > before + 0.02);
        const QString shown = explorer.findChild<QLabel*>("explorerDelta")->text();
        QVERIFY(shown != shownBefore);
        QCOMPARE(shown.section(' ', 0, 0), QLocale().toString(target, 'f', 4));
        QVERIFY(std::fabs(explorer.geometry().Delta - target) < 1e-5);
        // The mapping parameters follow the targets: m from the angle.
        QCOMPARE(explorer.airfoil().m, 2.0 - explorer.spinBox(ExplorerWindow::TeAngle)->value() / 180.0);
    }

    void impossibleTargetShowsAReason_data() {
        QTest::addColumn<double>("thickness");
        QTest::addColumn<double>("camber");
        QTest::addColumn<double>("angle");
        QTest::addColumn<QString>("named");
        QTest::newRow("too thin for the angle") << 0.05 << 0.02 << 25.0 << "the thickness 0.05 is below";
        QTest::newRow("too thin for 30 degrees") << 0.12 << 0.0 << 30.0 << "the thickness 0.12 is below";
    }

    void impossibleTargetShowsAReason() {
        QFETCH(double, thickness);
        QFETCH(double, camber);
        QFETCH(double, angle);
        QFETCH(QString, named);
        ExplorerWindow explorer(d.messages, d.asker);
        explorer.show();
        explorer.setTargetMode(true);
        QVERIFY(explorer.plotsShown());
        explorer.spinBox(ExplorerWindow::TeAngle)->setValue(angle);
        explorer.spinBox(ExplorerWindow::Camber)->setValue(camber);
        explorer.spinBox(ExplorerWindow::Thickness)->setValue(thickness);
        QVERIFY2(explorer.problem().contains(named), qPrintable(explorer.problem()));
        QVERIFY(explorer.profileChart()->curves().isEmpty());
        QVERIFY(!explorer.profileChart()->isVisible());
        QVERIFY(explorer.findChild<QLabel*>("explorerProblem")->isVisible());
        QVERIFY(!explorer.findChild<QPushButton*>("explorerCopyLine")->isEnabled());
        // Back inside the range, the plots return.
        explorer.spinBox(ExplorerWindow::Camber)->setValue(0.02);
        explorer.spinBox(ExplorerWindow::Thickness)->setValue(0.15);
        QVERIFY2(explorer.plotsShown(), qPrintable(explorer.problem()));
    }

    // Mapping parameters the solver refuses: the reason replaces the plots, no message box.
    void unsolvableParametersShowAReason() {
        ExplorerWindow explorer(d.messages, d.asker);
        explorer.show();
        explorer.setAirfoil(orvek::Airfoil{0.1, 0.05, 1.9}, 0);
        explorer.spinBox(ExplorerWindow::F)->setFocus();
        explorer.spinBox(ExplorerWindow::F)->selectAll();
        QTest::keyClicks(explorer.spinBox(ExplorerWindow::F), "-0.2");
        QTest::keyClick(explorer.spinBox(ExplorerWindow::F), Qt::Key_Return);
        QCOMPARE(explorer.airfoil().F, -0.2);
        QVERIFY(!explorer.plotsShown());
        const orvek::Expected<orvek::SolverResult> refused = orvek::ORVEK(caseInput(-0.2, 0.05, 1.9, 0, 201));
        QVERIFY(!refused);
        QCOMPARE(explorer.problem(), QString::fromStdString(refused.error()));
        QVERIFY(explorer.findChild<QLabel*>("explorerCL")->text().isEmpty());
        QVERIFY(!explorer.profileChart()->isVisible());
        explorer.spinBox(ExplorerWindow::F)->setValue(0.1);
        QVERIFY(explorer.plotsShown());
    }

    void copyCatalogueLine() {
        ExplorerWindow explorer(d.messages, d.asker);
        explorer.setAirfoil(orvek::Airfoil{0.1, 0.05, 2}, 0);
        QTest::mouseClick(explorer.findChild<QPushButton*>("explorerCopyLine"), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), QString("0.118,0.0227,0.2523,0,0.1,0.05,2"));
    }
};

QTEST_MAIN(TestExplorer)
#include "test_explorer.moc"
