// The one measurement of an airfoil: known shapes, the shipped catalogue's columns, a dense-surface
// yardstick beyond the design range, and the shapes it refuses.

#include "support/SolveCase.h"
#include "case/Catalogue.h"
#include "export/CatalogueLine.h"
#include "solver/analysis/Describe.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// Thickness and camber measured the slow, plain way: on a dense surface of the solver's own
// points, split at the foremost point, both surfaces interpolated linearly at 100,000 stations.
orvek::AirfoilGeometry denseSurfaceGeometry(const orvek::Airfoil& a) {
    const orvek::SolverResult r = solveCase(a.F, a.G, a.m, 0.0, 200001);
    const orvek::SurfacePoints& p = r.points;
    const std::size_t N = p.size() - 1, front = orvek::leadingEdgeIndex(p);
    const auto branch = [&](std::size_t from, std::size_t to, int step) {
        std::vector<double> x, y;
        for (std::size_t i = from;; i = static_cast<std::size_t>(static_cast<long>(i) + step)) {
            const double xi = p.isSet(i) ? p.x[i] : 0.0, yi = p.isSet(i) ? p.y[i] : 0.0;
            if (x.empty() || xi > x.back()) x.push_back(xi), y.push_back(yi);
            if (i == to) break;
        }
        return std::make_pair(x, y);
    };
    const auto [xl, yl] = branch(front, 1, -1);
    const auto [xu, yu] = branch(front, N, +1);
    const auto at = [](const std::vector<double>& x, const std::vector<double>& y, double xs) {
        const auto k = std::clamp<std::ptrdiff_t>(std::upper_bound(x.begin(), x.end(), xs) - x.begin() - 1, 0,
                                                  static_cast<std::ptrdiff_t>(x.size()) - 2);
        const auto i = static_cast<std::size_t>(k);
        return y[i] + (xs - x[i]) / (x[i + 1] - x[i]) * (y[i + 1] - y[i]);
    };
    orvek::AirfoilGeometry g;
    const double x0 = xu.front();
    for (int s = 0; s <= 100000; ++s) {
        const double xs = x0 + (1.0 - x0) * s / 100000.0;
        const double up = at(xu, yu, xs), low = at(xl, yl, xs);
        if (up - low > g.thickness) g.thickness = up - low, g.thicknessPosition = xs;
        if (std::fabs(0.5 * (up + low)) > std::fabs(g.camber)) g.camber = 0.5 * (up + low), g.camberPosition = xs;
    }
    return g;
}

}  // namespace

class TestDescribe : public QObject {
    Q_OBJECT
private slots:
    void knownShapes() {
        const auto sym = orvek::measureAirfoil({0.1, 0.0, 2.0});
        QVERIFY(sym);
        QVERIFY(std::fabs(sym->camber) < 1e-9);                    // symmetric: no camber
        QCOMPARE(sym->camberPosition, 0.0);                        // and so no place of it
        QVERIFY(std::fabs(sym->thicknessPosition - 0.25) < 0.01);  // Joukowsky: thickest near the quarter chord
        QCOMPARE(sym->teAngleDegrees, 0.0);                        // cusp
        const auto kt = orvek::measureAirfoil({0.1, 0.05, 1.9});
        QVERIFY(kt);
        QVERIFY(std::fabs(kt->teAngleDegrees - (2 - 1.9) * 180) < 1e-12);  // corner angle (2 - m) * 180 degrees
        QVERIFY(kt->camber > 0);
        QVERIFY(kt->camberPosition > 0.3 && kt->camberPosition < 0.6);
        // A circular arc (F = 0) has no thickness, so no place of largest thickness either; its
        // camber lies at mid-chord.
        const auto arc = orvek::measureAirfoil({0.0, 0.05, 2.0});
        QVERIFY(arc);
        QCOMPARE(arc->thickness, 0.0);
        QCOMPARE(arc->thicknessPosition, 0.0);
        QVERIFY(std::fabs(arc->camber - 0.025) < 1e-3);  // camber-line height G/2 of the arc over chord
        QVERIFY(std::fabs(arc->camberPosition - 0.5) < 1e-6);
        QCOMPARE(QString::fromStdString(orvek::catalogueLine(*arc, {0.0, 0.05, 2.0})).left(9), QString("0,0.025,0"));
    }

    // The measurement along the exact contour against the dense surface, beyond the design range.
    void agreesWithADenseSurface_data() {
        QTest::addColumn<double>("F");
        QTest::addColumn<double>("G");
        QTest::addColumn<double>("m");
        QTest::newRow("Joukowsky") << 0.1 << 0.05 << 2.0;
        QTest::newRow("thick, cambered, 27 degrees") << 0.2 << 0.1 << 1.85;
        QTest::newRow("negative camber") << 0.05 << -0.2 << 1.9;
        QTest::newRow("symmetric") << 0.12 << 0.0 << 1.95;
        QTest::newRow("circular arc") << 0.0 << 0.08 << 2.0;
        QTest::newRow("very thin") << 1e-4 << 0.02 << 2.0;
    }
    void agreesWithADenseSurface() {
        QFETCH(double, F);
        QFETCH(double, G);
        QFETCH(double, m);
        const orvek::AirfoilGeometry c = *orvek::measureAirfoil({F, G, m}), d = denseSurfaceGeometry({F, G, m});
        QVERIFY2(std::fabs(c.thickness - d.thickness) < 1e-8, qPrintable(QString::number(c.thickness - d.thickness)));
        QVERIFY2(std::fabs(c.camber - d.camber) < 1e-8, qPrintable(QString::number(c.camber - d.camber)));
        if (d.thickness > orvek::NoThickness) QVERIFY(std::fabs(c.thicknessPosition - d.thicknessPosition) < 2e-5);
        if (G != 0)
            QVERIFY2(std::fabs(c.camberPosition - d.camberPosition) < 1e-3,
                     qPrintable(QString::number(c.camberPosition - d.camberPosition)));
    }

    // Shapes the solver calculates but that are no simple airfoil are refused with a sentence.
    void refusesWhatIsNoSimpleAirfoil_data() {
        QTest::addColumn<double>("F");
        QTest::addColumn<double>("m");
        QTest::addColumn<QString>("reason");
        QTest::newRow("negative F") << -0.3 << 2.0 << "F is -0.3, and only F of 0 or more";
        QTest::newRow("m above 2") << 0.1 << 2.5 << "the exponent m is 2.5, and only m above 1 and up to 2";
        QTest::newRow("m of 1") << 0.1 << 1.0 << "the exponent m is 1,";
        QTest::newRow("negative m") << 0.1 << -1.0 << "the exponent m is -1,";
    }
    void refusesWhatIsNoSimpleAirfoil() {
        QFETCH(double, F);
        QFETCH(double, m);
        QFETCH(QString, reason);
        QVERIFY(orvek::ORVEK(caseInput(F, 0.0, m, 0.0)));  // the solver itself calculates it
        const orvek::Expected<orvek::AirfoilGeometry> g = orvek::measureAirfoil({F, 0.0, m});
        QVERIFY(!g);
        const QString said = QString::fromStdString(g.error());
        QVERIFY2(said.startsWith("Not a simple airfoil: " + reason) && said.endsWith('.'), qPrintable(said));
    }

    void shippedCatalogueAgreesWithDescribe() {
        const orvek::Expected<orvek::Catalogue> loaded =
            orvek::loadCatalogueFile(ORVEK_SOURCE_DIR "/data/ORVEK_Input.txt");
        QVERIFY(loaded);
        const orvek::Catalogue& c = *loaded;
        QVERIFY(!c.problem);
        QVERIFY(c.rows.size() >= 12 && c.rows.size() <= 20);
        for (const orvek::CatalogueRow& row : c.rows) {
            const auto g = orvek::measureAirfoil(row.airfoil);
            QVERIFY2(g, g ? "" : g.error().c_str());
            // The shipped lines are laid out in columns with blanks; the fields are describe's. A
            // measured value that lies on a rounding tie of its last printed digit (xDltC 0.25085)
            // may print either way, so the measured columns agree to one unit of their last
            // printed digit; the airfoil's own columns exactly.
            const QStringList shipped = QString::fromStdString(row.text).remove(QLatin1Char(' ')).split(',');
            const QStringList measured = QString::fromStdString(orvek::catalogueLine(*g, row.airfoil)).split(',');
            QCOMPARE(measured.size(), 7);
            QCOMPARE(shipped.mid(4), measured.mid(4));
            const double unit[4] = {1e-4, 1e-4, 1e-4, 1e-2};
            for (int k = 0; k < 4; ++k) {
                QVERIFY2(std::fabs(shipped[k].toDouble() - measured[k].toDouble()) <= unit[k] * 1.000001,
                         qPrintable(QString::fromStdString(row.text) + " against " + measured.join(',')));
            }
        }
        std::ifstream in(ORVEK_SOURCE_DIR "/data/ORVEK_Input.txt", std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        QVERIFY(bytes.find("\r\n") != std::string::npos);
        QCOMPARE(bytes.find("\n"), bytes.find("\r\n") + 1);
    }
};

QTEST_GUILESS_MAIN(TestDescribe)
#include "test_describe.moc"
