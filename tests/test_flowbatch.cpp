// orvek-batch field and streamlines, and the stagnation points of solve, run as a script would.

#include "solver/flow/FlowField.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

Run batch(const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    p.start(ORVEK_BATCH, args);
    p.waitForStarted();
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

const QStringList Airfoil = {"--F", "0.1", "--G", "0.05", "--m", "1.9", "--alpha", "5"};

QList<QStringList> csvRows(const QByteArray& text) {
    QList<QStringList> rows;
    for (const QByteArray& line : text.split('\n')) {
        if (!line.isEmpty()) rows.append(QString::fromUtf8(line).split(','));
    }
    return rows;
}

}  // namespace

class TestFlowBatch : public QObject {
    Q_OBJECT
private slots:
    // One row per input point in input order, the values exactly those of the core; a point
    // inside the airfoil keeps its coordinates and has the values empty.
    void fieldAtPoints() {
        const QByteArray input = "x,y\n# upstream\n-0.5,0.2\n\n0.3 -0.01\n  1.5 ,\t0.1 \r\n2e-1 7.5E-1\n";
        const Run r = batch(QStringList{"field"} + Airfoil + QStringList{"--points", "-"}, input);
        QCOMPARE(r.exitCode, 0);
        const QList<QStringList> rows = csvRows(r.out);
        QCOMPARE(rows.size(), 5);
        QCOMPARE(rows[0], (QStringList{"x", "y", "u", "v", "Cp", "psi"}));
        const double points[4][2] = {{-0.5, 0.2}, {0.3, -0.01}, {1.5, 0.1}, {0.2, 0.75}};
        const orvek::FlowField f = *orvek::FlowField::make({0.1, 0.05, 1.9}, 5);
        for (int k = 0; k < 4; ++k) {
            const QStringList& row = rows[k + 1];
            QCOMPARE(row.size(), 6);
            QCOMPARE(row[0].toDouble(), points[k][0]);
            QCOMPARE(row[1].toDouble(), points[k][1]);
            const orvek::FlowValues v = f.at({points[k][0], points[k][1]});
            if (v.inside) {
                QCOMPARE(row.mid(2), (QStringList{"", "", "", ""}));
                continue;
            }
            QCOMPARE(row[2].toDouble(), v.u);
            QCOMPARE(row[3].toDouble(), v.v);
            QCOMPARE(row[4].toDouble(), v.Cp);
            QCOMPARE(row[5].toDouble(), v.psi);
        }
        QVERIFY(rows[2][2].isEmpty());  // (0.3, -0.01) lies inside
    }

    // NX x NY rows, x fastest, the last column exactly at X1; the VTK file has the grid's header.
    void fieldOnGrid() {
        const Run r = batch(QStringList{"field"} + Airfoil + QStringList{"--grid", "-1:2:4,-0.5:0.5:3"});
        QCOMPARE(r.exitCode, 0);
        const QList<QStringList> rows = csvRows(r.out);
        QCOMPARE(rows.size(), 1 + 12);
        QCOMPARE(rows[1][0], QString("-1"));
        QCOMPARE(rows[4][0], QString("2"));
        QCOMPARE(rows[5][1], QString("0"));
        QCOMPARE(rows[12][1], QString("0.5"));

        QTemporaryDir dir;
        const QString file = dir.filePath("flow.vtk");
        const Run v = batch(QStringList{"field"} + Airfoil +
                            QStringList{"--grid", "-1:2:31,-1:1:21", "--format", "vtk", "--output", file});
        QCOMPARE(v.exitCode, 0);
        QVERIFY(v.out.isEmpty());
        QFile in(file);
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QByteArray bytes = in.readAll();
        QVERIFY(
            bytes.startsWith("# vtk DataFile Version 3.0\nKarman-Trefftz F=0.1 G=0.05 m=1.9 at 5 degrees\n"
                             "BINARY\nDATASET STRUCTURED_POINTS\nDIMENSIONS 31 21 1\nORIGIN -1 -1 0\n"));
        QVERIFY(bytes.contains("SCALARS body unsigned_char 1\nLOOKUP_TABLE default\n"));
        // header, 24 + 8 + 8 + 1 bytes a point, the section lines and the closing line break
        QVERIFY(bytes.size() > 41 * 31 * 21 && bytes.size() < 41 * 31 * 21 + 400);
    }

    void streamlines() {
        const Run r = batch(QStringList{"streamlines"} + Airfoil + QStringList{"--count", "5"});
        QCOMPARE(r.exitCode, 0);
        const QList<QStringList> rows = csvRows(r.out);
        QCOMPARE(rows[0], (QStringList{"line", "psi", "x", "y"}));
        QCOMPARE(rows[1][0], QString("1"));
        QSet<QString> levels;
        int previous = 1;
        for (int k = 1; k < rows.size(); ++k) {
            const int line = rows[k][0].toInt();
            QVERIFY(line == previous || line == previous + 1);  // numbered in order, each line whole
            previous = line;
            levels.insert(rows[k][1]);
        }
        QCOMPARE(levels.size(), 5);
        QVERIFY(levels.contains("0"));

        const Run svg =
            batch(QStringList{"streamlines"} + Airfoil + QStringList{"--format", "svg", "--plane", "circle"});
        QCOMPARE(svg.exitCode, 0);
        QVERIFY(svg.out.startsWith("<?xml"));
        QCOMPARE(svg.out.count("<polygon"), 1);
        QVERIFY(svg.out.count("<polyline") >= 21);
        QCOMPARE(svg.out.count("<circle"), 2);
    }

    void solveGivesStagnationPoints_data() {
        QTest::addColumn<QString>("m");
        QTest::addColumn<int>("count");
        QTest::newRow("Joukowsky: the cusp is no stagnation point") << "2" << 1;
        QTest::newRow("Karman-Trefftz: the trailing edge is one") << "1.9" << 2;
    }
    void solveGivesStagnationPoints() {
        QFETCH(QString, m);
        QFETCH(int, count);
        const Run r = batch({"solve", "--F", "0.1", "--G", "0.05", "--m", m, "--alpha", "5", "--np", "51"});
        QCOMPARE(r.exitCode, 0);
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(o.keys(), (QStringList{"Alfa0", "CL", "CMc4", "OneMinusCp", "stagnation", "x", "y"}));
        const QJsonArray s = o["stagnation"].toArray();
        QCOMPARE(s.size(), count);
        const orvek::FlowPoint front = orvek::FlowField::make({0.1, 0.05, m.toDouble()}, 5)->stagnationPoints()[0];
        QCOMPARE(s[0].toArray()[0].toDouble(), front.x);
        QCOMPARE(s[0].toArray()[1].toDouble(), front.y);
        if (count == 2) QCOMPARE(s[1].toArray(), (QJsonArray{1, 0}));
    }

    void faults_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QStringList field = QStringList{"field"} + Airfoil;
        const QStringList lines = QStringList{"streamlines"} + Airfoil;
        QTest::newRow("malformed point") << field + QStringList{"--points", "-"} << QByteArray("x,y\n0,1\n\n0.5;1\n")
                                         << 2 << "standard input, line 4: expected a point";
        QTest::newRow("point not a number")
            << field + QStringList{"--points", "-"} << QByteArray("nan,1\n") << 2 << "line 1";
        QTest::newRow("points and grid") << field + QStringList{"--points", "-", "--grid", "0:1:2,0:1:2"}
                                         << QByteArray() << 2 << "not both";
        QTest::newRow("neither points nor grid")
            << field << QByteArray() << 2 << "missing option '--points' or '--grid'";
        QTest::newRow("vtk of points") << field + QStringList{"--points", "-", "--format", "vtk"} << QByteArray() << 2
                                       << "--format vtk goes with --grid";
        QTest::newRow("points of zeros without end")
            << field + QStringList{"--points", "/dev/zero"} << QByteArray() << 2
            << "/dev/zero, line 1: expected a point \"x,y\" or \"x y\", not a line of more than 4096 bytes";
        QTest::newRow("points a folder") << field + QStringList{"--points", "."} << QByteArray() << 2
                                         << "cannot read the file '.': it is a folder, not a file";
        QTest::newRow("long bad line quoted short")
            << field + QStringList{"--points", "-"} << QByteArray("0,1\n1;") + QByteArray(3000, '7') + "\n" << 2
            << "line 2: expected a point \"x,y\" or \"x y\", not '1;777777777";
        QTest::newRow("control characters escaped")
            << field + QStringList{"--points", "-"} << QByteArray("0.5\x01,1\x1b[2J\n") << 2
            << "not '0.5\\x01,1\\x1B[2J'";
        QTest::newRow("grid wider than every number")
            << field + QStringList{"--grid", "-1e308:1e308:3,0:1:2"} << QByteArray() << 2
            << "X1 - X0 must be at most the largest number (about 1.8e308), not -1e308 to 1e308";
        QTest::newRow("grid X0 >= X1") << field + QStringList{"--grid", "1:1:3,0:1:3"} << QByteArray() << 2
                                       << "X0 must be less than X1, not 1 and 1";
        QTest::newRow("grid NX below 2") << field + QStringList{"--grid", "0:1:1,0:1:3"} << QByteArray() << 2
                                         << "NX must be a whole number of at least 2, not 1";
        QTest::newRow("grid too large") << field + QStringList{"--grid", "0:1:5000,0:1:5000"} << QByteArray() << 2
                                        << "at most 16777216 points";
        QTest::newRow("grid malformed") << field + QStringList{"--grid", "0:1:3"} << QByteArray() << 2
                                        << "expects X0:X1:NX,Y0:Y1:NY";
        QTest::newRow("extent Y0 >= Y1") << lines + QStringList{"--extent", "-1:2,1:-1"} << QByteArray() << 2
                                         << "Y0 must be less than Y1";
        QTest::newRow("count 0") << lines + QStringList{"--count", "0"} << QByteArray() << 2
                                 << "'--count' expects a whole number from 1 to 1000, not '0'";
        QTest::newRow("count 1001") << lines + QStringList{"--count", "1001"} << QByteArray() << 2 << "not '1001'";
        QTest::newRow("count fractional") << lines + QStringList{"--count", "2.5"} << QByteArray() << 2 << "not '2.5'";
        QTest::newRow("unknown plane") << lines + QStringList{"--plane", "hodograph"} << QByteArray() << 2
                                       << "expects airfoil or circle";
        QTest::newRow("format") << lines + QStringList{"--format", "png"} << QByteArray() << 2
                                << "expects csv or svg, not 'png'";
        QTest::newRow("m above 2") << QStringList{"streamlines", "--F", "0.1", "--G", "0", "--m", "2.5", "--alpha", "0"}
                                   << QByteArray() << 1 << "Not a simple airfoil: the exponent m is 2.5";
        QTest::newRow("m of 1, the circle itself")
            << QStringList{"field", "--F", "0.1", "--G", "0", "--m", "1", "--alpha", "0", "--points", "-"}
            << QByteArray("0.5,0.5\n") << 1 << "only m above 1 and up to 2";
        QTest::newRow("F below 0") << QStringList{"field", "--F",     "-0.1", "--G",    "0",          "--m",
                                                  "2",     "--alpha", "0",    "--grid", "0:1:2,0:1:2"}
                                   << QByteArray() << 1 << "only F of 0 or more";
        // Where solve refuses an airfoil, field and streamlines refuse it with the same sentence.
        const QString domain = "orvek-batch: Cannot calculate this airfoil: F is 1e+20, and F and G from -20 to 20";
        QTest::newRow("field, F beyond the domain")
            << QStringList{"field", "--F", "1e20", "--G", "0", "--m", "2", "--alpha", "5", "--grid", "-1:2:4,-1:1:3"}
            << QByteArray() << 1 << domain;
        // Numbers too small or too large to mean anything in the picture or the grid are refused.
        const QStringList svg{"streamlines", "--F", "0.1", "--G", "0.05", "--m", "1.9", "--alpha", "5", "--format", "svg"};
        QTest::newRow("extent of 1e-30") << svg + QStringList{"--extent=-1e-30:1e-30,-1e-30:1e-30"} << QByteArray() << 2
                                         << "the extent's width and height must be from 1e-06 to 1000, not 2e-30.";
        QTest::newRow("extent of 1e-320") << svg + QStringList{"--extent=-1e-320:1e-320,0:1"} << QByteArray() << 2
                                          << "the extent's width and height must be from 1e-06 to 1000";
        QTest::newRow("extent of 2000") << lines + QStringList{"--extent=-1000:1000,-1000:1000"} << QByteArray() << 2
                                        << "not 2000.";
        QTest::newRow("extent beyond the reach") << svg + QStringList{"--extent=1e15:1.0000000000001e15,0:1"}
                                                 << QByteArray() << 2 << "lies beyond the field's reach";
        QTest::newRow("grid step subnormal")
            << field + QStringList{"--grid", "0:1e-320:3,0:1:2", "--format", "vtk"} << QByteArray() << 2
            << "the x step must be at least 1e-12 chords";
        // Far away the inverse mapping loses its digits: Cp = -5017 at 1e16 chords was written.
        QTest::newRow("grid beyond the reach") << field + QStringList{"--grid", "1e16:2e16:3,0:1:2"} << QByteArray() << 2
                                               << "option '--grid': the point (1e+16, 0) lies beyond the field's reach";
        QTest::newRow("point beyond the reach")
            << field + QStringList{"--points", "-"} << QByteArray("0,1\n-2e5 0\n") << 2
            << "option '--points': the point (-2e+05, 0) lies beyond the field's reach: x and y from -1e+05";
        QTest::newRow("streamlines, G beyond the domain")
            << QStringList{"streamlines", "--F", "0.1", "--G", "1e10", "--m", "2", "--alpha", "5"} << QByteArray() << 1
            << "Cannot calculate this airfoil: G is 1e+10, and F and G from -20 to 20";
    }
    // Each fault says what is wrong in one line on stderr, prints nothing on stdout, and exits 2
    // for invalid arguments or 1 for an airfoil whose flow cannot be calculated.
    void faults() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const Run r = batch(args, input);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY2(r.err.size() < 300, r.err.constData());  // a message never grows with the input
    }

    // The forms a point file takes besides plain "x,y" lines: a byte-order mark, headers in any
    // case, blank- or comma-separated, and the line ends of every system; each gives the same rows.
    void pointFileForms_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::newRow("byte-order mark and X,Y") << QByteArray("\xEF\xBB\xBFX,Y\n-0.5,0.2\n1.5,0.1\n");
        QTest::newRow("header x y") << QByteArray("x y\n-0.5 0.2\n1.5 0.1\n");
        QTest::newRow("header x, y") << QByteArray("x, y\n-0.5, 0.2\n1.5, 0.1\n");
        QTest::newRow("lone CR line ends") << QByteArray("x,y\r-0.5,0.2\r1.5,0.1\r");
        QTest::newRow("CR LF line ends") << QByteArray("X Y\r\n-0.5,0.2\r\n\r\n1.5,0.1");
    }
    void pointFileForms() {
        QFETCH(QByteArray, input);
        const QStringList args = QStringList{"field"} + Airfoil + QStringList{"--points", "-"};
        const Run plain = batch(args, "-0.5,0.2\n1.5,0.1\n");
        const Run r = batch(args, input);
        QVERIFY2(r.exitCode == 0, r.err.constData());
        QCOMPARE(r.out, plain.out);
        QCOMPARE(csvRows(r.out).size(), 3);
    }

    // More points than one block (200,000 in blocks of 65,536): read whole, kept, and written back
    // in order with the same values as the grid of the same points.
    void manyPointsInOrder() {
        const Run grid = batch(QStringList{"field"} + Airfoil + QStringList{"--grid", "-1:2:100000,0.5:0.6:2"});
        QCOMPARE(grid.exitCode, 0);
        QByteArray input;
        for (const QByteArray& line : grid.out.split('\n')) {
            const QList<QByteArray> f = line.split(',');
            if (f.size() == 6) input += f[0] + ' ' + f[1] + '\n';
        }
        const Run r = batch(QStringList{"field"} + Airfoil + QStringList{"--points", "-"}, input);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out.count('\n'), 200001);
        QVERIFY(r.out == grid.out);
    }

    void help() {
        for (const QString command : {"field", "streamlines"}) {
            const Run r = batch({command, "--help"});
            QCOMPARE(r.exitCode, 0);
            QVERIFY(r.out.startsWith("Usage:\n  orvek-batch " + command.toUtf8()));
        }
        const Run all = batch({"--help"});
        QVERIFY(all.out.contains("orvek-batch field") && all.out.contains("orvek-batch streamlines"));
    }
};

QTEST_GUILESS_MAIN(TestFlowBatch)
#include "test_flowbatch.moc"
