// orvek-batch, run as a user's script would run it.

#include "case/Catalogue.h"
#include "case/Driver.h"
#include "export/ResultFile.h"
#include "solver/analysis/PressureMinimum.h"
#include "support/ChildProcess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

using Run = orvek::test::BatchRun;

Run batch(const QStringList& args) { return orvek::test::runBatch(args); }

const QStringList Joukowsky = {"solve", "--F", "0.1", "--G", "0.05", "--m", "2", "--alpha", "5", "--np", "51"};

// The lines of a CSV text, each split at its commas (a CSV reader for unquoted fields).
QList<QStringList> csvRows(const QByteArray& text) {
    QList<QStringList> rows;
    for (const QByteArray& line : text.split('\n')) {
        if (!line.isEmpty()) rows.append(QString::fromUtf8(line).split(','));
    }
    return rows;
}

// What solve prints for one case, and its pressure minimum found the plain way.
struct Solved {
    orvek::Coefficients coefficients;
    double CpMin = 0, xCpMin = 0;
    QJsonArray x, y;
};

Solved solved(const QString& F, const QString& G, const QString& m, const QString& alpha, const QString& np) {
    const Run r = batch({"solve", "--F", F, "--G", G, "--m", m, "--alpha", alpha, "--np", np});
    if (r.exitCode != 0) qFatal("solve failed: %s", r.err.constData());
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    Solved s;
    s.coefficients.CL = o["CL"].toDouble();
    s.coefficients.CMc4 = o["CMc4"].toDouble();
    s.coefficients.Alfa0 = o["Alfa0"].toDouble();
    s.x = o["x"].toArray();
    s.y = o["y"].toArray();
    const QJsonArray cp = o["OneMinusCp"].toArray();
    double best = -1;
    for (int i = 0; i < cp.size(); ++i) {
        if (!cp[i].isNull() && cp[i].toDouble() > best) {
            best = cp[i].toDouble();
            s.xCpMin = s.x[i].toDouble();
        }
    }
    s.CpMin = 1.0 - best;
    return s;
}

double number(const QString& text) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok) qFatal("not a number: %s", qPrintable(text));
    return v;
}

}  // namespace

// The pressure minimum of the continuous surface, as the core gives it for one case.
orvek::PressureMinimum surfaceMinimum(double F, double G, double m, double alpha, double np) {
    orvek::SolverInput in;
    in.airfoil = {F, G, m};
    in.AlfaD = alpha;
    in.N1 = np;
    const orvek::Expected<orvek::SolverResult> r = orvek::ORVEK(in);
    if (!r) qFatal("the case failed");
    return *orvek::surfacePressureMinimum(in, *r);
}

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void solvePrintsJson() {
        const Run r = batch(Joukowsky);
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.err.isEmpty());
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        QVERIFY(std::fabs(o["CL"].toDouble() - 0.9077762) < 1e-7);
        QVERIFY(std::fabs(o["CMc4"].toDouble() + 0.0742389) < 1e-7);
        QVERIFY(std::fabs(o["Alfa0"].toDouble() + 2.6025622) < 1e-7);
        const QJsonArray x = o["x"].toArray(), y = o["y"].toArray(), cp = o["OneMinusCp"].toArray();
        QCOMPARE(x.size(), 51);
        QCOMPARE(cp.size(), 51);
        QCOMPARE(x[0].toDouble(), 1.0);  // entry 1, the trailing edge, comes first
        QVERIFY(std::fabs(x[1].toDouble() - 0.996096) < 1e-6);
        QVERIFY(std::fabs(cp[25].toDouble() - 1.299078) < 1e-6);
        QVERIFY(r.out.contains("0.90777624297745"));  // 17 significant digits
    }

    void unsetEntriesAreNull() {
        const Run r = batch({"solve", "--F", "0", "--G", "0.05", "--m", "2", "--alpha", "5", "--np", "51"});
        QCOMPARE(r.exitCode, 0);
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        QVERIFY(o["x"].toArray()[25].isNull());  // the leading edge, index 26
        QVERIFY(o["OneMinusCp"].toArray()[25].isNull());
        QVERIFY(std::fabs(o["OneMinusCp"].toArray()[26].toDouble() - 5.765423) < 1e-6);
    }

    void failures_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        auto with = [](QStringList base, const QString& option, const QString& value) {
            base[base.indexOf(option) + 1] = value;
            return base;
        };
        QTest::newRow("m zero") << with(Joukowsky, "--m", "0") << 1
                                << "orvek-batch: Cannot calculate this airfoil: the exponent m is 0.";
        QTest::newRow("N1 one") << with(Joukowsky, "--np", "1") << 1
                                << "orvek-batch: Cannot calculate: the number of points NP must be at least 2, not 1.";
        QTest::newRow("N1 fractional")
            << with(Joukowsky, "--np", "12.5") << 1
            << "orvek-batch: Cannot calculate: the number of points NP must be a whole number, not 12.5.";
        QTest::newRow("chord zero")
            << (Joukowsky + QStringList{"--chord", "0"}) << 2
            << "orvek-batch: option '--chord' expects a positive number of normal size (from 2.3e-308 "
               "to 1.7e308), not '0'";
        // A number beyond every double has no form in any output: an invalid argument.
        QTest::newRow("angle overflow") << with(Joukowsky, "--alpha", "1e999") << 2
                                        << "orvek-batch: option '--alpha' expects a finite number, not '1e999'";
        // An exponent this large overflowed the power of the mapping: outside the calculated domain.
        QTest::newRow("m 200") << with(Joukowsky, "--m", "200") << 1
                               << "orvek-batch: Cannot calculate this airfoil: the exponent m is 200, and m from 1 to "
                                  "4 (or -4 to -1) is calculated.";
        // Beyond |F|, |G| = 20 the surface loses its accuracy (0.34 chord at F = 1e8): refused by
        // every command with the solver's sentence.
        const QString beyond = ", and F and G from -20 to 20 are calculated (beyond, the surface loses its accuracy).";
        QTest::newRow("solve, F beyond the domain")
            << with(Joukowsky, "--F", "1e5") << 1 << "orvek-batch: Cannot calculate this airfoil: F is 1e+05" + beyond;
        QTest::newRow("describe, F beyond the domain")
            << QStringList{"describe", "--F", "1e9", "--G", "0", "--m", "2"} << 1
            << "orvek-batch: Cannot calculate this airfoil: F is 1e+09" + beyond;
        QTest::newRow("export, G beyond the domain")
            << QStringList{"export", "--F", "0.1", "--G", "-25", "--m", "2", "--format", "selig"} << 1
            << "orvek-batch: Cannot calculate this airfoil: G is -25" + beyond;
        // A sweep is judged whole before its first byte: the header is not written for a sweep
        // that fails, whether the airfoil is refused at once or a surface fails on the way.
        QTest::newRow("sweep, G beyond the domain")
            << QStringList{"sweep", "--F", "0.1", "--G", "1e300", "--m", "2", "--from", "0", "--to", "1", "--step", "1"}
            << 1 << "orvek-batch: At the angle of attack 0: Cannot calculate this airfoil: G is 1e+300" + beyond;
        QTest::newRow("sweep as JSON, a surface that fails")
            << QStringList{"sweep", "--F",    "20", "--G",    "20", "--m",    "4",       "--from",
                           "0",     "--to",   "1",  "--step", "1",  "--np",   "401",     "--format",
                           "json"}
            << 1 << "orvek-batch: At the angle of attack 0: Cannot calculate this airfoil: the surface value x at point "
                    "101 is not a finite number.";
        QTest::newRow("failed save")
            << (Joukowsky + QStringList{"--layout", "1", "--output", "/nonexistent/dir/r.txt"}) << 1
            << "orvek-batch: Could not save /nonexistent/dir/r.txt: the folder /nonexistent/dir does not exist";
        QTest::newRow("describe fault") << QStringList{"describe", "--F", "-1", "--G", "0", "--m", "2"} << 1
                                        << "orvek-batch: Cannot calculate this airfoil: F is -1.";
        QTest::newRow("no command") << QStringList{} << 2
                                    << "orvek-batch: missing command (solve, sweep, export, design, table, describe, "
                                       "field, streamlines or boundary-layer); see --help";
        QTest::newRow("unknown command") << QStringList{"draw"} << 2
                                         << "orvek-batch: unknown command 'draw' (solve, sweep, export, design, table, "
                                            "describe, field, streamlines or boundary-layer); see --help";
        QTest::newRow("option before the command")
            << QStringList{"--F", "0.1"} << 2
            << "orvek-batch: missing command (solve, sweep, export, design, table, describe, field, streamlines or "
               "boundary-layer) before '--F'; see --help";
        QTest::newRow("missing option") << Joukowsky.mid(0, 9) << 2 << "orvek-batch: missing option '--np'";
        QTest::newRow("not a number") << with(Joukowsky, "--F", "0,1") << 2
                                      << "orvek-batch: option '--F' expects a number, not '0,1'";
        QTest::newRow("unknown option") << (Joukowsky + QStringList{"--colour", "red"}) << 2
                                        << "orvek-batch: unknown option '--colour' for solve";
        QTest::newRow("value missing") << (Joukowsky + QStringList{"--chord"}) << 2
                                       << "orvek-batch: option '--chord' needs a value";
        QTest::newRow("bad layout") << (Joukowsky + QStringList{"--layout", "7"}) << 2
                                    << "orvek-batch: option '--layout' expects 1, 2, 3, 4 or none, not '7'";
        QTest::newRow("output without layout")
            << (Joukowsky + QStringList{"--output", "x.txt"}) << 2
            << "orvek-batch: --output, --delta, --gama, --xdltc and --tau go with --layout";
        // The viscous estimate's numbers are arguments; the airfoil's faults are the case's.
        QTest::newRow("Re zero") << (Joukowsky + QStringList{"--re", "0"}) << 2
                                 << "orvek-batch: Cannot estimate the boundary layer: the Reynolds number must be "
                                    "from 1000 to 1e+09, not 0.";
        QTest::newRow("Re not a number") << (Joukowsky + QStringList{"--re", "nan"}) << 2
                                         << "orvek-batch: option '--re' expects a number, not 'nan'";
        QTest::newRow("Ncrit too large") << (Joukowsky + QStringList{"--re", "1e6", "--ncrit", "30"}) << 2
                                         << "orvek-batch: Cannot estimate the boundary layer: the critical "
                                            "amplification exponent Ncrit must be from 1 to 20, not 30.";
        QTest::newRow("trip beyond the chord")
            << (Joukowsky + QStringList{"--re", "1e6", "--trip-upper", "1.2"}) << 2
            << "orvek-batch: Cannot estimate the boundary layer: the trip on the upper side must lie at x/c from 0 "
               "to 1, not 1.2.";
        QTest::newRow("Mach 1") << (Joukowsky + QStringList{"--mach", "1"}) << 2
                                << "orvek-batch: Cannot estimate the boundary layer: the Mach number must be at "
                                   "least 0 and below 1, not 1.";
        QTest::newRow("Mach negative") << (Joukowsky + QStringList{"--re", "1e6", "--mach", "-0.1"}) << 2
                                       << "orvek-batch: Cannot estimate the boundary layer: the Mach number must be "
                                          "at least 0 and below 1, not -0.1.";
        QTest::newRow("Ncrit without Re") << (Joukowsky + QStringList{"--ncrit", "5"}) << 2
                                          << "orvek-batch: --ncrit, --trip-upper and --trip-lower go with --re";
        QTest::newRow("Re with a layout") << (Joukowsky + QStringList{"--layout", "1", "--re", "1e6"}) << 2
                                          << "orvek-batch: --re and --mach add to the JSON output and do not go "
                                             "with --layout";
        QTest::newRow("sharp edge at an angle")
            << QStringList{"solve", "--F", "0", "--G", "0", "--m", "2", "--alpha", "3", "--np", "21", "--re", "1e6"}
            << 1
            << "orvek-batch: Cannot estimate the boundary layer: the airfoil has a sharp leading edge (F = 0), "
               "around which the flow turns at infinite speed unless the angle of attack is 0, not 3.";
        QTest::newRow("boundary layer without Re")
            << QStringList{"boundary-layer", "--F", "0.1", "--G", "0", "--m", "2", "--alpha", "0"} << 2
            << "orvek-batch: missing option '--re'";
    }

    // solve --re adds "viscous" (and --mach "compressible") to the JSON; boundary-layer and
    // sweep --re give the same estimate station by station and row by row.
    void viscousOutputs() {
        const QStringList airfoil{"--F", "0.1", "--G", "0.05", "--m", "1.95"};
        const Run s = batch(QStringList{"solve"} + airfoil +
                            QStringList{"--alpha", "2", "--np", "21", "--re", "3e6", "--trip-lower", "0.3", "--mach", "0.3"});
        QCOMPARE(s.exitCode, 0);
        const QJsonObject o = QJsonDocument::fromJson(s.out).object();
        const QJsonObject v = o["viscous"].toObject();
        for (const char* key : {"Re", "Ncrit", "CD", "CDf", "CDp", "transition", "separation", "valid", "flags"})
            QVERIFY2(v.contains(key), key);
        QCOMPARE(v["Re"].toDouble(), 3e6);
        QCOMPARE(v["Ncrit"].toDouble(), 9.0);
        const double CD = v["CD"].toDouble();
        QVERIFY(CD > 0.003 && CD < 0.02);
        QVERIFY(std::fabs(v["CDf"].toDouble() + v["CDp"].toDouble() - CD) < 1e-15);
        QVERIFY(std::fabs(v["transition"].toObject()["lower"].toDouble() - 0.3) < 0.01);
        const QJsonObject c = o["compressible"].toObject();
        QCOMPARE(c["M"].toDouble(), 0.3);
        QVERIFY(c["CL"].toDouble() > o["CL"].toDouble());  // compressibility raises the lift
        QVERIFY(c["criticalMach"].toDouble() > 0.3 && c["criticalMach"].toDouble() < 1);

        const Run b = batch(QStringList{"boundary-layer"} + airfoil +
                            QStringList{"--alpha", "2", "--re", "3e6", "--trip-lower", "0.3"});
        QCOMPARE(b.exitCode, 0);
        const QList<QByteArray> lines = b.out.trimmed().split('\n');
        QCOMPARE(lines.front(), QByteArray("side,s,x,y,Ue,theta,deltaStar,H,Cf,N,state"));
        QVERIFY(lines[1].startsWith("upper,") && lines.back().startsWith("lower,"));
        QCOMPARE(lines.back().split(',')[2].toDouble(), 1.0);  // the last station is the trailing edge

        const Run p = batch(QStringList{"sweep"} + airfoil +
                            QStringList{"--from", "2", "--to", "2", "--step", "1", "--re", "3e6", "--trip-lower", "0.3"});
        QCOMPARE(p.exitCode, 0);
        const QList<QByteArray> rows = p.out.trimmed().split('\n');
        QCOMPARE(rows.front(), QByteArray("alpha,CL,CMc4,Alfa0,CpMin,xCpMin,surfaceCpMin,CD,CDf,CDp,xtrUpper,xtrLower,LD,valid"));
        QCOMPARE(rows[1].split(',')[7].toDouble(), CD);

        // table --re: CD before problem, each the estimate solve --re gives the airfoil
        const Run t = batch({"table", "--catalogue", ORVEK_SOURCE_DIR "/data/ORVEK_Input.txt", "--alpha", "2", "--re",
                             "1e6"});
        QCOMPARE(t.exitCode, 0);
        const QList<QByteArray> table = t.out.trimmed().split('\n');
        QVERIFY(table.front().endsWith(",xCpMin,CD,problem"));
        const QList<QByteArray> first = table[1].split(',');
        const Run one = batch({"solve", "--F", first[1], "--G", first[2], "--m", first[3], "--alpha", "2", "--np", "21",
                               "--re", "1e6"});
        QCOMPARE(first[13].toDouble(),
                 QJsonDocument::fromJson(one.out).object()["viscous"].toObject()["CD"].toDouble());
    }
    void failures() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const Run r = batch(args);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY(r.out.isEmpty());  // never partial output
        QCOMPARE(QString::fromUtf8(r.err), message + "\n");
    }

    void helpNamesEveryOption() {
        const Run r = batch({"--help"});
        QCOMPARE(r.exitCode, 0);
        for (const char* option : {"--F", "--G", "--m", "--alpha", "--np", "--chord", "--layout", "--output", "--delta",
                                   "--gama", "--xdltc", "--tau", "describe", "solve", "--re", "--ncrit", "--trip-upper",
                                   "--trip-lower", "--mach", "boundary-layer"}) {
            QVERIFY2(r.out.contains(option), option);
        }
    }

    void describeGivesTheCatalogueLine() {
        const Run r = batch({"describe", "--F", "0.1", "--G", "0.05", "--m", "2"});
        QCOMPARE(r.exitCode, 0);
        const orvek::Catalogue c = *orvek::loadCatalogueFile(ORVEK_SOURCE_DIR "/data/ORVEK_Input.txt");
        bool found = false;
        // The shipped lines are laid out in columns with blanks; the fields are describe's.
        for (const auto& row : c.rows)
            found = found || QByteArray::fromStdString(row.text + "\n").replace(' ', "") == r.out;
        QVERIFY2(found, r.out.constData());
    }

    // The result file is the one the window writes for the same case (point as separator).
    void resultFileMatchesTheWindow_data() {
        QTest::addColumn<QString>("layout");
        for (const char* l : {"1", "2", "3", "4", "none"}) QTest::newRow(l) << l;
    }
    void resultFileMatchesTheWindow() {
        QFETCH(QString, layout);
        orvek::CaseState s;
        orvek::storeCatalogue(s, *orvek::readCatalogue("Title\r\n0.118,0.0227,0.2523,0,0.1,0.05,2\r\n"));
        s.SelIndex = 1;
        QVERIFY(orvek::Calculate(s, "51", "5"));
        const orvek::Layout l = layout == "none" ? orvek::Layout::None : static_cast<orvek::Layout>(layout.toInt());
        const QByteArray expected = QByteArray::fromStdString(orvek::resultFileText(orvek::resultFileCase(s), l, '.'));

        const QStringList header = {"--delta", "0.118", "--gama", "0.0227", "--xdltc", "0.2523", "--tau", "0"};
        const Run r = batch(Joukowsky + QStringList{"--layout", layout} + header);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, expected);

        QTemporaryDir dir;
        const QString file = dir.filePath("case.txt");
        const Run toFile = batch(Joukowsky + QStringList{"--layout", layout, "--output", file} + header);
        QCOMPARE(toFile.exitCode, 0);
        QVERIFY(toFile.out.isEmpty());
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), expected);
    }

    void headerDefaultsToDescribe() {
        const Run r = batch(Joukowsky + QStringList{"--layout", "none"});
        QCOMPARE(r.exitCode, 0);
        // The measured values at full precision, rounded by the header's patterns.
        QVERIFY2(r.out.startsWith(" Delta=0.12  Gama=0.02  xDltC=0.252"), r.out.constData());
        QVERIFY(r.out.endsWith("  Tau=0.  Karman-Trefftz airfoil\r\n 51 \r\n"));
    }

    void failedOutputIsReported() {
        QTemporaryDir dir;
        const Run r = batch(Joukowsky + QStringList{"--layout", "1", "--output", dir.path()});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(r.err.startsWith("orvek-batch: Could not save "), r.err.constData());
        QVERIFY(QFileInfo(dir.path()).isDir());
    }

    // --- sweep ---------------------------------------------------------------------------------

    // Each row is a single solve at its angle; downwards, with the last angle off the grid.
    void sweepRowsEqualSolve() {
        const Run r = batch(
            {"sweep", "--F", "0.12", "--G", "0.1", "--m", "1.95", "--from", "6", "--to", "-1.1", "--step", "-1.5"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.err.isEmpty());
        const QList<QStringList> rows = csvRows(r.out);
        QCOMPARE(rows[0], (QStringList{"alpha", "CL", "CMc4", "Alfa0", "CpMin", "xCpMin", "surfaceCpMin"}));
        QCOMPARE(rows.size(), 1 + 5);
        const QStringList angles = {"6", "4.5", "3", "1.5", "0"};
        for (int k = 0; k < angles.size(); ++k) {
            const QStringList& row = rows[k + 1];
            QCOMPARE(row[0], angles[k]);
            const Solved s = solved("0.12", "0.1", "1.95", row[0], "201");
            QCOMPARE(number(row[1]), s.coefficients.CL);
            QCOMPARE(number(row[2]), s.coefficients.CMc4);
            QCOMPARE(number(row[3]), s.coefficients.Alfa0);
            // The minimum of the continuous surface, at or below that of the points.
            const orvek::PressureMinimum pm = surfaceMinimum(0.12, 0.1, 1.95, number(row[0]), 201);
            QCOMPARE(number(row[4]), pm.CpMin);
            QCOMPARE(number(row[5]), pm.xCpMin);
            QVERIFY(number(row[4]) <= s.CpMin + 1e-12);
            QCOMPARE(row[6], QString("upper"));
        }
    }

    void sweepJsonAndOneRow() {
        const Run r = batch({"sweep", "--F", "0.1", "--G", "0", "--m", "2", "--from", "-3", "--to", "-3", "--step",
                             "0.5", "--np", "51", "--format", "json"});
        QCOMPARE(r.exitCode, 0);
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        const QJsonArray rows = o["rows"].toArray();
        QCOMPARE(rows.size(), 1);
        const QJsonObject row = rows[0].toObject();
        const Solved s = solved("0.1", "0", "2", "-3", "51");
        QCOMPARE(row["alpha"].toDouble(), -3.0);
        QCOMPARE(row["CL"].toDouble(), s.coefficients.CL);
        QCOMPARE(row["CpMin"].toDouble(), surfaceMinimum(0.1, 0, 2, -3, 51).CpMin);
        QVERIFY(row["CpMin"].toDouble() <= s.CpMin + 1e-12);
        QCOMPARE(row["surfaceCpMin"].toString(), QString("lower"));
        QCOMPARE(o["np"].toDouble(), 51.0);
    }

    // A step larger than the range gives one row, at the first angle.
    void sweepStartsAtTheFirstAngle_data() {
        QTest::addColumn<QStringList>("range");
        QTest::addColumn<QString>("alpha");
        QTest::newRow("downwards") << QStringList{"--from", "10", "--to", "-10", "--step", "-1e12"} << "10";
        QTest::newRow("upwards") << QStringList{"--from", "0", "--to", "2", "--step", "1e10"} << "0";
    }
    void sweepStartsAtTheFirstAngle() {
        QFETCH(QStringList, range);
        QFETCH(QString, alpha);
        const Run r = batch(QStringList{"sweep", "--F", "0.1", "--G", "0.05", "--m", "2", "--np", "51"} + range);
        QCOMPARE(r.exitCode, 0);
        const QList<QStringList> rows = csvRows(r.out);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[1][0], alpha);
    }

    void sweepRefusals_data() {
        QTest::addColumn<QStringList>("range");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("zero step") << QStringList{"--from", "0", "--to", "5", "--step", "0"} << 2
                                   << "orvek-batch: Invalid sweep: the step is 0.";
        QTest::newRow("step not a number") << QStringList{"--from", "0", "--to", "5", "--step", "nan"} << 2
                                           << "orvek-batch: option '--step' expects a number, not 'nan'";
        QTest::newRow("wrong sign")
            << QStringList{"--from", "0", "--to", "5", "--step=-1"} << 2
            << "orvek-batch: Invalid sweep: the step -1 points away from the last angle 5 (from 0).";
        QTest::newRow("too many rows")
            << QStringList{"--from", "0", "--to", "1000", "--step", "0.001"} << 2
            << "orvek-batch: Invalid sweep: it would have 1000001 angles, and at most 100001 are calculated.";
        QTest::newRow("ten trillion rows")
            << QStringList{"--from", "0", "--to", "1e13", "--step", "1"} << 2
            << "orvek-batch: Invalid sweep: it would have 10000000000001 angles, and at most 100001 are calculated.";
        QTest::newRow("step missing") << QStringList{"--from", "0", "--to", "5"} << 2
                                      << "orvek-batch: missing option '--step'";
        QTest::newRow("bad format") << QStringList{"--from", "0", "--to", "5", "--step", "1", "--format", "xml"} << 2
                                    << "orvek-batch: option '--format' expects csv or json, not 'xml'";
        QTest::newRow("fails whole")
            << QStringList{"--from", "0", "--to", "5", "--step", "1", "--np", "1"} << 1
            << "orvek-batch: At the angle of attack 0: Cannot calculate: the number of points NP must be "
               "at least 2, not 1.";
    }
    void sweepRefusals() {
        QFETCH(QStringList, range);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const Run r = batch(QStringList{"sweep", "--F", "0.1", "--G", "0.05", "--m", "2"} + range);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(QString::fromUtf8(r.err), message + "\n");
    }

    // --- export --------------------------------------------------------------------------------

    // The Selig file holds solve's points, trailing edge to trailing edge over the upper side first.
    void exportSeligHoldsTheSolversPoints() {
        const Run r = batch({"export", "--F", "0.1", "--G", "0.05", "--m", "1.9", "--format", "selig"});
        QCOMPARE(r.exitCode, 0);
        const QList<QByteArray> lines = r.out.split('\n');
        QCOMPARE(lines[0], QByteArray("Karman-Trefftz F=0.1 G=0.05 m=1.9"));
        QCOMPARE(lines.size(), 1 + 161 + 1);  // the name, 161 points, nothing after the last LF
        QVERIFY(lines.last().isEmpty());
        QVERIFY(!r.out.contains('\r'));
        const Solved s = solved("0.1", "0.05", "1.9", "0", "161");
        for (int k = 0; k < 161; ++k) {
            const QStringList xy = QString::fromUtf8(lines[k + 1]).split(' ', Qt::SkipEmptyParts);
            QCOMPARE(xy.size(), 2);
            const int i = 160 - k;  // from point NP down to point 1
            QVERIFY(std::fabs(number(xy[0]) - s.x[i].toDouble()) <= 5.01e-9);
            QVERIFY(std::fabs(number(xy[1]) - s.y[i].toDouble()) <= 5.01e-9);
        }
        QVERIFY(QString::fromUtf8(lines[2]).split(' ', Qt::SkipEmptyParts)[1].toDouble() > 0);
    }

    void exportFormats_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("begins");
        QTest::newRow("lednicer, Joukowsky")
            << QStringList{"--m", "2", "--format", "lednicer", "--np", "21"}
            << QByteArray("Joukowsky F=0.1 G=0.05\n  11.  11.\n\n  0.00000000   0.00000000\n");
        QTest::newRow("csv") << QStringList{"--m", "2", "--format", "csv", "--np", "21", "--alpha", "4"}
                             << QByteArray("index,x,y,OneMinusCp,surface\n 1, 1.00000000, 0.00000000,");
        QTest::newRow("name") << QStringList{"--m", "1.9", "--format=selig", "--name", "My wing root"}
                              << QByteArray("My wing root\n  1.00000000   0.00000000\n");
    }
    void exportFormats() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, begins);
        const Run r = batch(QStringList{"export", "--F", "0.1", "--G", "0.05"} + args);
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.startsWith(begins), r.out.left(200).constData());
    }

    void exportRefusals_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("no format") << QStringList{} << 2
                                   << "orvek-batch: missing option '--format' (selig, lednicer or csv)";
        QTest::newRow("bad format") << QStringList{"--format", "dat"} << 2
                                    << "orvek-batch: option '--format' expects selig, lednicer or csv, not 'dat'";
        QTest::newRow("empty name") << QStringList{"--format", "selig", "--name="} << 2
                                    << "orvek-batch: option '--name': The airfoil's name is empty.";
        QTest::newRow("failed save")
            << QStringList{"--format", "selig", "--output", "/nonexistent/dir/out.dat"} << 1
            << "orvek-batch: Could not save /nonexistent/dir/out.dat: the folder /nonexistent/dir does not exist";
        QTest::newRow("no airfoil")
            << QStringList{"--format", "selig", "--np", "12.5"} << 1
            << "orvek-batch: Cannot calculate: the number of points NP must be a whole number, not 12.5.";
        for (const char* np : {"0", "2", "4"}) {
            QTest::addRow("%s points", np)
                << QStringList{"--format", "lednicer", "--np", np} << 2
                << QString("orvek-batch: option '--np': A coordinate file needs at least 5 points (the trailing "
                           "edge at both ends, the leading edge and a point of each surface between them), not %1.")
                       .arg(np);
        }
    }
    void exportRefusals() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const Run r = batch(QStringList{"export", "--F", "0.1", "--G", "0.05", "--m", "2"} + args);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(QString::fromUtf8(r.err), message + "\n");
    }

    // --- design --------------------------------------------------------------------------------

    // The line printed is describe's line for the airfoil found, and meets the targets.
    void designPrintsDescribesLine_data() {
        QTest::addColumn<QString>("thickness");
        QTest::addColumn<QString>("camber");
        QTest::addColumn<QString>("angle");
        QTest::newRow("Joukowsky") << "0.12"
                                   << "0.03"
                                   << "0";
        QTest::newRow("Karman-Trefftz") << "0.18"
                                        << "-0.05"
                                        << "22.5";
    }
    void designPrintsDescribesLine() {
        QFETCH(QString, thickness);
        QFETCH(QString, camber);
        QFETCH(QString, angle);
        const Run r = batch({"design", "--thickness", thickness, "--camber", camber, "--te-angle", angle});
        QCOMPARE(r.exitCode, 0);
        const QStringList fields = QString::fromUtf8(r.out.trimmed()).split(',');
        QCOMPARE(fields.size(), 7);
        QCOMPARE(number(fields[6]), 2.0 - number(angle) / 180.0);
        const Run d = batch({"describe", "--F", fields[4], "--G", fields[5], "--m", fields[6]});
        QCOMPARE(d.out, r.out);

        const Run j =
            batch({"design", "--thickness", thickness, "--camber", camber, "--te-angle", angle, "--format", "json"});
        QCOMPARE(j.exitCode, 0);
        const QJsonObject o = QJsonDocument::fromJson(j.out).object();
        QCOMPARE(o["line"].toString() + "\n", QString::fromUtf8(r.out));
        QCOMPARE(o["targets"].toObject()["thickness"].toDouble(), number(thickness));
        QVERIFY(std::fabs(o["reached"].toObject()["thickness"].toDouble() - number(thickness)) <= 1e-6);
        QVERIFY(std::fabs(o["reached"].toObject()["camber"].toDouble() - number(camber)) <= 1e-6);
        QVERIFY(std::fabs(o["residuals"].toObject()["camber"].toDouble()) <= 1e-6);
        QVERIFY(std::fabs(o["residuals"].toObject()["teAngle"].toDouble()) <= 0.01);
    }

    // Every target inside the stated range designs: the corners of the range, and cambers of a
    // few 1e-10 to 1e-9, where the measured camber used to jump and the iteration to fail.
    void designReachesTheWholeRange_data() {
        QTest::addColumn<QString>("thickness");
        QTest::addColumn<QString>("camber");
        QTest::addColumn<QString>("teAngle");
        for (const char* angle : {"0", "30"}) {
            const QString least = QString(angle) == "0" ? "0.01" : "0.1417";  // tan(DEG/4) + 0.01, rounded up
            for (const QString& thickness : {least, QString("0.3")}) {
                for (const char* camber : {"-0.1", "0", "0.1"}) {
                    QTest::addRow("T %s C %s DEG %s", qPrintable(thickness), camber, angle)
                        << thickness << QString(camber) << QString(angle);
                }
            }
        }
        for (const char* camber : {"1e-10", "2e-10", "5e-10", "1e-9", "-1e-9", "1.5e-9", "3e-9"}) {
            QTest::addRow("near-zero camber %s", camber) << "0.12" << QString(camber) << "0";
            QTest::addRow("near-zero camber %s at 15 degrees", camber) << "0.2" << QString(camber) << "15";
        }
    }
    void designReachesTheWholeRange() {
        QFETCH(QString, thickness);
        QFETCH(QString, camber);
        QFETCH(QString, teAngle);
        const Run r = batch({"design", "--thickness", thickness, "--camber", camber, "--te-angle", teAngle});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        const QStringList line = QString::fromUtf8(r.out).trimmed().split(',');
        QCOMPARE(line.size(), 7);
        // The airfoil found is measured again by describe and must meet the targets (to 1e-6).
        const Run measured = batch({"describe", "--F", line[4], "--G", line[5], "--m", line[6]});
        QCOMPARE(measured.out, r.out);
    }

    void designRefusesTargetsOutOfRange() {
        const Run r = batch({"design", "--thickness", "0.4", "--camber", "0", "--te-angle", "0"});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(QString::fromUtf8(r.err),
                 QString("orvek-batch: Cannot design: the thickness 0.4 is above the largest thickness 0.3.\n"));
    }

    // --- table ---------------------------------------------------------------------------------

    // The shipped catalogue: 17 rows, each what solve gives for its airfoil.
    void tableOfTheShippedCatalogue() {
        const Run r =
            batch({"table", "--catalogue", ORVEK_SOURCE_DIR "/data/ORVEK_Input.txt", "--alpha", "3", "--np", "101"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.err.isEmpty());
        const QList<QStringList> rows = csvRows(r.out);
        QCOMPARE(rows[0], (QStringList{"row", "F", "G", "m", "Delta", "Gama", "xDltC", "Tau", "CL", "CMc4", "Alfa0",
                                       "CpMin", "xCpMin", "problem"}));
        QCOMPARE(rows.size(), 1 + 17);
        const orvek::Catalogue c = *orvek::loadCatalogueFile(ORVEK_SOURCE_DIR "/data/ORVEK_Input.txt");
        for (int k = 1; k <= 17; ++k) {
            const QStringList& row = rows[k];
            const orvek::CatalogueRow& airfoil = c.rows[static_cast<std::size_t>(k - 1)];
            QCOMPARE(row[0], QString::number(k));
            QCOMPARE(number(row[1]), airfoil.airfoil.F);
            QCOMPARE(number(row[4]), airfoil.geometry.thickness);
            QCOMPARE(number(row[7]), airfoil.geometry.teAngleDegrees);
            const Solved s = solved(row[1], row[2], row[3], "3", "101");
            QCOMPARE(number(row[8]), s.coefficients.CL);
            QCOMPARE(number(row[9]), s.coefficients.CMc4);
            QCOMPARE(number(row[10]), s.coefficients.Alfa0);
            const orvek::PressureMinimum pm =
                surfaceMinimum(number(row[1]), number(row[2]), number(row[3]), 3, 101);
            QCOMPARE(number(row[11]), pm.CpMin);
            QCOMPARE(number(row[12]), pm.xCpMin);
            QVERIFY(number(row[11]) <= s.CpMin + 1e-12);
            QCOMPARE(row[13], QString());
        }
    }

    // A malformed line is reported and the rows before it are listed; an airfoil that cannot be
    // calculated has its reason in the problem column; both make the exit status 1.
    void tableProblems() {
        QTemporaryDir dir;
        const QString file = dir.filePath("-catalogue.txt");  // a name that needs "--"
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(
            "Title\r\n0.1,0,0.25,0,0.1,0,2\r\n0.1,0,0.25,0,0.1,0.05,0\r\n0.1,0,0.25,0,0.1,0,2,9\r\n0.1,0,0.25,0,0.2,0,"
            "2\r\n");
        f.close();
        const Run r = batch({"table", "--alpha=2", "--", file});
        QCOMPARE(r.exitCode, 1);
        const QList<QStringList> rows = csvRows(r.out);
        QCOMPARE(rows.size(), 1 + 2);
        QCOMPARE(rows[1][0], QString("1"));
        QVERIFY(!rows[1][8].isEmpty());
        QCOMPARE(rows[2].mid(8),
                 (QStringList{"", "", "", "", "", "Cannot calculate this airfoil: the exponent m is 0."}));
        QCOMPARE(QString::fromUtf8(r.err),
                 "orvek-batch: " + file +
                     ", line 4: expected 7 numbers, found 8; the airfoils from this line on were not loaded.\n" +
                     "orvek-batch: " + file + ", row 2: Cannot calculate this airfoil: the exponent m is 0.\n");
    }

    // A catalogue that cannot be read is reported with the reader's own reason, as the window
    // reports ORVEK_Input.txt, naming the file as given; where the reader has one sentence for
    // every file it does not open, the command says what the path is.
    void tableGivesTheReadersReason_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");  // after "orvek-batch: PATH"
        QTest::newRow("UTF-16") << "utf16" << QString::fromUtf8(orvek::CatalogueUtf16).mid(15);
        QTest::newRow("zero bytes") << "zeros" << QString::fromUtf8(orvek::CatalogueNotText).mid(15);
        QTest::newRow("folder") << "folder"
                                << ": it is a folder, not a file.";
        QTest::newRow("pipe") << "fifo"
                              << ": it is not a plain file (a pipe or a device), which is never read.";
        QTest::newRow("missing") << "none"
                                 << ": there is no such file.";
        QTest::newRow("empty") << "empty"
                               << ": the file is empty.";
    }
    void tableGivesTheReadersReason() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath("c.txt");
        if (kind == "folder") QVERIFY(QDir(dir.path()).mkdir("c.txt"));
        if (kind == "fifo") QCOMPARE(::mkfifo(path.toLocal8Bit().constData(), 0666), 0);
        if (kind == "utf16" || kind == "zeros" || kind == "empty") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            if (kind != "empty")
                f.write(kind == "utf16" ? QByteArray("\xFF\xFET\0i\0\r\0\n\0", 10) : QByteArray(4096, '\0'));
        }
        const Run r = batch({"table", "--alpha", "2", "--catalogue", path});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.out.isEmpty());
        const QString said = QString::fromUtf8(r.err);
        if (message.startsWith(':')) QCOMPARE(said, "orvek-batch: Cannot read the catalogue " + path + message + "\n");
        else QCOMPARE(said, "orvek-batch: " + path + message + "\n");
    }

    // A point count or an angle no airfoil can be calculated with is judged once, before any row,
    // as an invalid argument.
    void tableJudgesItsOptionsOnce_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("message");
        QTest::newRow("np 0") << QStringList{"--alpha", "2", "--np", "0"}
                              << "option '--np' expects a whole number from 2 to 1000001, not '0'";
        QTest::newRow("np fractional") << QStringList{"--alpha", "2", "--np", "12.5"}
                                       << "option '--np' expects a whole number from 2 to 1000001, not '12.5'";
        QTest::newRow("angle too large") << QStringList{"--alpha", "400"}
                                         << "option '--alpha' expects an angle from -360 to 360 degrees, not '400'";
        QTest::newRow("angle beyond every number") << QStringList{"--alpha", "1e999", "--format", "json"}
                                                   << "option '--alpha' expects a finite number, not '1e999'";
    }
    void tableJudgesItsOptionsOnce() {
        QFETCH(QStringList, options);
        QFETCH(QString, message);
        const Run r = batch(QStringList{"table", "--catalogue", ORVEK_SOURCE_DIR "/data/ORVEK_Input.txt"} + options);
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(QString::fromUtf8(r.err), "orvek-batch: " + message + "\n");
    }

    // Every JSON output is valid UTF-8, whatever bytes the names it quotes hold.
    void jsonIsValidUtf8() {
        QTemporaryDir dir;
        const QByteArray name = QFile::encodeName(dir.path()) + "/c\xFF\xC3.txt";  // not UTF-8
        {
            const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            QVERIFY(fd >= 0);
            const QByteArray bytes = "Title \xFF\r\n0.1,0,0.3,0,0.1,0,2\r\n1,2\xFF\r\n";
            QCOMPARE(::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())), ssize_t(bytes.size()));
            ::close(fd);
        }
        // The name goes as raw bytes, made by the shell: QProcess would turn it into UTF-8.
        QProcess shell;
        shell.setWorkingDirectory(dir.path());
        shell.start("sh", {"-c", "exec \"$0\" table --alpha 2 --np 21 --format json -- \"$(printf 'c\\377\\303.txt')\"",
                           ORVEK_BATCH});
        QVERIFY(shell.waitForFinished(60000));
        const QByteArray out = shell.readAllStandardOutput();
        QCOMPARE(shell.exitCode(), 1);                   // the malformed third line is reported
        QCOMPARE(QString::fromUtf8(out).toUtf8(), out);  // nothing to replace: valid UTF-8
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(out, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(doc.object()["catalogue"].toString(), QString::fromUtf8("c\uFFFD\uFFFD.txt"));
    }

    // --- shell habits --------------------------------------------------------------------------

    void version() {
        for (const QStringList& args : {QStringList{"--version"}, QStringList{"sweep", "--version"}}) {
            const Run r = batch(args);
            QCOMPARE(r.exitCode, 0);
            QCOMPARE(r.out, QByteArray("orvek-batch 1.00\n"));
        }
    }

    void commandHelp_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("sweep -h") << QStringList{"sweep", "-h"} << "--step S";
        QTest::newRow("export --help after options") << QStringList{"export", "--F", "0.1", "--help"} << "lednicer";
        QTest::newRow("design --help") << QStringList{"design", "--help"} << "tan(DEG/4) + 0.01";
        QTest::newRow("table --help") << QStringList{"table", "--help"} << "--catalogue FILE";
        QTest::newRow("describe --help") << QStringList{"describe", "--help"} << "along the exact contour";
        QTest::newRow("help solve") << QStringList{"help", "solve"} << "--layout L";
    }
    void commandHelp() {
        QFETCH(QStringList, args);
        QFETCH(QString, mentions);
        const Run r = batch(args);
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.startsWith("Usage:\n  orvek-batch " + args[args[0] == "help" ? 1 : 0].toUtf8()));
        QVERIFY(r.out.contains(mentions.toUtf8()));
        QVERIFY(!r.out.contains("Commands:"));
    }

    void helpListsEveryCommand() {
        const Run r = batch({"--help"});
        for (const char* command : {"solve", "sweep", "export", "design", "table", "describe", "--help"}) {
            QVERIFY2(r.out.contains(QByteArray("  orvek-batch ") + command), command);
        }
        QVERIFY(r.out.contains("--version"));
    }

    // --name=value is --name value; "--output -" is standard output; "--" ends the options.
    void optionForms() {
        const QStringList spaced = {"sweep",  "--F", "0.1",  "--G", "0.05",   "--m", "2",
                                    "--from", "0",   "--to", "2",   "--step", "1"};
        const Run a = batch(spaced);
        const Run b =
            batch({"sweep", "--F=0.1", "--G=0.05", "--m=2", "--from=0", "--to=2", "--step=1", "--output", "-"});
        QCOMPARE(a.exitCode, 0);
        QCOMPARE(b.out, a.out);
        const Run c = batch(spaced + QStringList{"--", "--np"});
        QCOMPARE(c.exitCode, 2);
        QCOMPARE(QString::fromUtf8(c.err), QString("orvek-batch: unexpected argument '--np'\n"));

        QTemporaryDir dir;
        const Run toFile = batch(spaced + QStringList{"--output", dir.filePath("polar.csv")});
        QCOMPARE(toFile.exitCode, 0);
        QVERIFY(toFile.out.isEmpty());
        QFile f(dir.filePath("polar.csv"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), a.out);
    }

    // A write to standard output that fails is exit status 1 with one line (files: see the
    // failed saves of solve and export).
    void failedWrites_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("sweep") << QStringList{"sweep",  "--F", "0.1",  "--G", "0",      "--m", "2",
                                              "--from", "0",   "--to", "5",   "--step", "1"};
        QTest::newRow("export") << QStringList{"export", "--F", "0.1", "--G", "0", "--m", "2", "--format", "selig"};
        QTest::newRow("solve") << Joukowsky;
        QTest::newRow("help") << QStringList{"--help"};
    }
    void failedWrites() {
        QFETCH(QStringList, args);
        if (!QFileInfo::exists("/dev/full")) QSKIP("no /dev/full here");
        QProcess p;
        p.setStandardOutputFile("/dev/full");
        p.start(ORVEK_BATCH, args);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 1);
        const QByteArray err = p.readAllStandardError();
        QCOMPARE(err.count('\n'), 1);
        QVERIFY2(err.startsWith("orvek-batch: Could not write to standard output: "), err.constData());
    }

    // A chord must be a positive number of normal size: anything else is an invalid argument.
    void chordMustBePositiveAndNormal_data() {
        QTest::addColumn<QString>("chord");
        QTest::newRow("denormal") << "1e-320";
        QTest::newRow("negative") << "-1";
        QTest::newRow("negative zero") << "-0";
        QTest::newRow("beyond every number") << "1e999";
    }
    void chordMustBePositiveAndNormal() {
        QFETCH(QString, chord);
        const Run r = batch(Joukowsky + QStringList{"--chord", chord});
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(QString::fromUtf8(r.err),
                 "orvek-batch: option '--chord' expects a positive number of normal size (from "
                 "2.3e-308 to 1.7e308), not '" +
                     chord + "'\n");
        QCOMPARE(batch(Joukowsky + QStringList{"--chord", "2.3e-308"}).exitCode, 0);
    }

    // Every failure to write the result file names the file and the reason, and changes nothing.
    void outputFailuresNameTheFile_data() {
        QTest::addColumn<QString>("output");  // "DIR/" stands for a fresh temporary folder
        QTest::addColumn<QString>("message");
        QTest::newRow("empty name") << ""
                                    << "orvek-batch: Could not save: no file name was given.";
        QTest::newRow("folder name")
            << "adir/"
            << "orvek-batch: Could not save adir/: the name ends with a folder separator, so it names a "
               "folder, not a file.";
        QTest::newRow("FIFO") << "DIR/fifo.txt"
                              << "orvek-batch: Could not save DIR/fifo.txt: it is a pipe (FIFO), not a regular file";
        QTest::newRow("device") << "/dev/null"
                                << "orvek-batch: Could not save /dev/null: it is a device, not a regular file";
        QTest::newRow("read-only file") << "DIR/old.txt"
                                        << "orvek-batch: Could not save DIR/old.txt: the file is read-only";
        // The path as given, and what is missing in it.
        QTest::newRow("missing folder")
            << "DIR/nofolder/x.txt"
            << "orvek-batch: Could not save DIR/nofolder/x.txt: the folder DIR/nofolder does not exist";
        QTest::newRow("missing folder from the root")
            << "/nonexistent/x.txt"
            << "orvek-batch: Could not save /nonexistent/x.txt: the folder /nonexistent does not exist";
    }
    void outputFailuresNameTheFile() {
        QFETCH(QString, output);
        QFETCH(QString, message);
        QTemporaryDir dir;
        output.replace("DIR", dir.path());
        message.replace("DIR", dir.path());
        if (output.endsWith("fifo.txt")) QCOMPARE(::mkfifo(output.toLocal8Bit().constData(), 0666), 0);
        if (output.endsWith("old.txt")) {
            QFile f(output);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("old\r\n");
            f.close();
            QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        }
        const Run r = batch(Joukowsky + QStringList{"--layout", "1", "--output", output});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(QString::fromUtf8(r.err), message + "\n");
        if (output.endsWith("old.txt")) {
            QFile f(output);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), QByteArray("old\r\n"));
        }
    }

    // --- saving under attack --------------------------------------------------------------------

    // A target that is one of the program's own open descriptors is written through it, in place:
    // the file standard output is appended to keeps what it held.
    void ownDescriptorsAreWrittenInPlace_data() {
        QTest::addColumn<QString>("output");
        QTest::addColumn<bool>("throughStandardError");
        QTest::newRow("/dev/stdout") << "/dev/stdout" << false;
        QTest::newRow("/proc/self/fd/1") << "/proc/self/fd/1" << false;
        QTest::newRow("/dev/fd/1") << "/dev/fd/1" << false;
        QTest::newRow("the redirected file by name") << "LOG" << false;
        QTest::newRow("/dev/stderr") << "/dev/stderr" << true;
    }
    void ownDescriptorsAreWrittenInPlace() {
        QFETCH(QString, output);
        QFETCH(bool, throughStandardError);
        QTemporaryDir dir;
        const QString log = dir.filePath("log.txt");
        QFile f(log);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("a\nb\n");
        f.close();
        output.replace("LOG", log);
        const Run r = orvek::test::runBatch(
            {"design", "--thickness", "0.15", "--camber", "0.03", "--te-angle", "12", "--output", output}, QString(),
            [&](QProcess& p) {
                if (throughStandardError) p.setStandardErrorFile(log, QIODevice::Append);
                else p.setStandardOutputFile(log, QIODevice::Append);
            });
        QCOMPARE(r.exitCode, 0);
        const Run line = batch({"design", "--thickness", "0.15", "--camber", "0.03", "--te-angle", "12"});
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), "a\nb\n" + line.out);
    }

    // An output that is the catalogue itself is refused before anything is written.
    void outputThatIsTheCatalogueIsRefused_data() {
        QTest::addColumn<QString>("output");
        QTest::newRow("same name") << "c.txt";
        QTest::newRow("through a link") << "link.txt";
        QTest::newRow("another spelling") << "./sub/../c.txt";
    }
    void outputThatIsTheCatalogueIsRefused() {
        QFETCH(QString, output);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        const QByteArray catalogue = "Title\r\n0.1,0,0.3,0,0.1,0,2\r\n";
        QFile f(dir.filePath("c.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(catalogue);
        f.close();
        QVERIFY(QFile::link("c.txt", dir.filePath("link.txt")));
        const Run r =
            orvek::test::runBatch({"table", "--catalogue", "c.txt", "--alpha", "2", "--output", output}, dir.path());
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(QString::fromUtf8(r.err), "orvek-batch: the output " + output +
                                               " is the catalogue c.txt itself; choose another file (nothing was "
                                               "written)\n");
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), catalogue);
    }

    // A fatal signal during a save leaves neither the temporary file nor a partial target; the
    // signal is caught while the hidden temporary is seen in the folder.
    void signalsDuringASaveLeaveNothing_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void signalsDuringASaveLeaveNothing() {
        QFETCH(int, signal);
        QTemporaryDir dir;
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(ORVEK_BATCH, {"solve", "--F", "0.1", "--G", "0.05", "--m", "1.9", "--alpha", "3", "--np", "1000001",
                              "--layout", "4", "--output", "res.txt"});
        QVERIFY(p.waitForStarted());
        // Waits for the temporary file to appear, then signals the save.
        QElapsedTimer clock;
        clock.start();
        bool seen = false;
        while (!seen && p.state() == QProcess::Running && clock.elapsed() < 60000) {
            seen =
                !QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QRegularExpression("^\\.res")).isEmpty();
            if (!seen) QThread::usleep(200);
        }
        if (!seen) QSKIP("the save ended before its temporary file was seen");
        ::kill(static_cast<pid_t>(p.processId()), signal);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitStatus(), QProcess::CrashExit);  // ended by the signal, as the shell expects
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }

    // A long sweep writes its rows as they come: the first row arrives while later ones are still
    // being calculated, and SIGINT then ends it as an interrupted program ends, with no file left.
    void sweepStreamsAndStopsOnInterrupt_data() {
        QTest::addColumn<bool>("toFile");
        QTest::newRow("standard output") << false;
        QTest::newRow("file") << true;
    }
    void sweepStreamsAndStopsOnInterrupt() {
        QFETCH(bool, toFile);
        QTemporaryDir dir;
        QProcess p;
        p.setWorkingDirectory(dir.path());
        QStringList args{"sweep", "--F",  "0.1", "--G",    "0.05",  "--m",  "2",   "--from",
                         "-50",   "--to", "50",  "--step", "0.001", "--np", "2001"};
        if (toFile)
            args << "--output"
                 << "polar.csv";
        p.start(ORVEK_BATCH, args);
        QVERIFY(p.waitForStarted());
        if (!toFile) {
            for (int lines = 0; lines < 2;) {  // the header and the first row
                if (p.canReadLine()) {
                    p.readLine();
                    ++lines;
                } else {
                    QVERIFY(p.waitForReadyRead(60000));
                }
            }
        } else {
            QElapsedTimer clock;
            clock.start();
            while (QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty() && clock.elapsed() < 60000) {
                QThread::usleep(1000);
            }
        }
        QCOMPARE(p.state(), QProcess::Running);  // rows came before the sweep's end
        ::kill(static_cast<pid_t>(p.processId()), SIGINT);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitStatus(), QProcess::CrashExit);  // SIGINT: status 130 in the shell
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }

    // On a terminal a long sweep shows its progress on standard error after the first second;
    // run under script(1), which gives it a terminal.
    void sweepShowsProgressOnATerminal() {
        if (QStandardPaths::findExecutable("script").isEmpty()) QSKIP("script(1) is not installed");
        QProcess p;
        p.start("script", {"-qfec",
                           QString(ORVEK_BATCH) + " sweep --F 0.1 --G 0.05 --m 2 --from -50 --to 50 --step 0.001 "
                                                  "--np 20001 >/dev/null",
                           "/dev/null"});
        QByteArray seen;
        while (!seen.contains("rows/s") && p.waitForReadyRead(30000)) seen += p.readAll();
        p.kill();
        p.waitForFinished(10000);
        QVERIFY2(seen.contains("orvek-batch: ") && seen.contains(" of 100001 rows, ") && seen.contains(" left"),
                 seen.constData());
    }

    // A closed pipe ends every command the Unix way: by SIGPIPE (141 in the shell), no message.
    void closedPipeEndsQuietly_data() {
        QTest::addColumn<QString>("args");
        QTest::newRow("solve") << "solve --F 0.1 --G 0.05 --m 2 --alpha 5 --np 200001";
        QTest::newRow("solve, result file") << "solve --F 0.1 --G 0.05 --m 2 --alpha 5 --np 200001 --layout 4";
        QTest::newRow("sweep") << "sweep --F 0.1 --G 0.05 --m 2 --from -50 --to 50 --step 0.001 --np 21";
        QTest::newRow("export") << "export --F 0.1 --G 0.05 --m 2 --format csv --np 200001";
        QTest::newRow("output /dev/stdout")
            << "export --F 0.1 --G 0.05 --m 2 --format selig --np 200001 --output /dev/stdout";
    }
    void closedPipeEndsQuietly() {
        QFETCH(QString, args);
        QTemporaryDir dir;
        QProcess shell;
        shell.setWorkingDirectory(dir.path());
        // The parent's SIGPIPE setting must not matter: ignored here, restored by orvek-batch.
        shell.start("bash", {"-c",
                             "trap '' PIPE; \"$0\" " + args +
                                 " 2>err.txt | head -c 10 >/dev/null; "
                                 "echo ${PIPESTATUS[0]}; cat err.txt",
                             ORVEK_BATCH});
        QVERIFY(shell.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()), QString("141\n"));
    }

    // Under a file-size limit the write fails with a message and the normal clean-up runs.
    void fileSizeLimitEndsTheSaveCleanly() {
        QTemporaryDir dir;
        const Run r = orvek::test::runBatch({"export", "--F", "0.1", "--G", "0.05", "--m", "2", "--format", "csv",
                                             "--np", "100001", "--output", "res.txt"},
                                            dir.path(), [](QProcess& p) {
                                                p.setChildProcessModifier([] {
                                                    rlimit limit{};
                                                    ::getrlimit(RLIMIT_FSIZE, &limit);
                                                    limit.rlim_cur = rlim_t{100} * 1024;
                                                    ::setrlimit(RLIMIT_FSIZE, &limit);
                                                });
                                            });
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(QString::fromUtf8(r.err), QString("orvek-batch: Could not save res.txt: File too large\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
