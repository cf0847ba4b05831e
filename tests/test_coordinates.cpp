// Airfoil coordinate files, read back by a reader of their own that knows only the formats.

#include "support/SolveCase.h"
#include "support/AirfoilData.h"
#include "support/CoordinateFileReader.h"
#include "export/AirfoilCoordinates.h"
#include "solver/analysis/PressureMinimum.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

using coordinates::Point;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        out.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return out;
}

// The solver's points at these indices, skipping unset ones.
std::vector<Point> solverPoints(const orvek::SurfacePoints& s, const std::vector<std::size_t>& indices) {
    std::vector<Point> out;
    for (std::size_t i : indices) {
        if (s.isSet(i)) out.push_back({s.x[i], s.y[i]});
    }
    return out;
}

std::vector<std::size_t> range(std::size_t from, std::size_t to) {  // inclusive, either direction
    std::vector<std::size_t> out;
    for (std::size_t i = from;; i = from <= to ? i + 1 : i - 1) {
        out.push_back(i);
        if (i == to) break;
    }
    return out;
}

// One surface as the .dat files hold it: the leading edge first (the middle point of an odd NP
// when it is set, else (0, 0)), then the surface's points out to the trailing edge.
std::vector<Point> fromLeadingEdge(const orvek::SurfacePoints& s, std::size_t N, bool upper) {
    const std::size_t middle = (N + 1) / 2;
    std::vector<Point> out;
    if (N % 2 == 1 && s.isSet(middle)) out.push_back({s.x[middle], s.y[middle]});
    else out.push_back({0.0, 0.0});
    const std::vector<Point> rest = upper ? solverPoints(s, range(N / 2 + 1 + N % 2, N)) : solverPoints(s, range(N / 2, 1));
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

// Equal to the printed precision (8 decimals).
bool samePoints(const std::vector<Point>& read, const std::vector<Point>& expected) {
    if (read.size() != expected.size()) return false;
    for (std::size_t k = 0; k < read.size(); ++k) {
        if (std::fabs(read[k].x - expected[k].x) > 5.01e-9 || std::fabs(read[k].y - expected[k].y) > 5.01e-9)
            return false;
    }
    return true;
}

// Where each field of a line ends (fields are runs of characters other than blanks and commas).
std::vector<std::size_t> fieldEnds(const std::string& line) {
    std::vector<std::size_t> ends;
    for (std::size_t c = 0; c < line.size(); ++c) {
        const bool inField = line[c] != ' ' && line[c] != ',';
        const bool last = c + 1 == line.size() || line[c + 1] == ' ' || line[c + 1] == ',';
        if (inField && last) ends.push_back(c);
    }
    return ends;
}

// Right-aligned columns: every field of the block's lines ends at the same place.
bool aligned(const std::vector<std::string>& l, std::size_t from, std::size_t count) {
    for (std::size_t k = from + 1; k < from + count; ++k) {
        if (fieldEnds(l[k]) != fieldEnds(l[from])) return false;
    }
    return true;
}

orvek::Expected<std::string> writtenText(const orvek::SurfacePoints& p, orvek::CoordinateFormat f, const std::string& name) {
    orvek::StringOutput out;
    if (orvek::Status done = orvek::writeAirfoilCoordinates(out, p, f, name); !done) return orvek::Failure{done.error()};
    return std::move(out).text();
}

std::string text(const orvek::SurfacePoints& p, orvek::CoordinateFormat f, const std::string& name = "Test airfoil") {
    const orvek::Expected<std::string> t = writtenText(p, f, name);
    if (!t) qFatal("unexpected fault: %s", t.error().c_str());
    return *t;
}

}  // namespace

class TestCoordinates : public QObject {
    Q_OBJECT
private slots:
    void formats_data() {
        QTest::addColumn<orvek::Airfoil>("airfoil");
        QTest::addColumn<int>("NP");
        QTest::newRow("Karman-Trefftz, default points") << orvek::Airfoil{0.1, 0.05, 1.9} << 161;
        QTest::newRow("Joukowsky, even points") << orvek::Airfoil{0.1, 0.05, 2.0} << 40;
        QTest::newRow("Karman-Trefftz, 8 points") << orvek::Airfoil{0.1, 0.05, 1.9} << 8;
        QTest::newRow("fewest points") << orvek::Airfoil{0.1, 0.05, 1.9} << 5;
        QTest::newRow("negative camber") << orvek::Airfoil{0.12, -0.08, 1.95} << 61;
        QTest::newRow("circular arc, nose unset") << orvek::Airfoil{0.0, 0.05, 2.0} << 41;
        QTest::newRow("circular arc, even points") << orvek::Airfoil{0.0, 0.05, 2.0} << 40;
    }

    void selig_data() { formats_data(); }
    void selig() {
        QFETCH(orvek::Airfoil, airfoil);
        QFETCH(int, NP);
        const auto N = static_cast<std::size_t>(NP);
        const orvek::SolverResult r = solveCase(airfoil.F, airfoil.G, airfoil.m, 0.0, NP);
        const std::string written = text(r.points, orvek::CoordinateFormat::Selig);
        const coordinates::CoordinateFile f = coordinates::readSelig(QString::fromStdString(written));
        QVERIFY(f.ok);
        const std::vector<std::string> l = lines(written);
        QCOMPARE(f.name, QString("Test airfoil"));
        // From the trailing edge over the upper side to the leading edge and back along the lower.
        std::vector<Point> expected = fromLeadingEdge(r.points, N, true);
        std::reverse(expected.begin(), expected.end());
        const std::vector<Point> lower = fromLeadingEdge(r.points, N, false);
        expected.insert(expected.end(), lower.begin() + 1, lower.end());
        const std::vector<Point>& read = f.all;
        QVERIFY(samePoints(read, expected));
        // The leading edge is in the file at any NP.
        QVERIFY(std::any_of(read.begin(), read.end(), [](const Point& p) { return p.x == 0.0 && p.y == 0.0; }));
        QVERIFY(aligned(l, 1, l.size() - 1));
        // Trailing edge at both ends; the upper surface first.
        QCOMPARE(read.front().x, 1.0);
        QCOMPARE(read.back().x, 1.0);
        QCOMPARE(read.front().y, 0.0);
        QCOMPARE(read.back().y, 0.0);
        QVERIFY(airfoil.G > 0 ? read[1].y > 0 : read[1].y > read[read.size() - 2].y);
    }

    void lednicer_data() { formats_data(); }
    void lednicer() {
        QFETCH(orvek::Airfoil, airfoil);
        QFETCH(int, NP);
        const auto N = static_cast<std::size_t>(NP);
        const orvek::SolverResult r = solveCase(airfoil.F, airfoil.G, airfoil.m, 0.0, NP);
        const std::string written = text(r.points, orvek::CoordinateFormat::Lednicer);
        const coordinates::CoordinateFile f = coordinates::readLednicer(QString::fromStdString(written));
        QVERIFY(f.ok);
        const std::vector<std::string> l = lines(written);
        QCOMPARE(f.name, QString("Test airfoil"));
        QCOMPARE(l[1].back(), '.');
        const std::vector<Point>&upper = f.upper, &lower = f.lower;
        const std::size_t nu = upper.size(), nl = lower.size();
        QVERIFY(samePoints(upper, fromLeadingEdge(r.points, N, true)));
        QVERIFY(samePoints(lower, fromLeadingEdge(r.points, N, false)));
        QVERIFY(aligned(l, 3, nu));
        // Both surfaces run from the leading-edge point (0, 0), at any NP, to the trailing edge.
        QCOMPARE(upper.back().x, 1.0);
        QCOMPARE(lower.back().x, 1.0);
        for (const Point& front : {upper.front(), lower.front()}) {
            QCOMPARE(front.x, 0.0);
            QCOMPARE(front.y, 0.0);
        }
        QVERIFY(upper[nu / 2].y >= lower[nl / 2].y);
    }

    void csv_data() { formats_data(); }
    void csv() {
        QFETCH(orvek::Airfoil, airfoil);
        QFETCH(int, NP);
        const auto N = static_cast<std::size_t>(NP);
        const orvek::SolverResult r = solveCase(airfoil.F, airfoil.G, airfoil.m, 4.0, NP);
        const std::vector<std::string> l = lines(text(r.points, orvek::CoordinateFormat::Csv));
        QCOMPARE(l[0], std::string("index,x,y,OneMinusCp,surface"));
        std::size_t row = 1;
        for (std::size_t i = 1; i <= N; ++i) {
            if (!r.points.isSet(i)) continue;
            QVERIFY(row < l.size());
            const QStringList cells = QString::fromStdString(l[row]).split(',');
            QCOMPARE(cells.size(), 5);
            QCOMPARE(cells[0].trimmed().toULongLong(), static_cast<qulonglong>(i));
            const double values[3] = {r.points.x[i], r.points.y[i], r.points.Cu[i]};
            for (int c = 0; c < 3; ++c) {
                bool ok = false;
                QVERIFY(std::fabs(cells[c + 1].trimmed().toDouble(&ok) - values[c]) <= 5.01e-9);
                QVERIFY(ok);
            }
            QCOMPARE(cells[4], QString(orvek::surfaceName(orvek::surfaceOfPoint(i, N))));
            ++row;
        }
        QCOMPARE(row, l.size());
        QVERIFY(aligned(l, 1, l.size() - 1));
    }

    void names_data() {
        QTest::addColumn<orvek::Airfoil>("airfoil");
        QTest::addColumn<QString>("name");
        QTest::newRow("Karman-Trefftz") << orvek::Airfoil{0.1, 0.05, 1.9} << "Karman-Trefftz F=0.1 G=0.05 m=1.9";
        QTest::newRow("Joukowsky") << orvek::Airfoil{0.1, 0.05, 2.0} << "Joukowsky F=0.1 G=0.05";
        QTest::newRow("negative camber") << orvek::Airfoil{0.12, -0.08, 1.95} << "Karman-Trefftz F=0.12 G=-0.08 m=1.95";
    }
    void names() {
        QFETCH(orvek::Airfoil, airfoil);
        QFETCH(QString, name);
        QCOMPARE(QString::fromStdString(airfoil.name()), name);
    }

    void refusals() {
        const orvek::SolverResult r = solveCase(0.1, 0.05, 2.0, 0.0, 21);
        QCOMPARE(QString::fromStdString(
                     writtenText(r.points, orvek::CoordinateFormat::Selig, "two\nlines").error()),
                 "The airfoil's name must be one line of text.");
        QCOMPARE(QString::fromStdString(
                     writtenText(r.points, orvek::CoordinateFormat::Lednicer, " ").error()),
                 "The airfoil's name is empty.");
        QVERIFY(!writtenText(orvek::SurfacePoints{}, orvek::CoordinateFormat::Csv, "x").ok());
        // Fewer points than make an airfoil, in every format.
        const QString fewPoints = "A coordinate file needs at least 5 points (the trailing edge at both ends, the "
                                  "leading edge and a point of each surface between them), not %1.";
        for (int NP : {2, 3, 4}) {
            const orvek::SolverResult few = solveCase(0.1, 0.05, 2.0, 0.0, NP);
            for (auto f : {orvek::CoordinateFormat::Selig, orvek::CoordinateFormat::Lednicer,
                           orvek::CoordinateFormat::Csv}) {
                const orvek::Expected<std::string> t = writtenText(few.points, f, "x");
                QVERIFY(!t.ok());
                QCOMPARE(QString::fromStdString(t.error()), fewPoints.arg(NP));
            }
            // The one coordinate file of the windows, orvek-batch and Python says it before solving.
            orvek::CoordinateFileRequest request;
            request.NP = NP;
            const orvek::Expected<orvek::CoordinateFile> file = orvek::coordinateFile(request);
            QVERIFY(!file.ok());
            QCOMPARE(QString::fromStdString(file.error()), fewPoints.arg(NP));
        }
        orvek::CoordinateFileRequest fewest;
        fewest.NP = 5;
        QVERIFY(orvek::coordinateFile(fewest).ok());
        QVERIFY(orvek::coordinateFormat("lednicer") == orvek::CoordinateFormat::Lednicer);
        QVERIFY(!orvek::coordinateFormat("Selig"));
    }

    // Values that round to zero carry no minus sign; negative values keep theirs.
    void signs() {
        orvek::SurfacePoints p;
        p.x = {0, 1, -1e-12, 0, 0.5, 1};
        p.y = {0, 0, -0.25, 0, 0.1, 0};
        p.Cu = {0, 0, 0, 0, 0, 0};
        const std::vector<std::string> l = lines(text(p, orvek::CoordinateFormat::Selig));
        QCOMPARE(l[4], std::string("  0.00000000  -0.25000000"));
        QCOMPARE(l[1], std::string("  1.00000000   0.00000000"));
    }
};

QTEST_GUILESS_MAIN(TestCoordinates)
#include "test_coordinates.moc"
