// The profile and pressure plots: recorded segments, scales, and the rendered pixels.

#include "CasePlots.h"
#include "plot/PlotArea.h"
#include "plot/PolylineThinning.h"
#include "support/SolveCase.h"

#include <QPainter>
#include <QtTest>

#include <algorithm>
#include <cmath>

namespace {

const QColor LightYellow(255, 255, 192);

// The two plot areas at their places' sizes in the window.
struct Plots {
    PlotArea profil{LightYellow};
    PlotArea pressure{LightYellow};
    Plots() {
        profil.resize(320, 147);
        pressure.resize(320, 201);
    }
    void draw(double N1, const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& Cu) {
        drawCase(profil, pressure, static_cast<std::size_t>(N1), x, y, Cu);
    }
};

bool isRed(QRgb p) { return qRed(p) > 200 && qGreen(p) < 180 && qBlue(p) < 180; }
bool isDark(QRgb p) { return qRed(p) < 140 && qGreen(p) < 140 && qBlue(p) < 140; }

QImage render(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// The widget painted into an image of the given device-pixel ratio.
QImage render(QWidget& w, double ratio) {
    QImage img(w.size() * ratio, QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio);
    w.render(&img);
    return img;
}

}  // namespace

class TestPlots : public QObject {
    Q_OBJECT
private slots:
    void segmentsOfACase() {
        const orvek::SolverResult r = solveCase(0.1, 0.05, 2, 5, 51);
        Plots p;
        p.draw(51, r.points.x, r.points.y, r.points.Cu);
        QCOMPARE(p.profil.segmentCount() + p.pressure.segmentCount(), std::size_t(104));
        for (PlotArea* area : {&p.profil, &p.pressure}) {
            QCOMPARE(area->batches().size(), std::size_t(1));
            const auto s = area->batches()[0].segments;
            QCOMPARE(s.size(), std::size_t(52));
            QCOMPARE(s[0].colour, AxisColour);
            QCOMPARE(s[1].colour, AxisColour);
            for (std::size_t k = 2; k < s.size(); ++k) QCOMPARE(s[k].colour, CurveColour);
        }
        const auto profile = p.profil.batches()[0];
        QCOMPARE(profile.scale.x1, -0.1);
        QCOMPARE(profile.scale.y1, 0.3);
        QCOMPARE(profile.scale.x2, 1.1);
        QCOMPARE(profile.scale.y2, -0.2);
        QCOMPARE(profile.segments[1].y1, -0.15f);
        QCOMPARE(profile.segments[1].y2, 0.25f);
        // Segments run through the points in index order, narrowed to single precision, and
        // the last one ends at point 51: none joins point 51 back to point 1.
        QCOMPARE(profile.segments[2].x1, static_cast<float>(r.points.x[1]));
        QCOMPARE(profile.segments[2].y2, static_cast<float>(r.points.y[2]));
        QCOMPARE(profile.segments.back().x1, static_cast<float>(r.points.x[50]));
        QCOMPARE(profile.segments.back().x2, static_cast<float>(r.points.x[51]));
        const auto pressure = p.pressure.batches()[0].segments;
        QCOMPARE(pressure[27].y2, static_cast<float>(r.points.Cu[27]));
    }

    void pressureScale_data() {
        QTest::addColumn<QList<double>>("Cu");  // points 1..N1
        QTest::addColumn<double>("top");
        QTest::addColumn<double>("bottom");
        QTest::addColumn<float>("axisTop");
        QTest::newRow("peak 2.4") << QList<double>{0, 1, 2.4, 0.5, 2.5} << 1.1 * 2.4 << -0.1 * 2.4
                                  << 2.4f;  // point N1 not looked at
        QTest::newRow("equal peaks") << QList<double>{0.3, 1.5, 1.5, 0.2} << 1.1 * 1.5 << -0.1 * 1.5 << 1.5f;
        QTest::newRow("no positive value") << QList<double>{0, 0, -1, 3} << 1.1 << -0.1 << 1.0f;
        QTest::newRow("one point") << QList<double>{0.8} << 1.1 << -0.1 << 1.0f;
    }
    void pressureScale() {
        QFETCH(QList<double>, Cu);
        QFETCH(double, top);
        QFETCH(double, bottom);
        QFETCH(float, axisTop);
        std::vector<double> c{0}, x{0}, y{0};
        for (double v : Cu) {
            c.push_back(v);
            x.push_back(static_cast<double>(x.size()) / static_cast<double>(Cu.size()));
            y.push_back(0);
        }
        Plots p;
        p.draw(static_cast<double>(Cu.size()), x, y, c);
        const auto b = p.pressure.batches()[0];
        QCOMPARE(b.scale.y1, top);
        QCOMPARE(b.scale.y2, bottom);
        QCOMPARE(b.segments[1].y1, 0.0f);
        QCOMPARE(b.segments[1].y2, axisTop);
        QCOMPARE(b.segments.size(), static_cast<std::size_t>(2 + Cu.size() - 1));
    }

    void unsetPointsCountAsZero() {
        const orvek::SolverResult r = solveCase(0.0, 0.05, 2, 5, 51);  // index 26 unset
        Plots p;
        p.draw(51, r.points.x, r.points.y, r.points.Cu);
        const auto s = p.profil.batches()[0].segments;
        QCOMPARE(s[2 + 24].x2, 0.0f);  // segment 25 -> 26
        QCOMPARE(s[2 + 25].x1, 0.0f);
        // Arrays shorter than N1 read as 0 beyond their end.
        Plots q;
        q.draw(5, {0, 1}, {0, 0}, {0, 0.5});
        QCOMPARE(q.profil.batches()[0].segments.back().x2, 0.0f);
    }

    void clearingForgetsTheLastCase() {
        const orvek::SolverResult r = solveCase(0.1, 0.05, 2, 5, 51);
        Plots p;
        p.draw(51, r.points.x, r.points.y, r.points.Cu);
        p.draw(11, r.points.x, r.points.y, r.points.Cu);
        QCOMPARE(p.profil.segmentCount(), std::size_t(12));
    }

    void renderedPixels() {
        const orvek::SolverResult r = solveCase(0.1, 0.05, 2, 5, 201);
        Plots p;
        p.draw(201, r.points.x, r.points.y, r.points.Cu);
        const QImage profile = render(p.profil);
        const QImage pressure = render(p.pressure);
        const int w = profile.width(), h = profile.height();

        // The chord line lies two fifths of the height above the bottom edge.
        const int chordRow = qRound(h * 0.6);
        int darkOnChord = 0;
        for (int col = w / 4; col < w / 2; ++col) {
            bool dark = false;
            for (int row = chordRow - 1; row <= chordRow + 1; ++row) dark = dark || isDark(profile.pixel(col, row));
            darkOnChord += dark;
        }
        QCOMPARE(darkOnChord, w / 2 - w / 4);

        // Red pixels along the profile, near each point's place.
        auto toPixel = [&](double x, double y) { return QPoint(int((x + 0.1) / 1.2 * w), int((0.3 - y) / 0.5 * h)); };
        for (std::size_t i : {20, 60, 100, 140, 180}) {
            const QPoint c = toPixel(r.points.x[i], r.points.y[i]);
            bool red = false;
            for (int dx = -2; dx <= 2; ++dx)
                for (int dy = -2; dy <= 2; ++dy) red = red || isRed(profile.pixel(c + QPoint(dx, dy)));
            QVERIFY2(red, qPrintable(QString("no red near point %1").arg(i)));
        }

        // Light yellow elsewhere: corners and a region away from all lines.
        for (const QImage* img : {&profile, &pressure}) {
            for (QPoint c : {QPoint(1, 1), QPoint(img->width() - 2, 1), QPoint(img->width() - 2, img->height() - 2)}) {
                QCOMPARE(QColor(img->pixel(c)), LightYellow);
            }
        }
        QCOMPARE(QColor(profile.pixel(w / 2, h / 8)), LightYellow);
    }

    // The axis lines are whole pixels in their exact colour: one row or column at scale 1, two at
    // scale 2, with the background on both sides; the curves stay antialiased.
    void axisLinesAreCrisp_data() {
        QTest::addColumn<double>("ratio");
        QTest::newRow("scale 1") << 1.0;
        QTest::newRow("scale 2") << 2.0;
    }
    void axisLinesAreCrisp() {
        QFETCH(double, ratio);
        const int thickness = qRound(ratio);
        const orvek::SolverResult r = solveCase(0.1, 0.0, 2, 0, 201);  // symmetric, no incidence
        Plots p;
        p.draw(201, r.points.x, r.points.y, r.points.Cu);
        double peak = 0;
        for (std::size_t i = 1; i < 201; ++i) peak = std::max(peak, r.points.Cu[i]);
        struct Axis {
            PlotArea* area;
            double top, bottom;  // the plot's scale, user units
            bool horizontal;
            double at;        // y of a horizontal axis, x of a vertical one
            double from, to;  // a stretch of it clear of the curve
        };
        const Axis axes[] = {
            {&p.profil, 0.3, -0.2, true, 0.0, 0.35, 0.65},   // chord: the profile is 0.06 thick there
            {&p.profil, 0.3, -0.2, false, 0.0, 0.12, 0.24},  // leading-edge axis above the nose
            // (the pressure plot's vertical axis has the steep rise of 1-Cp at the nose beside it)
            {&p.pressure, 1.1 * peak, -0.1 * peak, true, 0.0, 0.2, 0.8},
        };
        const QColor axis = QColor::fromRgb(AxisColour);
        for (const Axis& a : axes) {
            const QImage img = render(*a.area, ratio);
            const double w = img.width(), h = img.height();
            auto col = [&](double x) { return (x + 0.1) / 1.2 * w; };
            auto row = [&](double y) { return (a.top - y) / (a.top - a.bottom) * h; };
            if (a.horizontal) {
                const int exact = qFloor(row(a.at));  // the pixel row holding the line's centre
                int first = -1;
                for (int y = exact - 2; y <= exact + 2; ++y)
                    if (QColor(img.pixel(qRound(col(0.5)), y)) == axis && first < 0) first = y;
                QVERIFY2(first >= 0, "no pixel in the axis colour across the line");
                for (int x = qCeil(col(a.from)); x <= qFloor(col(a.to)); ++x) {
                    for (int k = 0; k < thickness; ++k) QCOMPARE(QColor(img.pixel(x, first + k)), axis);
                    QCOMPARE(QColor(img.pixel(x, first - 1)), LightYellow);
                    QCOMPARE(QColor(img.pixel(x, first + thickness)), LightYellow);
                }
            } else {
                const double from = a.from, to = a.to;
                const int exact = qFloor(col(a.at));
                int first = -1;
                for (int x = exact - 2; x <= exact + 2; ++x)
                    if (QColor(img.pixel(x, qRound(row(0.5 * (from + to))))) == axis && first < 0) first = x;
                QVERIFY2(first >= 0, "no pixel in the axis colour across the line");
                for (int y = qCeil(row(to)); y <= qFloor(row(from)); ++y) {
                    for (int k = 0; k < thickness; ++k) QCOMPARE(QColor(img.pixel(first + k, y)), axis);
                    QCOMPARE(QColor(img.pixel(first - 1, y)), LightYellow);
                    QCOMPARE(QColor(img.pixel(first + thickness, y)), LightYellow);
                }
            }
        }
        // The curve is drawn with antialiasing: besides pure red it leaves blends of red and yellow.
        const QImage profile = render(p.profil, ratio);
        int blended = 0;
        for (int y = 0; y < profile.height(); ++y) {
            for (int x = 0; x < profile.width(); ++x) {
                const QRgb c = profile.pixel(x, y);
                blended += qRed(c) == 255 && qGreen(c) > 17 && qGreen(c) < 255 && qBlue(c) < 192;
            }
        }
        QVERIFY2(blended > 50, qPrintable(QString::number(blended)));
    }

    // Thinning keeps what a user sees: the curve of a million points drawn thinned and the same
    // curve drawn segment by segment give the same picture.
    void thinnedPictureMatchesFullPicture() {
        const orvek::SolverResult r = solveCase(0.12, 0.1, 1.95, 3, 1000001);
        QVector<QPointF> points;
        double peak = 0;
        for (std::size_t i = 1; i < r.points.size(); ++i) peak = std::max(peak, r.points.Cu[i]);
        const QSize size(320, 201);
        for (std::size_t i = 1; i < r.points.size(); ++i) {
            points.append(QPointF((r.points.x[i] + 0.1) / 1.2 * size.width(),
                                  (1.1 * peak - r.points.Cu[i]) / (1.2 * peak) * size.height()));
        }
        const QVector<QPointF> thinned = thinPolyline(points);
        QVERIFY(thinned.size() < 4 * 2 * size.width() + 8);
        auto canvas = [&] {
            QImage img(size, QImage::Format_RGB32);
            img.fill(LightYellow);
            return img;
        };
        const QPen pen(QColor::fromRgb(CurveColour), 1.0, Qt::SolidLine, Qt::FlatCap);
        QImage full = canvas(), thin = canvas();
        {
            QPainter painter(&full);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(pen);
            for (int k = 1; k < points.size(); ++k) painter.drawLine(points[k - 1], points[k]);
        }
        {
            QPainter painter(&thin);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(pen);
            painter.drawPolyline(thinned.constData(), static_cast<int>(thinned.size()));
        }
        // The eye sees where the curve runs: a pixel visibly off the background in one picture
        // must have such a pixel at most one pixel away in the other. (Many sub-pixel segments
        // composite to a slightly lighter line than one stroke, so intensities may differ.)
        auto inked = [](const QImage& img, int x, int y) {
            if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return false;
            return qBlue(img.pixel(x, y)) < 192 - 40 || qGreen(img.pixel(x, y)) < 255 - 40;
        };
        auto near = [&](const QImage& img, int x, int y) {
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy)
                    if (inked(img, x + dx, y + dy)) return true;
            return false;
        };
        int differing = 0, curvePixels = 0;
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                const bool a = inked(full, x, y), b = inked(thin, x, y);
                curvePixels += a;
                differing += (a && !near(thin, x, y)) || (b && !near(full, x, y));
            }
        }
        const QString folder = qEnvironmentVariable("ORVEK_SCREENSHOT_DIR");
        if (!folder.isEmpty()) {
            full.save(folder + "/pressure-segment-by-segment.png");
            thin.save(folder + "/pressure-thinned.png");
        }
        QVERIFY(curvePixels > 500);
        QVERIFY2(differing <= curvePixels / 100, qPrintable(QString("%1 of %2").arg(differing).arg(curvePixels)));
    }
};

QTEST_MAIN(TestPlots)
#include "test_plots.moc"
