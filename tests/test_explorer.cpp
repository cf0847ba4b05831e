// The airfoil explorer, driven headless as a user would drive it.

#include "ExplorerWindow.h"
#include "support/SolveCase.h"
#include "plot/Chart.h"
#include "support/MainWindowDriver.h"

#include "NumberBox.h"
#include "PolarWindow.h"
#include "support/ChildRun.h"
#include "solver/boundarylayer/BoundaryLayer.h"

#include <QClipboard>
#include <QDoubleSpinBox>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>

#include <algorithm>

namespace {

// Types `text` into a number box as a user does: the box's number selected, the keys, Return.
void typeInto(QAbstractSpinBox* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

// The first number of a label's text, read in the default locale ("0,1180 at x/c 0,2523").
double firstNumber(const QString& text) { return QLocale().toDouble(text.section(' ', 0, 0).remove(QChar(0xB0))); }
double numberAfter(const QString& text, const QString& word) {
    return QLocale().toDouble(text.section(word + " ", 1).section(' ', 0, 0));
}

}  // namespace

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
        QVERIFY(std::fabs(explorer.geometry().thickness - target) < 1e-5);
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
        // Another angle draws nothing of the targets that cannot be designed.
        explorer.spinBox(ExplorerWindow::Alpha)->setValue(7);
        QVERIFY2(explorer.problem().contains(named), qPrintable(explorer.problem()));
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

    // The explorer shows what orvek-batch describe prints for the same airfoil, and the same
    // sentence where describe refuses a shape that is no simple airfoil.
    void showsWhatDescribePrints_data() {
        QTest::addColumn<double>("F");
        QTest::addColumn<double>("G");
        QTest::addColumn<double>("m");
        QTest::newRow("Joukowsky") << 0.1 << 0.05 << 2.0;
        QTest::newRow("Karman-Trefftz") << 0.25 << -0.08 << 1.85;
        QTest::newRow("circular arc, F = 0") << 0.0 << 0.05 << 2.0;
        QTest::newRow("flat plate") << 0.0 << 0.0 << 2.0;
        QTest::newRow("F below 0") << -0.3 << 0.0 << 2.0;
        QTest::newRow("m beyond 2") << 0.1 << 0.0 << 2.5;
    }
    void showsWhatDescribePrints() {
        QFETCH(double, F);
        QFETCH(double, G);
        QFETCH(double, m);
        QProcess batch;
        batch.start(ORVEK_BATCH,
                    {"describe", "--F", QString::number(F), "--G", QString::number(G), "--m", QString::number(m)});
        QVERIFY(batch.waitForFinished(10000));
        ExplorerWindow explorer(d.messages, d.asker);
        explorer.setAirfoil(orvek::Airfoil{F, G, m}, 2);
        if (batch.exitCode() != 0) {
            QCOMPARE(batch.exitCode(), 1);
            const QString reason = QString::fromUtf8(batch.readAllStandardError()).trimmed().section(": ", 1);
            QCOMPARE(explorer.problem(), reason);
            QVERIFY(!explorer.plotsShown());
            QVERIFY(explorer.findChild<QLabel*>("explorerDelta")->text().isEmpty());
            return;
        }
        const QStringList line = QString::fromUtf8(batch.readAllStandardOutput()).trimmed().split(',');
        QCOMPARE(line.size(), 7);
        QVERIFY2(explorer.plotsShown(), qPrintable(explorer.problem()));
        const QString delta = explorer.findChild<QLabel*>("explorerDelta")->text();
        const QString gama = explorer.findChild<QLabel*>("explorerGama")->text();
        QCOMPARE(firstNumber(delta), line[0].toDouble());
        QCOMPARE(firstNumber(gama), line[1].toDouble());
        QCOMPARE(numberAfter(delta, "x/c"), line[2].toDouble());
        QCOMPARE(firstNumber(explorer.findChild<QLabel*>("explorerTau")->text()), line[3].toDouble());
    }

    // With a Reynolds number typed (1e6 or 1000000, a point or a comma) the explorer shows the
    // core's viscous estimate: CD, the transition on each side, L/D, the warnings in words, and
    // transition and separation marked on the profile where the core puts them. Emptied: inviscid.
    void viscousEstimate_data() {
        QTest::addColumn<double>("F");
        QTest::addColumn<double>("G");
        QTest::addColumn<double>("m");
        QTest::addColumn<double>("alpha");
        QTest::addColumn<bool>("german");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("Re");
        QTest::newRow("Joukowsky, 1e6") << 0.1 << 0.05 << 2.0 << 3.0 << false << "1e6" << 1e6;
        QTest::newRow("Karman-Trefftz, 3000000") << 0.12 << 0.02 << 1.9 << 1.0 << false << "3000000" << 3e6;
        QTest::newRow("separating at 12 degrees, 2,5e5 German") << 0.1 << 0.05 << 1.9 << 12.0 << true << "2,5e5"
                                                                << 2.5e5;
    }
    void viscousEstimate() {
        QFETCH(double, F);
        QFETCH(double, G);
        QFETCH(double, m);
        QFETCH(double, alpha);
        QFETCH(bool, german);
        QFETCH(QString, typed);
        QFETCH(double, Re);
        QLocale::setDefault(german ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c());
        const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
        const QLocale locale;
        ExplorerWindow explorer(d.messages, d.asker);
        explorer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&explorer));
        explorer.setAirfoil(orvek::Airfoil{F, G, m}, alpha);
        const auto text = [&](const char* name) { return explorer.findChild<QLabel*>(name)->text(); };
        QCOMPARE(text("explorerCD"), QString("inviscid"));
        QVERIFY(explorer.profileChart()->markers().isEmpty());

        auto* box = explorer.findChild<QDoubleSpinBox*>("explorerRe");
        typeInto(box, typed);
        orvek::ViscousInput in;
        in.airfoil = orvek::Airfoil{F, G, m};
        in.alphaDegrees = alpha;
        in.Re = Re;
        const orvek::Expected<orvek::ViscousResult> core = orvek::boundaryLayer(in);
        QVERIFY(core);
        QVERIFY(explorer.viscous());
        QCOMPARE(explorer.viscous()->CD, core->CD);
        QCOMPARE(text("explorerCD"), locale.toString(core->CD, 'f', 5));
        QCOMPARE(text("explorerTransition"), QString("%1 upper, %2 lower").arg(locale.toString(core->upper.transition, 'f', 3),
                                                                   locale.toString(core->lower.transition, 'f', 3)));
        const double CL = solveCase(F, G, m, alpha, 201).coefficients.CL;
        QCOMPARE(text("explorerLD"), locale.toString(CL / core->CD, 'f', 1));
        // Each place the core names is marked on its side of the profile, at its x/c.
        const QVector<Chart::Marker> markers = explorer.profileChart()->markers();
        int expected = 0;
        for (const orvek::LayerSide* side : {&core->upper, &core->lower}) {
            const bool lower = side == &core->lower;
            std::vector<std::pair<QString, double>> places;
            if (side->transition < 1) places.emplace_back("transition", side->transition);
            if (side->separation) places.emplace_back("separation", *side->separation);
            for (const auto& [word, x] : places) {
                ++expected;
                const auto found = std::find_if(markers.begin(), markers.end(), [&](const Chart::Marker& mk) {
                    return mk.labelBelow == lower && mk.label.startsWith(word) && std::fabs(mk.at.x() - x) < 1e-12;
                });
                QVERIFY2(found != markers.end(), qPrintable(QString("%1 at %2").arg(word).arg(x)));
                QCOMPARE(found->label, word + " " + locale.toString(x, 'f', 2));
                // On the drawn profile, on that side.
                double nearest = 1;
                for (const QPointF& p : explorer.profileChart()->curves().back().points) {
                    nearest = std::min(nearest, std::hypot(p.x() - found->at.x(), p.y() - found->at.y()));
                }
                QVERIFY2(nearest < 0.01, qPrintable(QString::number(nearest)));
                QVERIFY(lower ? found->at.y() < 0.05 : found->at.y() > -0.01);
            }
        }
        QVERIFY(expected > 0);
        // The warnings in words, where there are any.
        auto* note = explorer.findChild<QLabel*>("explorerViscousNote");
        QCOMPARE(note->text().isEmpty(), core->flags.empty());
        for (const orvek::ViscousFlag& flag : core->flags) {
            QVERIFY2(note->text().contains(QString::fromStdString(flag.sentence)), qPrintable(note->text()));
        }
        if (alpha > 10) QVERIFY(!core->flags.empty());

        // Emptied, the box means inviscid again.
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(box->text().isEmpty());
        QVERIFY(!explorer.viscous());
        QCOMPARE(text("explorerCD"), QString("inviscid"));
        QVERIFY(explorer.profileChart()->markers().isEmpty());
        QVERIFY(d.messages.messages.isEmpty());
    }

    // The title and the captions name the airfoil with F and G as typed, not with 17 digits.
    void airfoilNamedAsTyped_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("named");
        QTest::newRow("F 0.1") << "box_F" << "0.1" << "F=0.1 G=0.05";
        QTest::newRow("F 0,3 with a comma") << "box_F" << "0,3" << "F=0.3 G=0.05";
        QTest::newRow("G 0.07") << "box_G" << "0.07" << "F=0.12 G=0.07";
        // F and G as the design finds them, to the boxes' four decimals.
        QTest::newRow("designed for thickness 0.15") << "box_thickness" << "0.15" << "";
    }
    void airfoilNamedAsTyped() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, named);
        ExplorerWindow explorer(d.messages, d.asker);
        explorer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&explorer));
        explorer.setAirfoil(orvek::Airfoil{0.12, 0.05, 2}, 2);
        if (named.isEmpty()) {
            explorer.setTargetMode(true);
            typeInto(explorer.findChild<QDoubleSpinBox*>(box), typed);
            const orvek::Airfoil a = explorer.airfoil();
            QVERIFY(orvek::shortestText(a.F).size() > 10);  // the design's digits
            const auto four = [](double v) { return std::round(v * 1e4) / 1e4; };
            const QString name = QString::fromStdString(orvek::Airfoil{four(a.F), four(a.G), four(a.m)}.name());
            QVERIFY(name.size() < 40);
            QVERIFY2(explorer.windowTitle().endsWith(name), qPrintable(explorer.windowTitle() + " | " + name));
            QVERIFY(explorer.profileChart()->caption().startsWith(name + ","));
            return;
        }
        typeInto(explorer.findChild<QDoubleSpinBox*>(box), typed);
        QVERIFY2(explorer.windowTitle().endsWith("Joukowsky " + named), qPrintable(explorer.windowTitle()));
        QVERIFY2(explorer.profileChart()->caption().startsWith("Joukowsky " + named + ","),
                 qPrintable(explorer.profileChart()->caption()));
        QVERIFY(explorer.pressureChart()->caption().startsWith("Joukowsky " + named + ","));
    }

    // Every box of the new windows reads a point or a comma, shows the locale's separator and no
    // group separators; a value beyond the range is kept as typed and refused with a sentence
    // naming the limit, never cut to its first digits.
    void typedNumbers_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("german");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("refusal");  // a part of the sentence, empty when accepted
        const QString deg = QString::fromUtf8("°");
        QTest::newRow("explorer F, point, German") << "explorer"
                                                   << "box_F" << true << "0.14" << 0.14 << "0,1400"
                                                   << "";
        QTest::newRow("explorer F, comma, German") << "explorer"
                                                   << "box_F" << true << "0,14" << 0.14 << "0,1400"
                                                   << "";
        QTest::newRow("explorer F, comma, C") << "explorer"
                                              << "box_F" << false << "0,14" << 0.14 << "0.1400"
                                              << "";
        QTest::newRow("explorer NP, no grouping") << "explorer"
                                                  << "explorerNP" << true << "20001" << 20001.0 << "20001"
                                                  << "";
        QTest::newRow("explorer thickness beyond 0.3") << "explorer"
                                                       << "box_thickness" << false << "0.5" << 0.5 << "0.5000"
                                                       << "to 0.3";
        QTest::newRow("explorer camber beyond 0.1") << "explorer"
                                                    << "box_camber" << true << "0,15" << 0.15 << "0,1500"
                                                    << "to 0,1";
        QTest::newRow("explorer angle beyond 360")
            << "explorer"
            << "box_alpha" << false << "400" << 400.0 << "400.00" + deg << "to 360";
        QTest::newRow("explorer NP beyond 1000001") << "explorer"
                                                    << "explorerNP" << false << "1000002" << 1000002.0 << "1000002"
                                                    << "to 1000001";
        QTest::newRow("polar from, point, German") << "polar"
                                                   << "polarFrom" << true << "-4.5" << -4.5 << "-4,50" + deg << "";
        QTest::newRow("polar from, comma, German") << "polar"
                                                   << "polarFrom" << true << "-4,5" << -4.5 << "-4,50" + deg << "";
        QTest::newRow("polar from -360") << "polar"
                                         << "polarFrom" << false << "-360" << -360.0 << "-360.00" + deg << "";
        QTest::newRow("polar to 200") << "polar"
                                      << "polarTo" << false << "200" << 200.0 << "200.00" + deg << "";
        QTest::newRow("polar from beyond -360")
            << "polar"
            << "polarFrom" << false << "-400" << -400.0 << "-400.00" + deg << "from -360";
        QTest::newRow("polar NP 1") << "polar"
                                    << "polarNP" << false << "1" << 1.0 << "1"
                                    << "from 2";
        QTest::newRow("polar NP beyond 1000001") << "polar"
                                                 << "polarNP" << false << "1000002" << 1000002.0 << "1000002"
                                                 << "to 1000001";
    }
    void typedNumbers() {
        QFETCH(QString, window);
        QFETCH(QString, box);
        QFETCH(bool, german);
        QFETCH(QString, typed);
        QFETCH(double, value);
        QFETCH(QString, shown);
        QFETCH(QString, refusal);
        QLocale::setDefault(german ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c());
        const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
        ExplorerWindow explorer(d.messages, d.asker);
        PolarWindow polar(d.messages, d.asker);
        polar.setAirfoil(orvek::Airfoil{0.1, 0.05, 1.9});
        QWidget* w = window == "polar" ? static_cast<QWidget*>(&polar) : &explorer;
        if (box == "box_thickness" || box == "box_camber") explorer.setTargetMode(true);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        auto* field = w->findChild<QDoubleSpinBox*>(box);
        QVERIFY(field);
        typeInto(field, typed);
        QCOMPARE(field->value(), value);
        QCOMPARE(field->text(), shown);
        const QString problem = window == "polar" ? polar.problem() : explorer.problem();
        if (refusal.isEmpty()) {
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        } else {
            QVERIFY2(problem.contains(refusal), qPrintable(problem));
            QVERIFY(window == "polar" ? polar.rows().empty() : !explorer.plotsShown());
        }
        QVERIFY(d.messages.messages.isEmpty());
    }

    // Tab moves from box to box in reading order, so typed values reach their boxes.
    void tabGoesFromBoxToBox_data() {
        QTest::addColumn<bool>("targets");
        QTest::newRow("mapping parameters") << false;
        QTest::newRow("design targets") << true;
    }
    void tabGoesFromBoxToBox() {
        QFETCH(bool, targets);
        ExplorerWindow explorer(d.messages, d.asker);
        explorer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&explorer));
        explorer.setTargetMode(targets);
        const auto first = targets ? ExplorerWindow::Thickness : ExplorerWindow::F;
        const auto second = targets ? ExplorerWindow::Camber : ExplorerWindow::G;
        const auto third = targets ? ExplorerWindow::TeAngle : ExplorerWindow::m;
        QAbstractSpinBox* box = explorer.spinBox(first);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, targets ? "0.15" : "0.12");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(explorer.spinBox(second)));
        explorer.spinBox(second)->selectAll();
        QTest::keyClicks(QApplication::focusWidget(), "0.02");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(explorer.spinBox(third)));
        QCOMPARE(explorer.spinBox(first)->value(), targets ? 0.15 : 0.12);
        QCOMPARE(explorer.spinBox(second)->value(), 0.02);
        QVERIFY2(explorer.plotsShown(), qPrintable(explorer.problem()));
        if (targets) QVERIFY(std::fabs(explorer.geometry().camber - 0.02) < 1e-6);
        else QCOMPARE(explorer.airfoil().G, 0.02);
    }

    // Switching between the mapping parameters and the targets keeps F, G and m exactly.
    void switchingModesKeepsTheAirfoil() {
        ExplorerWindow explorer(d.messages, d.asker);
        explorer.show();
        const orvek::Airfoil airfoil{0.2004, 0.03127, 1.9381};
        explorer.setAirfoil(airfoil, 4);
        const QString CL = explorer.findChild<QLabel*>("explorerCL")->text();
        for (const char* mode : {"explorerByTargets", "explorerByParameters", "explorerByTargets"}) {
            QTest::mouseClick(explorer.findChild<QRadioButton*>(mode), Qt::LeftButton);
            QCOMPARE(explorer.airfoil(), airfoil);
            QCOMPARE(explorer.findChild<QLabel*>("explorerCL")->text(), CL);
        }
        QVERIFY(!explorer.editedByUser());
        // Changing a target designs a new airfoil.
        typeInto(explorer.spinBox(ExplorerWindow::Thickness), "0.15");
        QVERIFY(explorer.airfoil() != airfoil);
        QVERIFY(explorer.editedByUser());
    }

    // Opening the explorer from the menu shows the main window's current airfoil and angle, until
    // the user changes the explorer.
    void explorerFollowsTheMainWindowUntilEdited() {
        d.open();
        d.calculate(1, "51", "3");
        d.press(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        ExplorerWindow* explorer = d.tools()->explorerWindow();
        QCOMPARE(explorer->airfoil(), orvek::Airfoil({0.1, 0.05, 1.9}));
        explorer->close();
        d.calculate(2, "51", "6");
        d.tools()->exploreAction()->trigger();
        QCOMPARE(explorer->airfoil(), orvek::Airfoil({0.1, 0.0, 2.0}));
        QCOMPARE(explorer->spinBox(ExplorerWindow::Alpha)->value(), 6.0);
        typeInto(explorer->spinBox(ExplorerWindow::G), "0.04");
        d.calculate(1);
        d.tools()->exploreAction()->trigger();
        QCOMPARE(explorer->airfoil(), orvek::Airfoil({0.1, 0.04, 2.0}));
    }

    // The explorer's plots have the plot items and "Add to catalogue", which appends the
    // airfoil's line to the working folder's catalogue and reloads the main window's list.
    void explorerPlotItems() {
        d.open();
        d.tools()->exploreAction()->trigger();
        ExplorerWindow* explorer = d.tools()->explorerWindow();
        QVERIFY(QTest::qWaitForWindowExposed(explorer));
        explorer->setAirfoil(orvek::Airfoil{0.12, 0.02, 1.95}, 3);
        QStringList items;
        for (QAction* a : explorer->plotMenu()->actions()) {
            if (!a->isSeparator()) items << a->text();
        }
        QCOMPARE(items, QStringList({"Copy picture", QString::fromUtf8("Save picture as…"),
                                     QString::fromUtf8("Export coordinates…"), "Add to catalogue",
                                     QString::fromUtf8("Polar…"), QString::fromUtf8("Compare with a file…")}));
        // The menu opens on a plot with the right button.
        Chart* chart = explorer->pressureChart();
        QTest::mouseClick(explorer->windowHandle(), Qt::RightButton, {},
                          chart->mapTo(explorer, chart->rect().center()));
        QTRY_VERIFY(explorer->plotMenu()->isVisible());
        QTest::keyClick(explorer->plotMenu(), Qt::Key_Escape);

        // Add to catalogue.
        explorer->findChild<QAction*>("explorerAddToCatalogue")->trigger();
        QVERIFY2(d.messages.messages.isEmpty(), qPrintable(d.messages.messages.join('\n')));
        QFile f(d.path("ORVEK_Input.txt"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray catalogue = f.readAll();
        QVERIFY(catalogue.startsWith(MainWindowDriver::Catalogue));
        QVERIFY2(catalogue.endsWith(",0.12,0.02,1.95\r\n"), catalogue.constData());
        auto* combo = d.window->findChild<QComboBox*>("Combo1");
        QCOMPARE(combo->count(), 4);
        QVERIFY(combo->itemText(3).endsWith(",0.12,0.02,1.95"));

        // Export coordinates and the polar of this airfoil.
        d.asker.answer = FileNameAsker::Choice{d.path("e.dat"), 0};
        explorer->findChild<QAction*>("explorerExportCoordinates")->trigger();
        QVERIFY(QFile::exists(d.path("e.dat")));
        explorer->findChild<QAction*>("explorerPolar")->trigger();
        QCOMPARE(d.tools()->polarWindow()->airfoil(), orvek::Airfoil({0.12, 0.02, 1.95}));
        // A picture of a plot, with its caption.
        d.asker.answer = FileNameAsker::Choice{d.path("e.png"), 0};
        explorer->findChild<QAction*>("explorerSavePicture")->trigger();
        QImage picture;
        QVERIFY(picture.load(d.path("e.png")));
        QVERIFY(d.messages.messages.isEmpty());
    }

    // A full catalogue, or one that is not a plain file, is refused with a sentence.
    void addToCatalogueRefuses_data() {
        QTest::addColumn<int>("airfoils");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("reason");
        QTest::newRow("50 airfoils") << 50 << false << "already holds 50 airfoils";
        QTest::newRow("a folder") << 0 << true << "not a plain file";
    }
    void addToCatalogueRefuses() {
        QFETCH(int, airfoils);
        QFETCH(bool, folder);
        QFETCH(QString, reason);
        QByteArray catalogue = "Full\r\n";
        for (int k = 0; k < airfoils; ++k) catalogue += "0.118,0.0227,0.2523,0,0.1,0.05,2\r\n";
        d.open(catalogue);
        if (folder) {
            QVERIFY(QFile::remove(d.path("ORVEK_Input.txt")));
            QVERIFY(QDir(d.dir->path()).mkdir("ORVEK_Input.txt"));
        }
        d.messages.messages.clear();
        d.tools()->exploreAction()->trigger();
        d.tools()->explorerWindow()->addToCatalogue();
        QCOMPARE(d.messages.messages.size(), 1);
        QVERIFY2(d.messages.messages[0].contains(reason), qPrintable(d.messages.messages[0]));
        if (!folder) {
            QFile f(d.path("ORVEK_Input.txt"));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), catalogue);
        }
    }

    // Closing the main window closes the polar and explorer windows, and they do not keep the
    // program running.
    void secondaryWindowsCloseWithTheMainWindow() {
        d.open();
        d.calculate(1);
        d.tools()->polarAction()->trigger();
        d.tools()->exploreAction()->trigger();
        QWidget* windows[] = {d.tools()->polarWindow(), d.tools()->explorerWindow()};
        for (QWidget* w : windows) {
            QVERIFY(w->isVisible());
            QVERIFY(!w->testAttribute(Qt::WA_QuitOnClose));
        }
        d.window->close();
        for (QWidget* w : windows) QVERIFY(!w->isVisible());
    }

    // The new windows open no larger than the screen's available area, at scale factor 2 too.
    void windowsFitTheScreen() {
        d.open();
        d.calculate(1);
        d.tools()->polarAction()->trigger();
        d.tools()->exploreAction()->trigger();
        for (QWidget* w :
             {static_cast<QWidget*>(d.tools()->polarWindow()), static_cast<QWidget*>(d.tools()->explorerWindow())}) {
            QVERIFY(QTest::qWaitForWindowExposed(w));
            const QRect available = w->screen()->availableGeometry();
            QVERIFY2(
                w->frameGeometry().width() <= available.width() && w->frameGeometry().height() <= available.height(),
                qPrintable(QString("%1: %2 x %3 on %4 x %5")
                               .arg(w->objectName())
                               .arg(w->frameGeometry().width())
                               .arg(w->frameGeometry().height())
                               .arg(available.width())
                               .arg(available.height())));
            d.snapshotIfAsked(w->objectName() + "-scale" + qEnvironmentVariable("QT_SCALE_FACTOR", "1") + ".png", w);
        }
    }
    void windowsFitTheScreenWhenScaled() {
        const QString failure = failureOfChild("windowsFitTheScreen", {"QT_SCALE_FACTOR=2"});
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }
};

QTEST_MAIN(TestExplorer)
#include "test_explorer.moc"
