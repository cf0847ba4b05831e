// orvek-batch, run as a user's script would run it.

#include "case/Catalogue.h"
#include "case/Driver.h"
#include "export/ResultFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <sys/stat.h>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

Run batch(const QStringList& args) {
    QProcess p;
    p.start(ORVEK_BATCH, args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(), p.readAllStandardError()};
}

const QStringList Joukowsky = {"solve", "--F", "0.1", "--G", "0.05", "--m", "2", "--alpha", "5", "--np", "51"};

}  // namespace

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
        QTest::newRow("m zero") << with(Joukowsky, "--m", "0") << 1 << "orvek-batch: Cannot calculate this airfoil: the exponent m is 0.";
        QTest::newRow("N1 one") << with(Joukowsky, "--np", "1") << 1
                                << "orvek-batch: Cannot calculate: the number of points NP must be at least 2, not 1.";
        QTest::newRow("N1 fractional") << with(Joukowsky, "--np", "12.5") << 1
                                       << "orvek-batch: Cannot calculate: the number of points NP must be a whole number, not 12.5.";
        QTest::newRow("chord zero") << (Joukowsky + QStringList{"--chord", "0"}) << 2
                                    << "orvek-batch: option '--chord' expects a positive number of normal size (from 2.3e-308 "
                                       "to 1.7e308), not '0'";
        QTest::newRow("angle overflow") << with(Joukowsky, "--alpha", "1e999") << 1
                                        << "orvek-batch: Cannot calculate: the angle of attack must be from -360 to 360 degrees; "
                                           "it is too large.";
        // An exponent this large overflows the power of the mapping: the surface check refuses it.
        QTest::newRow("m 200") << with(Joukowsky, "--m", "200") << 1
                               << "orvek-batch: Cannot calculate this airfoil: the surface value x at point 24 is not a finite number.";
        QTest::newRow("failed save") << (Joukowsky + QStringList{"--layout", "1", "--output", "/nonexistent/dir/r.txt"}) << 1
                                     << "orvek-batch: Could not save r.txt: No such file or directory";
        QTest::newRow("describe fault") << QStringList{"describe", "--F", "-1", "--G", "0", "--m", "2"} << 1
                                        << "orvek-batch: Cannot calculate this airfoil: F is -1.";
        QTest::newRow("no command") << QStringList{} << 2 << "orvek-batch: missing command (solve or describe); see --help";
        QTest::newRow("unknown command") << QStringList{"draw"} << 2 << "orvek-batch: unknown command 'draw' (solve or describe); see --help";
        QTest::newRow("missing option") << Joukowsky.mid(0, 9) << 2 << "orvek-batch: missing option '--np'";
        QTest::newRow("not a number") << with(Joukowsky, "--F", "0,1") << 2 << "orvek-batch: option '--F' expects a number, not '0,1'";
        QTest::newRow("unknown option") << (Joukowsky + QStringList{"--colour", "red"}) << 2
                                        << "orvek-batch: unknown option '--colour' for solve";
        QTest::newRow("value missing") << (Joukowsky + QStringList{"--chord"}) << 2 << "orvek-batch: option '--chord' needs a value";
        QTest::newRow("bad layout") << (Joukowsky + QStringList{"--layout", "7"}) << 2
                                    << "orvek-batch: option '--layout' expects 1, 2, 3, 4 or none, not '7'";
        QTest::newRow("output without layout") << (Joukowsky + QStringList{"--output", "x.txt"}) << 2
                                               << "orvek-batch: --output, --delta, --gama, --xdltc and --tau go with --layout";
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
                                   "--gama", "--xdltc", "--tau", "describe", "solve"}) {
            QVERIFY2(r.out.contains(option), option);
        }
    }

    void describeGivesTheCatalogueLine() {
        const Run r = batch({"describe", "--F", "0.1", "--G", "0.05", "--m", "2"});
        QCOMPARE(r.exitCode, 0);
        const orvek::Catalogue c = *orvek::loadCatalogueFile(ORVEK_SOURCE_DIR "/data/ORVEK_Input.txt");
        bool found = false;
        for (const auto& row : c.rows) found = found || QByteArray::fromStdString(row.text + "\n") == r.out;
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
        QCOMPARE(QString::fromUtf8(r.err), "orvek-batch: option '--chord' expects a positive number of normal size (from "
                                           "2.3e-308 to 1.7e308), not '" + chord + "'\n");
        QCOMPARE(batch(Joukowsky + QStringList{"--chord", "2.3e-308"}).exitCode, 0);
    }

    // Every failure to write the result file names the file and the reason, and changes nothing.
    void outputFailuresNameTheFile_data() {
        QTest::addColumn<QString>("output");  // "DIR/" stands for a fresh temporary folder
        QTest::addColumn<QString>("message");
        QTest::newRow("empty name") << "" << "orvek-batch: Could not save: no file name was given.";
        QTest::newRow("folder name") << "adir/"
                                     << "orvek-batch: Could not save adir/: the name ends with a folder separator, so it names a "
                                        "folder, not a file.";
        QTest::newRow("FIFO") << "DIR/fifo.txt" << "orvek-batch: Could not save fifo.txt: it is a pipe (FIFO), not a regular file";
        QTest::newRow("device") << "/dev/null" << "orvek-batch: Could not save null: it is a device, not a regular file";
        QTest::newRow("read-only file") << "DIR/old.txt" << "orvek-batch: Could not save old.txt: the file is read-only";
    }
    void outputFailuresNameTheFile() {
        QFETCH(QString, output);
        QFETCH(QString, message);
        QTemporaryDir dir;
        output.replace("DIR", dir.path());
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
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
