// The flow-field window, the explorer's streamlines and the pinned comparisons, driven headless
// as a user drives them; what is drawn is checked against the flow core where it matters.

#include "ExplorerWindow.h"
#include "FlowWindow.h"
#include "PolarWindow.h"
#include "flow/FlowCanvas.h"
#include "flow/ProfileFlow.h"
#include "plot/Chart.h"
#include "solver/boundarylayer/BoundaryLayer.h"
#include "solver/flow/FlowField.h"
#include "support/MainWindowDriver.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDoubleSpinBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QWheelEvent>
#include <QtTest>

#include <cmath>

namespace {

const orvek::Airfoil Cambered{0.1, 0.05, 1.9};

orvek::FlowField flowOf(const orvek::Airfoil& airfoil, double alpha) {
    orvek::Expected<orvek::FlowField> f = orvek::FlowField::make(airfoil, alpha);
    if (!f) qFatal("%s", f.error().c_str());
    return *f;
}

// The value after "name = " in the status line, read in the user's locale.
double statusValue(const QString& status, const QString& name) {
    const QString key = name + " = ";
    const qsizetype at = status.indexOf(key);
    if (at < 0) return std::nan("");
    const QString rest = status.mid(at + key.size()).section(' ', 0, 0);
    bool ok = false;
    const double value = QLocale().toDouble(rest, &ok);
    return ok ? value : std::nan("");
}

QPoint pixelOf(const FlowCanvas& canvas, QPointF plane) {
    const QPointF p = canvas.view().toPixel(plane, canvas.size());
    return QPoint(static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y())));
}

// The plane point of the colour grid's point drawn at pixel p: the grid has `density` points per
// logical pixel, each drawn over the pixels its cell covers.
QPointF gridPointAt(const FlowCanvas& canvas, QPoint p) {
    const double density = canvas.picture().scene().density;
    const double i = std::floor((p.x() + 0.5) * density), j = std::floor((p.y() + 0.5) * density);
    return canvas.view().toPlane(QPointF((i + 0.5) / density, (j + 0.5) / density), canvas.size());
}

void wheel(QWidget* w, QPointF at, int notches) {
    QWheelEvent event(at, w->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &event);
}

// The colour drawn at the middle of logical pixel p of a grabbed image, whatever the pixel ratio.
QRgb drawn(const QImage& image, QPoint p) {
    const double r = image.devicePixelRatio();
    return image.pixel(static_cast<int>(std::floor((p.x() + 0.5) * r)),
                       static_cast<int>(std::floor((p.y() + 0.5) * r)));
}

int colourDistance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

}  // namespace

class TestFlowWindow : public QObject {
    Q_OBJECT
    MainWindowDriver d;
    std::unique_ptr<FlowWindow> flow;

    // A flow window of its own, at a fixed size, shown.
    FlowWindow& openFlow(const orvek::Airfoil& airfoil = Cambered, double alpha = 4) {
        flow = std::make_unique<FlowWindow>(d.messages, d.asker);
        flow->setCase(airfoil, alpha);
        flow->resize(760, 600);
        flow->show();
        if (!QTest::qWaitForWindowExposed(flow.get())) qWarning("flow window not exposed");
        return *flow;
    }
    void click(const char* name) {
        auto* box = flow->findChild<QAbstractButton*>(name);
        QVERIFY(box);
        QTest::mouseClick(box, Qt::LeftButton);
    }

private slots:
    void init() { d.enter(); }
    void cleanup() {
        flow.reset();
        d.leave();
    }

    // Reached as the other windows are; one instance, following each new calculation.
    void openedFromTheMainWindow_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("shortcut") << "shortcut";
        QTest::newRow("context menu") << "context menu";
    }

    void openedFromTheMainWindow() {
        QFETCH(QString, way);
        d.open();
        QVERIFY(!d.tools()->flowAction()->isEnabled());  // nothing calculated yet
        d.calculate(1, "51", "3");
        if (way == "shortcut") {
            d.press(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        } else {
            PlotArea* area = d.plot("profil");
            area->setFocus();
            d.press(Qt::Key_Menu);
            QTRY_VERIFY(d.tools()->menu()->isVisible());
            d.tools()->menu()->setActiveAction(d.tools()->flowAction());
            QTest::keyClick(d.tools()->menu(), Qt::Key_Return);
        }
        FlowWindow* w = d.tools()->flowWindow();
        QVERIFY(w);
        QTRY_VERIFY(w->isVisible());
        QCOMPARE(w->airfoil(), Cambered);
        QCOMPARE(w->alpha(), 3.0);
        QVERIFY(w->problem().isEmpty());
        d.calculate(0, "51", "6");
        QCOMPARE(w->airfoil(), orvek::Airfoil({0.1, 0.05, 2}));
        QCOMPARE(w->alpha(), 6.0);
        d.tools()->flowAction()->trigger();
        QCOMPARE(d.tools()->flowWindow(), w);
        QVERIFY(d.messages.messages.isEmpty());
        d.window->close();
        QVERIFY(!w->isVisible());
    }

    // The colour under a point is the colour map's at the core's Cp there.
    void colourUnderAPoint_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<bool>("circlePlane");
        QTest::newRow("ahead of the nose") << -0.25 << -0.05 << false;
        QTest::newRow("over the suction side") << 0.3 << 0.16 << false;
        QTest::newRow("under the pressure side") << 0.55 << -0.12 << false;
        QTest::newRow("in the wake") << 1.3 << -0.05 << false;
        QTest::newRow("circle plane, above") << 0.0 << 1.5 << true;
        QTest::newRow("circle plane, behind") << 1.4 << -0.3 << true;
    }

    void colourUnderAPoint() {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(bool, circlePlane);
        FlowWindow& w = openFlow();
        click("flowStreamlines");
        click("flowStagnation");
        if (circlePlane) click("flowCirclePlane");
        FlowCanvas* canvas = w.canvas();
        QVERIFY(canvas->picture().lines().empty());
        const QImage image = canvas->grab().toImage();
        const orvek::FlowField field = flowOf(Cambered, 4);
        const QPoint p = pixelOf(*canvas, QPointF(x, y));
        const QPointF at = gridPointAt(*canvas, p);
        // In the circle plane a point has the colour of its image in the airfoil plane.
        const orvek::FlowPoint z =
            circlePlane ? field.toAirfoil(at.x() - 1.0, at.y()) : orvek::FlowPoint{at.x(), at.y()};
        const double cp = field.at(z).Cp;
        const QRgb expected = canvas->picture().cpScale().colour(cp);
        QVERIFY2(colourDistance(drawn(image, p), expected) <= 6,
                 qPrintable(QString("Cp %1: %2 drawn, %3 expected")
                                .arg(cp)
                                .arg(QColor(drawn(image, p)).name(), QColor(expected).name())));
        // And the colour differs from that of another pressure, so the check can fail.
        QVERIFY(colourDistance(drawn(image, p), canvas->picture().cpScale().colour(cp + 0.3)) > 6);
    }

    // A streamline is drawn where the core's psi has its level: found along a column ahead of the
    // airfoil by bisection on psi, independently of the line's points.
    void streamlineOnItsPsiLevel_data() {
        QTest::addColumn<int>("fromDividing");  // which line, counted from the dividing one
        QTest::newRow("first above") << 1;
        QTest::newRow("third above") << 3;
        QTest::newRow("second below") << -2;
    }

    void streamlineOnItsPsiLevel() {
        QFETCH(int, fromDividing);
        FlowWindow& w = openFlow();
        click("flowColours");
        click("flowStagnation");
        FlowCanvas* canvas = w.canvas();
        const std::vector<orvek::Streamline>& lines = canvas->picture().lines();
        QVERIFY(lines.size() >= 15);
        // The distinct levels, in order; the dividing one is 0.
        std::vector<double> levels;
        for (const orvek::Streamline& l : lines) {
            if (levels.empty() || l.psi != levels.back()) levels.push_back(l.psi);
        }
        const auto zero = std::find(levels.begin(), levels.end(), 0.0) - levels.begin();
        const double psi = levels.at(static_cast<std::size_t>(zero + fromDividing));
        const orvek::FlowField field = flowOf(Cambered, 4);
        const double x = -0.45;
        double lo = -0.6, hi = 0.6;  // psi grows upwards ahead of the airfoil
        for (int k = 0; k < 60; ++k) {
            const double mid = 0.5 * (lo + hi);
            (field.at({x, mid}).psi < psi ? lo : hi) = mid;
        }
        const QImage image = canvas->grab().toImage();
        const QPoint p = pixelOf(*canvas, QPointF(x, lo));
        int darkest = 255;
        for (int dy = -1; dy <= 1; ++dy) darkest = std::min(darkest, qGray(drawn(image, p + QPoint(0, dy))));
        QVERIFY2(darkest < 150, qPrintable(QString("grey %1 at the level %2").arg(darkest).arg(psi)));
        // Halfway to the next level the paper is white.
        const double gap = 0.5 * std::fabs(levels.at(static_cast<std::size_t>(zero + fromDividing + 1)) - psi);
        const QPoint between = pixelOf(*canvas, QPointF(x, lo + gap));
        QCOMPARE(qGray(drawn(image, between)), 255);
    }

    // The front stagnation point carries the marker, in either plane, and only with its check box.
    void stagnationMarker_data() {
        QTest::addColumn<bool>("circlePlane");
        QTest::newRow("airfoil plane") << false;
        QTest::newRow("circle plane") << true;
    }

    void stagnationMarker() {
        QFETCH(bool, circlePlane);
        FlowWindow& w = openFlow(Cambered, 8);
        if (circlePlane) click("flowCirclePlane");
        FlowCanvas* canvas = w.canvas();
        const orvek::FlowField field = flowOf(Cambered, 8);
        orvek::FlowPoint front = field.stagnationPoints().front();
        QVERIFY(front.x < 0.2);
        if (circlePlane) front = field.toCircle(front);
        const QPoint p = pixelOf(*canvas, QPointF(front.x, front.y));
        QCOMPARE(QColor(drawn(canvas->grab().toImage(), p)), QColor(Qt::white));
        click("flowStagnation");
        QVERIFY(QColor(drawn(canvas->grab().toImage(), p)) != QColor(Qt::white));
    }

    // The status line reads the core's values at the point under the pointer; nothing inside.
    void statusLineUnderThePointer_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<bool>("circlePlane");
        QTest::addColumn<bool>("inside");
        QTest::newRow("above the airfoil") << 0.4 << 0.2 << false << false;
        QTest::newRow("near the trailing edge") << 1.02 << -0.01 << false << false;
        QTest::newRow("inside the airfoil") << 0.3 << 0.06 << false << true;
        QTest::newRow("circle plane") << 0.2 << -1.3 << true << false;
        QTest::newRow("inside the circle") << -0.1 << 0.05 << true << true;
    }

    void statusLineUnderThePointer() {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(bool, circlePlane);
        QFETCH(bool, inside);
        FlowWindow& w = openFlow();
        if (circlePlane) click("flowCirclePlane");
        FlowCanvas* canvas = w.canvas();
        // Qt Test's pointer goes through the window system's native pixels: with a scale factor
        // its moves land a pixel or more off, or outside the drawing.
        if (canvas->devicePixelRatioF() != 1.0) QSKIP("pointer moves are exact at a pixel ratio of 1 only");
        QPointF reported;
        connect(canvas, &FlowCanvas::pointerAt, this, [&](QPointF at) { reported = at; });
        // From a point of the flow, where the line reads something, to the point of the row.
        QTest::mouseMove(canvas, QPoint(5, 5));
        QCoreApplication::processEvents();
        QVERIFY(!w.status().isEmpty());
        const QPoint p = pixelOf(*canvas, QPointF(x, y));
        QTest::mouseMove(canvas, p);
        QCoreApplication::processEvents();
        QCOMPARE(w.status().isEmpty(), inside);
        if (inside) return;
        const orvek::FlowField field = flowOf(Cambered, 4);
        // The point the drawing reports lies under the pointer; the line reads the core there.
        const QPointF at = reported;
        const QPointF expectedAt = canvas->view().toPlane(QPointF(p), canvas->size());
        QVERIFY2(std::hypot(at.x() - expectedAt.x(), at.y() - expectedAt.y()) <= canvas->view().scale,
                 qPrintable(QString("reported %1 %2, expected %3 %4")
                                .arg(at.x())
                                .arg(at.y())
                                .arg(expectedAt.x())
                                .arg(expectedAt.y())));
        orvek::FlowPoint z{at.x(), at.y()};
        if (circlePlane) z = field.toAirfoil(at.x() - 1.0, at.y());
        const orvek::FlowValues f = field.at(z);
        const QString s = w.status();
        QVERIFY2(std::fabs(statusValue(s, "x") - z.x) < 1e-4, qPrintable(s));
        QVERIFY2(std::fabs(statusValue(s, "y") - z.y) < 1e-4, qPrintable(s));
        QVERIFY2(std::fabs(statusValue(s, "u") - f.u) < 1e-4, qPrintable(s));
        QVERIFY2(std::fabs(statusValue(s, "v") - f.v) < 1e-4, qPrintable(s));
        QVERIFY2(std::fabs(statusValue(s, "|V|") - std::hypot(f.u, f.v)) < 1e-4, qPrintable(s));
        QVERIFY2(std::fabs(statusValue(s, "Cp") - f.Cp) < 1e-4, qPrintable(s));
        QVERIFY2(std::fabs(statusValue(s, QString::fromUtf8("ψ")) - f.psi) < 1e-4, qPrintable(s));
    }

    // The wheel zooms about the pointer; the keys zoom about the middle and pan; a drag pans.
    void wheelKeysAndDrag_data() {
        QTest::addColumn<QString>("move");
        QTest::addColumn<double>("zoom");    // scale before / scale after
        QTest::addColumn<QPointF>("shift");  // of the picture, in view widths and heights
        QTest::newRow("wheel in") << "wheel 2" << 1.5625 << QPointF();
        QTest::newRow("wheel out") << "wheel -1" << 0.8 << QPointF();
        QTest::newRow("plus") << "key +" << 1.25 << QPointF();
        QTest::newRow("minus") << "key -" << 0.8 << QPointF();
        QTest::newRow("left arrow") << "key left" << 1.0 << QPointF(0.1, 0);
        QTest::newRow("down arrow") << "key down" << 1.0 << QPointF(0, -0.1);
        QTest::newRow("drag") << "drag" << 1.0 << QPointF(50, 20);
    }

    void wheelKeysAndDrag() {
        QFETCH(QString, move);
        QFETCH(double, zoom);
        QFETCH(QPointF, shift);
        FlowWindow& w = openFlow();
        FlowCanvas* canvas = w.canvas();
        const FlowView before = canvas->view();
        const QSizeF size = canvas->size();
        const QPointF pointer(0.3 * size.width(), 0.6 * size.height());
        const QPointF under = before.toPlane(pointer, size);
        canvas->setFocus();
        if (move.startsWith("wheel")) {
            wheel(canvas, pointer, move.section(' ', 1).toInt());
            // The plane point under the pointer stays under it.
            const QPointF after = canvas->view().toPixel(under, size);
            QVERIFY(std::hypot(after.x() - pointer.x(), after.y() - pointer.y()) < 1e-6);
        } else if (move == "drag") {
            QTest::mousePress(canvas, Qt::LeftButton, {}, pointer.toPoint());
            QTest::mouseMove(canvas, (pointer + shift / 2).toPoint());
            QTest::mouseMove(canvas, (pointer + shift).toPoint());
            QTest::mouseRelease(canvas, Qt::LeftButton, {}, (pointer + shift).toPoint());
            const QPointF after = canvas->view().toPixel(before.toPlane(pointer.toPoint(), size), size);
            QVERIFY(std::hypot(after.x() - (pointer + shift).toPoint().x(),
                               after.y() - (pointer + shift).toPoint().y()) < 1e-6);
        } else {
            const QMap<QString, Qt::Key> keys = {{"key +", Qt::Key_Plus},
                                                 {"key -", Qt::Key_Minus},
                                                 {"key left", Qt::Key_Left},
                                                 {"key down", Qt::Key_Down}};
            d.press(keys.value(move));
            const QPointF moved =
                canvas->view().toPixel(before.centre, size) - QPointF(0.5 * size.width(), 0.5 * size.height());
            QVERIFY(std::fabs(moved.x() - shift.x() * size.width()) < 1e-6);
            QVERIFY(std::fabs(moved.y() - shift.y() * size.height()) < 1e-6);
        }
        QVERIFY(std::fabs(before.scale / canvas->view().scale - zoom) < 1e-12);
        // The streamlines are those of the new view: levels spread over what is seen.
        const QRectF e = canvas->view().extent(size);
        int inView = 0;
        for (const orvek::Streamline& l : canvas->picture().lines()) {
            for (const orvek::FlowPoint& q : l.points) inView += e.contains(q.x, q.y) ? 1 : 0;
        }
        QVERIFY(inView > 200);
        // Home, or the button, gives the whole airfoil back.
        QTest::mouseClick(w.findChild<QPushButton*>("flowWholeView"), Qt::LeftButton);
        QCOMPARE(canvas->view().scale, before.scale);
        QCOMPARE(canvas->view().centre, before.centre);
    }

    // 200 notches of the wheel out, each handled before the next comes: the view stops at the
    // widest zoom and the window still answers: Home gives the whole airfoil back, whose picture
    // then replaces the preview by itself.
    void wheelBurstOut() {
        FlowWindow& w = openFlow();
        FlowCanvas* canvas = w.canvas();
        const FlowView whole = canvas->view();
        canvas->setFocus();
        const QPointF pointer(0.3 * canvas->width(), 0.6 * canvas->height());
        double widest = 0;
        for (int notch = 0; notch < 200; ++notch) {
            wheel(canvas, pointer, -1);
            QApplication::processEvents();
            widest = std::max(widest, canvas->view().scale);
        }
        QCOMPARE(canvas->view().scale, widest);
        QCOMPARE(widest, 0.25);  // chords per pixel, the widest the window allows
        d.press(Qt::Key_Home);
        QCOMPARE(canvas->view().scale, whole.scale);
        QCOMPARE(canvas->view().centre, whole.centre);
        QTRY_VERIFY(canvas->showsPicture());
        QCOMPARE(canvas->picture().scene().view.scale, whole.scale);
        QVERIFY(canvas->picture().lines().size() >= 21);
        QVERIFY(d.messages.messages.isEmpty());
    }

    // 100 times enlarged about the trailing edge, the outline and the lines are as fine as at 1.
    void trailingEdgeSharpWhenZoomed() {
        FlowWindow& w = openFlow();
        FlowCanvas* canvas = w.canvas();
        canvas->setFocus();
        wheel(canvas, canvas->view().toPixel(QPointF(1, 0), canvas->size()), 21);  // 1.25^21 = 108
        QVERIFY(canvas->view().scale < 1e-4);
        const QRectF e = canvas->view().extent(canvas->size());
        QVERIFY(e.contains(1, 0));
        const auto longestInView = [&](const std::vector<orvek::FlowPoint>& points) {
            double longest = 0;
            for (std::size_t k = 1; k < points.size(); ++k) {
                const orvek::FlowPoint a = points[k - 1], b = points[k];
                if (!e.contains(a.x, a.y) && !e.contains(b.x, b.y)) continue;
                longest = std::max(longest, std::hypot(b.x - a.x, b.y - a.y) / canvas->view().scale);
            }
            return longest;
        };
        QVERIFY(longestInView(canvas->picture().body()) <= 1.6);
        int lines = 0;
        for (const orvek::Streamline& l : canvas->picture().lines()) {
            const double longest = longestInView(l.points);
            if (longest > 0) ++lines;
            QVERIFY2(longest <= 3.1, qPrintable(QString("%1 pixels on psi %2").arg(longest).arg(l.psi)));
        }
        QVERIFY(lines >= 10);
        d.snapshotIfAsked("flow-trailing-edge.png", &w);
        // The added points lie on their levels (the contour's own, psi = 0, excepted: its points
        // between the outline's may fall a rounding inside the body, where psi is not defined).
        const orvek::FlowField field = flowOf(Cambered, 4);
        for (const orvek::Streamline& l : canvas->picture().lines()) {
            for (const orvek::FlowPoint& q : l.points) {
                if (!e.contains(q.x, q.y)) continue;
                const orvek::FlowValues f = field.at(q);
                QVERIFY(!f.inside || l.dividing);
                if (f.inside) continue;
                const double psi = f.psi;
                QVERIFY2(std::fabs(psi - l.psi) < 1e-9, qPrintable(QString("%1 on %2").arg(psi).arg(l.psi)));
            }
        }
    }

    // Each plane keeps its own zoom across switches.
    void circlePlaneKeepsEachZoom() {
        FlowWindow& w = openFlow();
        FlowCanvas* canvas = w.canvas();
        canvas->setFocus();
        d.press(Qt::Key_Plus);
        const FlowView airfoilView = canvas->view();
        click("flowCirclePlane");
        QCOMPARE(canvas->plane(), orvek::StreamPlane::Circle);
        const orvek::FlowField field = flowOf(Cambered, 4);
        QVERIFY(canvas->view().extent(canvas->size()).contains(field.centre().x + field.radius(), field.centre().y));
        canvas->setFocus();
        d.press(Qt::Key_Minus);
        d.press(Qt::Key_Left);
        const FlowView circleView = canvas->view();
        d.snapshotIfAsked("flow-circle.png", &w);
        // The body is the circle: its outline lies on it.
        for (const orvek::FlowPoint& p : canvas->picture().body()) {
            QVERIFY(std::fabs(std::hypot(p.x - field.centre().x, p.y - field.centre().y) - field.radius()) < 1e-12);
        }
        click("flowCirclePlane");
        QCOMPARE(canvas->view().centre, airfoilView.centre);
        QCOMPARE(canvas->view().scale, airfoilView.scale);
        click("flowCirclePlane");
        QCOMPARE(canvas->view().centre, circleView.centre);
        QCOMPARE(canvas->view().scale, circleView.scale);
    }

    // The α slider and box recalculate; an impossible airfoil shows why instead of a drawing.
    void angleControlsAndProblems() {
        FlowWindow& w = openFlow();
        QSlider* slider = w.findChild<QSlider*>("flowAlphaSlider");
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_PageUp);
        QCOMPARE(w.alpha(), 5.0);
        const orvek::FlowField field = flowOf(Cambered, 5);
        QCOMPARE(w.canvas()->field()->alphaRadians(), field.alphaRadians());
        w.setCase(orvek::Airfoil{-0.1, 0, 2}, 0);
        QVERIFY(!w.problem().isEmpty());
        QVERIFY(!w.canvas()->field());
        QVERIFY(!w.findChild<QAction*>("flowExportGrid")->isEnabled());
        w.setCase(Cambered, 2);
        QVERIFY(w.problem().isEmpty());
        QVERIFY(d.messages.messages.isEmpty());
    }

    // The circulation by hand: cleared Kutta box, the slider at 0 puts the rear stagnation point
    // where the core says (a marker drawn there), the line under the controls says Gamma and CL,
    // the slider's end doubles the Kutta value; the colours fitted to the view ignore the infinite
    // suction at the trailing edge; the Kutta box back gives the Kutta flow.
    void circulationByHand() {
        FlowWindow& w = openFlow(Cambered, 4);
        const orvek::FlowField kutta = flowOf(Cambered, 4);
        QVERIFY(w.liftText().contains(QLocale().toString(2 * kutta.circulation(), 'f', 4)));
        QVERIFY(!w.circulation());
        click("flowKutta");
        auto* slider = w.findChild<QSlider*>("flowCirculation");
        QVERIFY(slider->isEnabled());
        QCOMPARE(*w.circulation(), kutta.kuttaCirculation());  // starts at the Kutta value
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_PageDown);
        QTest::keyClick(slider, Qt::Key_PageDown);
        QCOMPARE(*w.circulation(), 0.0);
        const orvek::FlowField none = *orvek::FlowField::make(Cambered, 4, 0.0);
        const std::vector<orvek::FlowPoint> expected = none.stagnationPoints();
        const std::vector<orvek::FlowPoint>& drawnPoints = w.canvas()->picture().stagnationPoints();
        QCOMPARE(drawnPoints.size(), std::size_t{2});
        for (std::size_t k = 0; k < 2; ++k) {
            QVERIFY(std::hypot(drawnPoints[k].x - expected[k].x, drawnPoints[k].y - expected[k].y) < 1e-12);
        }
        const orvek::FlowPoint rear = expected[1];
        QVERIFY(std::hypot(rear.x - 1.0, rear.y) > 1e-3 && rear.y > 0.0);  // off the trailing edge, on the upper side
        const QPoint p = pixelOf(*w.canvas(), QPointF(rear.x, rear.y));
        QCOMPARE(QColor(drawn(w.canvas()->grab().toImage(), p)), QColor(Qt::white));
        QVERIFY(w.liftText().contains(QString::fromUtf8("Γ = ") + QLocale().toString(0.0, 'f', 4)));
        QVERIFY(w.status().startsWith(w.liftText()));  // the pointer is off the drawing
        click("flowArrows");
        d.snapshotIfAsked("flow-circulation.png", &w);

        QTest::keyClick(slider, Qt::Key_End);
        QCOMPARE(*w.circulation(), 2.0 * kutta.kuttaCirculation());
        QVERIFY(w.liftText().contains(QLocale().toString(4 * kutta.kuttaCirculation(), 'f', 4)));
        click("flowFitScale");
        const CpScale scale = w.canvas()->picture().cpScale();
        QVERIFY(scale.fitted && std::isfinite(scale.lo) && scale.lo > -20 && scale.hi <= 1.0);
        click("flowKutta");
        QVERIFY(!slider->isEnabled() && !w.circulation());
        QCOMPARE(w.canvas()->picture().stagnationPoints().back().x, 1.0);
        QVERIFY(d.messages.messages.isEmpty());
    }

    void arrowsLayer() {
        FlowWindow& w = openFlow();
        const QImage without = w.canvas()->grab().toImage();
        click("flowArrows");
        QVERIFY(w.canvas()->grab().toImage() != without);
        click("flowBody");
        QVERIFY(w.canvas()->picture().body().empty());
        click("flowColours");
        QVERIFY(w.canvas()->picture().colours().isNull());
    }

    // "Save picture as…": PNG at twice the screen's ratio, SVG with paths and the embedded field.
    void savePicture_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("png") << "flow.png";
        QTest::newRow("svg") << "flow.svg";
        QTest::newRow("clipboard") << QString();
    }

    void savePicture() {
        QFETCH(QString, file);
        FlowWindow& w = openFlow();
        w.canvas()->setFocus();
        if (file.isEmpty()) {
            click("flowStreamlines");
            w.canvas()->setFocus();
            QApplication::clipboard()->clear();
            d.press(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
            const QImage image = QApplication::clipboard()->image();
            QCOMPARE(image.size(), w.canvas()->size() * 2 * w.devicePixelRatioF());
            // The picture is the view: the colour far ahead of the airfoil is that of the screen.
            const QImage screen = w.canvas()->grab().toImage();
            const QPoint p(20, w.canvas()->height() / 2);
            const double r = 2 * w.devicePixelRatioF();
            const QRgb copied = image.pixel(static_cast<int>((p.x() + 0.5) * r), static_cast<int>((p.y() + 0.5) * r));
            QVERIFY(colourDistance(copied, drawn(screen, p)) <= 12);
            return;
        }
        d.asker.answer = FileNameAsker::Choice{d.path(file), 0};
        d.press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(d.asker.asked, 1);
        QFile f(d.path(file));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        if (file.endsWith("png")) {
            QImage image;
            QVERIFY(image.loadFromData(bytes, "PNG"));
            QCOMPARE(image.size(), w.canvas()->size() * 2 * w.devicePixelRatioF());
        } else {
            QVERIFY(bytes.contains("<path"));
            QVERIFY(bytes.contains("<image"));
            QVERIFY(bytes.contains("Karman-Trefftz F=0.1 G=0.05 m=1.9"));
        }
        QVERIFY(d.messages.messages.isEmpty());
    }

    // "Export grid…": the view's grid as orvek-batch field writes it, values of the core.
    void exportGrid_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("csv") << "grid.csv";
        QTest::newRow("vtk") << "grid.vtk";
    }

    void exportGrid() {
        QFETCH(QString, file);
        FlowWindow& w = openFlow();
        d.asker.answer = FileNameAsker::Choice{d.path(file), 0};
        w.canvas()->setFocus();
        d.press(Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier);
        QFile f(d.path(file));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QSize size = w.canvas()->size();
        if (file.endsWith("vtk")) {
            QVERIFY(f.readLine().startsWith("# vtk DataFile"));
            QCOMPARE(f.readLine().trimmed(), QByteArray("Karman-Trefftz F=0.1 G=0.05 m=1.9 at 4 degrees"));
            const QByteArray all = f.readAll();
            QVERIFY(all.contains(QString("DIMENSIONS %1 %2 1").arg(size.width()).arg(size.height()).toLatin1()));
            return;
        }
        QCOMPARE(f.readLine(), QByteArray("x,y,u,v,Cp,psi\n"));
        int rows = 0;
        const orvek::FlowField field = flowOf(Cambered, 4);
        const QRectF e = w.canvas()->view().extent(size);
        while (!f.atEnd()) {
            const QList<QByteArray> cells = f.readLine().trimmed().split(',');
            QCOMPARE(cells.size(), 6);
            if (rows++ % 997 != 0 || cells[4].isEmpty()) continue;
            const double x = cells[0].toDouble(), y = cells[1].toDouble();
            QVERIFY(x >= e.left() - 1e-12 && x <= e.right() + 1e-9 && y >= e.top() - 1e-12 && y <= e.bottom() + 1e-9);
            // The vector kernel against the scalar evaluation: equal to rounding.
            QVERIFY(std::fabs(cells[4].toDouble() - field.at({x, y}).Cp) < 1e-12);
        }
        QCOMPARE(rows, size.width() * size.height());
    }

    // With a Reynolds number the window draws the displacement surface: each station of the core's
    // boundary layer moved outside the airfoil by its displacement thickness; the transition and
    // separation points where the core puts them; CD and L/D in the line. Emptied, nothing of it;
    // under a circulation by hand, nothing either (the estimate holds for the Kutta flow).
    void displacementSurface_data() {
        QTest::addColumn<double>("alpha");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("Re");
        QTest::newRow("4 degrees, 1e6") << 4.0 << "1e6" << 1e6;
        QTest::newRow("10 degrees, 200000") << 10.0 << "200000" << 2e5;
    }
    void displacementSurface() {
        QFETCH(double, alpha);
        QFETCH(QString, typed);
        QFETCH(double, Re);
        FlowWindow& w = openFlow(Cambered, alpha);
        QVERIFY(w.canvas()->picture().scene().overlay.empty());
        auto* box = w.findChild<QDoubleSpinBox*>("flowRe");
        const auto type = [&](const QString& text) {
            box->setFocus();
            box->selectAll();
            QTest::keyClicks(box, text);
            QTest::keyClick(box, Qt::Key_Return);
        };
        type(typed);
        orvek::ViscousInput in;
        in.airfoil = Cambered;
        in.alphaDegrees = alpha;
        in.Re = Re;
        const orvek::Expected<orvek::ViscousResult> core = orvek::boundaryLayer(in);
        QVERIFY(core);
        const LayerOverlay& drawn = w.canvas()->picture().scene().overlay;
        QCOMPARE(drawn.displacement.size(), 2);
        const orvek::FlowField field = flowOf(Cambered, alpha);
        const orvek::LayerSide* sides[] = {&core->upper, &core->lower};
        for (int k = 0; k < 2; ++k) {
            const std::vector<orvek::LayerStation>& st = sides[k]->stations;
            QCOMPARE(drawn.displacement[k].size(), static_cast<qsizetype>(st.size()));
            for (const std::size_t i : {st.size() / 4, st.size() / 2, st.size() * 9 / 10}) {
                const QPointF p = drawn.displacement[k][static_cast<qsizetype>(i)];
                const QPointF q(st[i].x, st[i].y);
                // δ* away from the station, outside the airfoil; a step the other way lies inside.
                QVERIFY(std::fabs(std::hypot(p.x() - q.x(), p.y() - q.y()) - st[i].deltaStar) < 1e-12);
                QVERIFY(!field.at({p.x(), p.y()}).inside);
                const QPointF inward = q - 0.01 * (p - q);
                QVERIFY(field.at({inward.x(), inward.y()}).inside);
                QVERIFY(k == 0 ? p.y() > q.y() : p.y() < q.y());
            }
        }
        for (const LayerPlace& place : drawn.places) {
            const orvek::LayerSide& side = place.surface == orvek::Surface::Upper ? core->upper : core->lower;
            const double x = place.kind == LayerPlace::Kind::Transition   ? side.transition
                             : place.kind == LayerPlace::Kind::Separation ? side.separation.value_or(-1)
                                                                          : side.laminarSeparation.value_or(-1);
            QCOMPARE(place.x, x);
        }
        QVERIFY(drawn.places.size() >= (core->upper.transition < 1 ? 1 : 0) + (core->lower.transition < 1 ? 1 : 0));
        QCOMPARE(statusValue(w.liftText(), "CD"), QLocale().toString(core->CD, 'f', 5).toDouble());
        // Saved and copied pictures draw it too.
        QVERIFY(!w.canvas()->pictureAt(1).scene().overlay.empty());

        click("flowKutta");  // a circulation by hand
        QVERIFY(w.canvas()->picture().scene().overlay.empty());
        QVERIFY2(w.status().contains("Kutta condition only"), qPrintable(w.status()));
        click("flowKutta");
        QVERIFY(!w.canvas()->picture().scene().overlay.empty());
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(w.canvas()->picture().scene().overlay.empty());
        QVERIFY(!w.liftText().contains("CD"));
        QVERIFY(d.messages.messages.isEmpty());
        if (Re < 1e6) {
            type(typed);
            d.snapshotIfAsked("flow-displacement.png", &w);
        }
    }

    // The screenshot of the README: the flow window over the default case.
    void screenshot() {
        d.open();
        d.calculate(1, "201", "6");
        d.press(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        FlowWindow* w = d.tools()->flowWindow();
        w->resize(760, 600);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        // The pointer over the suction side, for the status line (sent straight to the drawing:
        // the main window lies under the same spot of the offscreen screen).
        const QPointF at = w->canvas()->view().toPixel(QPointF(0.35, 0.18), w->canvas()->size());
        QMouseEvent move(QEvent::MouseMove, at, w->canvas()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(w->canvas(), &move);
        QVERIFY(!w->status().isEmpty());
        d.snapshotIfAsked("flow.png", w);
    }

    // "Flow" in the explorer: streamlines and marks about the profile, recalculated at each move.
    void explorerFlow() {
        ExplorerWindow explorer(d.messages, d.asker);
        explorer.setAirfoil(Cambered, 6);
        explorer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&explorer));
        QCOMPARE(explorer.profileChart()->curves().size(), 1);
        auto* box = explorer.findChild<QCheckBox*>("explorerFlow");
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Space);
        QVERIFY(box->isChecked());
        const auto marks = [&] {
            QVector<QPointF> centres;
            for (const Chart::Curve& c : explorer.profileChart()->curves()) {
                if (c.colour == stagnationMarkColour() && c.points.size() == 5) {
                    centres.push_back((c.points[0] + c.points[2]) / 2);
                }
            }
            return centres;
        };
        const orvek::FlowField field = flowOf(Cambered, 6);
        QCOMPARE(marks().size(), 2);
        const orvek::FlowPoint front = field.stagnationPoints().front();
        QVERIFY(std::hypot(marks()[0].x() - front.x, marks()[0].y() - front.y) < 1e-12);
        int dividing = 0, lines = 0;
        for (const Chart::Curve& c : explorer.profileChart()->curves()) {
            if (c.colour == profileStreamlineColour()) ++lines;
            if (c.colour == profileDividingColour()) ++dividing;
        }
        QCOMPARE(dividing, 2);
        QVERIFY(lines >= 15);
        // The angle slider moves the front stagnation point.
        QSlider* alpha = explorer.slider(ExplorerWindow::Alpha);
        alpha->setFocus();
        QTest::keyClick(alpha, Qt::Key_PageUp);
        const orvek::FlowField moved = flowOf(Cambered, explorer.spinBox(ExplorerWindow::Alpha)->value());
        QVERIFY(std::hypot(marks()[0].x() - moved.stagnationPoints().front().x,
                           marks()[0].y() - moved.stagnationPoints().front().y) < 1e-12);
        QVERIFY(std::fabs(moved.alphaRadians() - field.alphaRadians()) > 0.01);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Space);
        QCOMPARE(explorer.profileChart()->curves().size(), 1);
    }

    // "Keep for comparison" pins the curves, at most four, named; "Clear" removes them.
    void keepForComparison_data() {
        QTest::addColumn<QString>("window");
        QTest::newRow("explorer") << "explorer";
        QTest::newRow("polar") << "polar";
    }

    void keepForComparison() {
        QFETCH(QString, window);
        std::unique_ptr<ExplorerWindow> explorer;
        std::unique_ptr<PolarWindow> polar;
        Chart* chart = nullptr;
        QWidget* shown = nullptr;
        const Comparison* pinned = nullptr;
        std::function<void(double)> setG;
        if (window == "explorer") {
            explorer = std::make_unique<ExplorerWindow>(d.messages, d.asker);
            chart = explorer->pressureChart();
            shown = explorer.get();
            pinned = &explorer->comparison();
            setG = [&](double G) { explorer->setAirfoil(orvek::Airfoil{0.1, G, 1.9}, 3); };
        } else {
            polar = std::make_unique<PolarWindow>(d.messages, d.asker);
            chart = polar->findChild<Chart*>("polarChart");
            shown = polar.get();
            pinned = &polar->comparison();
            setG = [&](double G) { polar->setAirfoil(orvek::Airfoil{0.1, G, 1.9}); };
        }
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        const QString prefix = window == "explorer" ? "explorer" : "polar";
        auto* keep = shown->findChild<QPushButton*>(prefix + "Keep");
        auto* clear = shown->findChild<QPushButton*>(prefix + "Clear");
        setG(0);
        const qsizetype alone = chart->curves().size();
        QVERIFY(alone >= 2);
        for (int k = 0; k < 5; ++k) {
            setG(0.01 * k);
            QTest::mouseClick(keep, Qt::LeftButton);
        }
        setG(0.08);
        QCOMPARE(pinned->count(), Comparison::Most);
        // The oldest went; the legend names each pinned airfoil.
        QStringList legend;
        for (const Chart::Curve& c : chart->curves()) {
            if (!c.name.isEmpty()) legend << c.name;
        }
        const QString first = QString::fromStdString(orvek::Airfoil{0.1, 0.01, 1.9}.name());
        QVERIFY2(legend.first().startsWith(first), qPrintable(legend.join(" | ")));
        if (window == "explorer") {
            QVERIFY2(legend.first().endsWith(QString::fromUtf8(", α = %1°").arg(QLocale().toString(3.0, 'f', 2))),
                     qPrintable(legend.first()));
        }
        // The polar names a pinned set's CMc/4 apart from its CL (its own colour, dashed).
        QCOMPARE(legend.size(), Comparison::Most * (window == "polar" ? 2 : 1) + 2);
        QCOMPARE(chart->curves().size(), alone * (Comparison::Most + 1));
        // Fainter: translucent, behind the current curves.
        QVERIFY(chart->curves().front().colour.alpha() < 255);
        QCOMPARE(chart->curves().back().colour.alpha(), 255);
        if (window == "explorer") {
            QCOMPARE(explorer->profileChart()->curves().size(), Comparison::Most + 1);
        }
        QTest::mouseClick(clear, Qt::LeftButton);
        QCOMPARE(pinned->count(), 0);
        QCOMPARE(chart->curves().size(), alone);
    }

    // The README's explorer picture: streamlines about the profile and a pinned thinner airfoil.
    void explorerScreenshot() {
        ExplorerWindow explorer(d.messages, d.asker);
        explorer.resize(820, 700);
        explorer.setAirfoil(orvek::Airfoil{0.05, 0.03, 1.9}, 6);
        explorer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&explorer));
        QTest::mouseClick(explorer.findChild<QPushButton*>("explorerKeep"), Qt::LeftButton);
        explorer.setAirfoil(orvek::Airfoil{0.12, 0.05, 1.9}, 6);
        explorer.findChild<QCheckBox*>("explorerFlow")->click();
        explorer.setReynolds(5e5);
        QCOMPARE(explorer.comparison().count(), 1);
        QVERIFY(explorer.profileChart()->curves().size() > 20);
        QVERIFY(!explorer.profileChart()->markers().isEmpty());
        // The streamlines fill the plot from edge to edge; the legend clear of the profiles.
        const QRectF shown = explorer.profileChart()->shownRange();
        double left = 1, right = 0;
        for (const Chart::Curve& c : explorer.profileChart()->curves()) {
            if (c.fit || c.points.size() < 10) continue;
            for (const QPointF& p : c.points) {
                left = std::min(left, p.x());
                right = std::max(right, p.x());
            }
        }
        QVERIFY2(left < shown.left() + 0.05 * shown.width() && right > shown.right() - 0.05 * shown.width(),
                 qPrintable(QString("lines from %1 to %2 in %3 to %4").arg(left).arg(right).arg(shown.left()).arg(shown.right())));
        d.snapshotIfAsked("explorer-flow.png", &explorer);
    }
};

QTEST_MAIN(TestFlowWindow)
#include "test_flowwindow.moc"
