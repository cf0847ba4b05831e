// The result file: number patterns, layouts, index tables and whole files.

#include "support/ReferenceSolver.h"
#include "support/SolveCase.h"
#include "case/Catalogue.h"
#include "case/Driver.h"
#include "export/NumberFormat.h"
#include "export/ResultFile.h"

#include <QtTest>

using orvek::CaseState;
using orvek::Layout;

namespace {

QStringList fileLines(const std::string& bytes) {
    QString text = QString::fromStdString(bytes);
    Q_ASSERT(text.endsWith("\r\n"));
    text.chop(2);
    return text.split("\r\n");
}

// The file as the window writes it for a case state.
std::string fileText(const CaseState& s, Layout layout, char separator) {
    return orvek::resultFileText(orvek::resultFileCase(s), layout, separator);
}

// A case whose point i holds x = i, y = -i/1000 and 1-Cp = i/100, so rows show their indices.
CaseState indexedCase(double NP) {
    CaseState s;
    s.SelIndex = 1;
    s.AirfoilRow[1].geometry = {0.1, 0.05, 0.12, 0.25};
    s.NP = NP;
    s.AlfaD = 5;
    s.coefficients = orvek::Coefficients{0.9077762, -0.0742389, -3.756};
    const auto n = static_cast<std::size_t>(NP < 0 ? 0 : NP);
    s.points.x.resize(n + 1);
    s.points.y.resize(n + 1);
    s.points.Cu.resize(n + 1);
    for (std::size_t i = 1; i <= n; ++i) {
        s.points.x[i] = static_cast<double>(i);
        s.points.y[i] = -static_cast<double>(i) / 1000;
        s.points.Cu[i] = static_cast<double>(i) / 100;
    }
    return s;
}

// Independent rendering of a table value for the whole-file check: printf's five decimals, and
// a zero without its sign.
QString five(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.5f", v);
    QString s = buf;
    return s == "-0.00000" ? "0.00000" : s;
}

}  // namespace

class TestResultFile : public QObject {
    Q_OBJECT
private slots:
    void patterns_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("text");
        QTest::newRow("0.## two decimals") << "0.##" << 0.25 << "."
                                           << "0.25";
        QTest::newRow("0.## one decimal") << "0.##" << 0.1 << "."
                                          << "0.1";
        QTest::newRow("0.## whole") << "0.##" << 1.0 << "."
                                    << "1.";
        QTest::newRow("0.## zero") << "0.##" << 0.0 << "."
                                   << "0.";
        QTest::newRow("0.## exact half away") << "0.##" << 0.125 << "."
                                              << "0.13";
        QTest::newRow("0.## negative half away") << "0.##" << -0.375 << "."
                                                 << "-0.38";
        QTest::newRow("0.## comma") << "0.##" << 1.0 << ","
                                    << "1,";
        QTest::newRow("0.##### rounds") << "0.#####" << 0.123456 << "."
                                        << "0.12346";
        QTest::newRow("0.##### short") << "0.#####" << 0.05 << "."
                                       << "0.05";
        QTest::newRow("#0.####0 rounds") << "#0.####0" << 0.123456 << "."
                                         << "0.12346";
        QTest::newRow("#0.####0 negative") << "#0.####0" << -0.0123449 << "."
                                           << "-0.01234";
        QTest::newRow("#0.####0 zero fifth") << "#0.####0" << 0.5 << "."
                                             << "0.50000";
        QTest::newRow("#0.####0 whole") << "#0.####0" << 1.0 << "."
                                        << "1.00000";
        QTest::newRow("#0.####0 exact half away") << "#0.####0" << 1.0 / 64 << "."
                                                  << "0.01563";
        QTest::newRow("#0.####0 negative half away") << "#0.####0" << -3.0 / 64 << "."
                                                     << "-0.04688";
        QTest::newRow("#0.####0 tiny negative") << "#0.####0" << -2.7e-17 << "."
                                                << "0.00000";
        QTest::newRow("#0.####0 large") << "#0.####0" << 123456.654321 << "."
                                        << "123456.65432";
        QTest::newRow("#0.####0 huge") << "#0.####0" << 1e17 << "."
                                       << "100000000000000000.00000";
        QTest::newRow("#0.####0 comma") << "#0.####0" << -0.0123449 << ","
                                        << "-0,01234";
        QTest::newRow("number item") << "item" << 51.0 << "."
                                     << " 51 ";
        QTest::newRow("number item negative") << "item" << -3.76 << "."
                                              << "-3.76 ";
        QTest::newRow("number item leading zero") << "item" << 0.5234 << "."
                                                  << " 0.5234 ";
        QTest::newRow("number item zero") << "item" << 0.0 << "."
                                          << " 0 ";
        QTest::newRow("number item fifteen digits") << "item" << 1.0 / 3 << "."
                                                    << " 0.333333333333333 ";
        QTest::newRow("number item no exponent") << "item" << 1e20 << "."
                                                 << " 100000000000000000000 ";
        QTest::newRow("number item small") << "item" << 0.00012 << "."
                                           << " 0.00012 ";
        QTest::newRow("number item comma") << "item" << -0.0742 << ","
                                           << "-0,0742 ";
    }
    void patterns() {
        QFETCH(QString, pattern);
        QFETCH(double, value);
        QFETCH(QString, separator);
        QFETCH(QString, text);
        const char sep = separator.toLatin1()[0];
        std::string got;
        if (pattern == "0.##") got = orvek::optionalDecimals(value, 2, sep);
        else if (pattern == "0.#####") got = orvek::optionalDecimals(value, 5, sep);
        else if (pattern == "item") got = orvek::numberItem(value, sep);
        else orvek::appendFiveDecimals(got, value, sep);
        QCOMPARE(QString::fromStdString(got), text);
    }

    // The coefficient lines round an exact half to the even neighbour.
    void halfToEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("rounded");
        QTest::newRow("2.5") << 2.5 << 0 << 2.0;
        QTest::newRow("3.5") << 3.5 << 0 << 4.0;
        QTest::newRow("-2.5") << -2.5 << 0 << -2.0;
        QTest::newRow("-2.125") << -2.125 << 2 << -2.12;
        QTest::newRow("0.03125 to 4") << 0.03125 << 4 << 0.0312;
        QTest::newRow("-3.756") << -3.756 << 2 << -3.76;
    }
    void halfToEven() {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(double, rounded);
        QCOMPARE(orvek::roundHalfEven(value, decimals), rounded);
    }

    void headerAndCoefficientLines() {
        const QStringList l = fileLines(fileText(indexedCase(51), Layout::SplitCp, '.'));
        QCOMPARE(l.size(), 2 + 4 + 26);
        QCOMPARE(l[0], QString(" Delta=0.1  Gama=0.05  xDltC=0.12  Tau=0.25  Karman-Trefftz airfoil"));
        QCOMPARE(l[1], QString(" 51 "));
        QCOMPARE(l[2], QString("  AlfaD =  5 "));
        QCOMPARE(l[3], QString("  CL    =  0.9078 "));
        QCOMPARE(l[4], QString("  CMc/4 = -0.0742 "));
        QCOMPARE(l[5], QString("  Alfa0 = -3.76 "));
        QCOMPARE(l[6].split("  ", Qt::SkipEmptyParts).size(), 7);
    }

    // The angle line states the angle calculated: a whole angle as always, any other with the
    // fewest digits that read back as it, never rounded to another angle.
    void angleLine_data() {
        QTest::addColumn<double>("AlfaD");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("line");
        QTest::newRow("whole") << 5.0 << "." << "  AlfaD =  5 ";
        QTest::newRow("whole negative") << -12.0 << "." << "  AlfaD = -12 ";
        QTest::newRow("negative zero") << -0.0 << "." << "  AlfaD =  0 ";
        QTest::newRow("3.5") << 3.5 << "." << "  AlfaD =  3.5 ";
        QTest::newRow("2.5") << 2.5 << "." << "  AlfaD =  2.5 ";
        QTest::newRow("-0.5") << -0.5 << "." << "  AlfaD = -0.5 ";
        QTest::newRow("12.75 comma") << 12.75 << "," << "  AlfaD =  12,75 ";
        QTest::newRow("sixteen digits") << 0.1 + 0.2 << "." << "  AlfaD =  0.30000000000000004 ";
        QTest::newRow("small") << 1e-7 << "." << "  AlfaD =  0.0000001 ";
    }
    void angleLine() {
        QFETCH(double, AlfaD);
        QFETCH(QString, separator);
        QFETCH(QString, line);
        CaseState s = indexedCase(3);
        s.AlfaD = AlfaD;
        const QStringList l = fileLines(fileText(s, Layout::XYCp, separator.toLatin1()[0]));
        QCOMPARE(l[2], line);
        // The angle reads back exactly.
        QString digits = l[2].mid(10).trimmed().replace(',', '.');
        QCOMPARE(digits.toDouble(), AlfaD);
    }

    void layoutOneRow() {
        CaseState s = indexedCase(7);
        s.points.x[7] = 0.123456;
        s.points.y[7] = -0.0123449;
        const QStringList l = fileLines(fileText(s, Layout::XY, '.'));
        QCOMPARE(l.size(), 2 + 7);
        QCOMPARE(l.last(), QString("  7  0.12346  -0.01234"));
    }

    void wholeDeltaAndDecimalComma() {
        CaseState s = indexedCase(2);
        s.AirfoilRow[1].geometry.thickness = 1;
        QVERIFY(QString::fromStdString(fileText(s, Layout::None, '.')).startsWith(" Delta=1.  Gama=0.05"));
        const QStringList l = fileLines(fileText(s, Layout::XYCp, ','));
        QVERIFY(l[0].startsWith(" Delta=1,  Gama=0,05  xDltC=0,12"));
        QCOMPARE(l[3], QString("  CL    =  0,9078 "));
        QCOMPARE(l[6], QString("  1  1,00000  -0,00100  0,01000"));
    }

    void splitIndices_data() {
        QTest::addColumn<double>("NP");
        QTest::addColumn<QList<int>>("upper");
        QTest::addColumn<QList<int>>("lower");
        QList<int> u51, l51;
        for (int i = 1; i <= 26; ++i) {
            u51 << 25 + i;
            l51 << 27 - i;
        }
        // M = 25.5: U = 24.5 + i and L = 26.5 - i, each a half rounded to its even neighbour.
        QList<int> u50, l50;
        for (int i = 1; i <= 25; ++i) {
            const int up = 24 + i, down = 26 - i;  // the whole numbers just below U and L
            u50 << (up % 2 == 0 ? up : up + 1);
            l50 << (down % 2 == 0 ? down : down + 1);
        }
        QTest::newRow("51") << 51.0 << u51 << l51;
        QTest::newRow("7") << 7.0 << QList<int>{4, 5, 6, 7} << QList<int>{4, 3, 2, 1};
        QTest::newRow("50") << 50.0 << u50 << l50;
        QTest::newRow("8") << 8.0 << QList<int>{4, 6, 6, 8} << QList<int>{4, 4, 2, 2};
    }
    void splitIndices() {
        QFETCH(double, NP);
        QFETCH(QList<int>, upper);
        QFETCH(QList<int>, lower);
        const QStringList l = fileLines(fileText(indexedCase(NP), Layout::Split, '.'));
        QList<int> gotUpper, gotLower;
        for (int k = 2; k < l.size(); ++k) {
            const QStringList f = l[k].split("  ", Qt::SkipEmptyParts);
            QCOMPARE(f.size(), 5);
            QCOMPARE(f[0].toInt(), k - 1);
            gotUpper << qRound(f[1].toDouble());
            gotLower << qRound(f[3].toDouble());
        }
        QCOMPARE(gotUpper, upper);
        QCOMPARE(gotLower, lower);
    }

    void rowsAndLines_data() {
        QTest::addColumn<int>("layout");
        QTest::addColumn<double>("NP");
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<int>("valuesPerRow");
        QTest::newRow("layout 1") << 1 << 51.0 << 2 + 51 << 3;
        QTest::newRow("layout 2") << 2 << 51.0 << 2 + 4 + 51 << 4;
        QTest::newRow("layout 3") << 3 << 51.0 << 2 + 26 << 5;
        QTest::newRow("layout 4") << 4 << 51.0 << 2 + 4 + 26 << 7;
        QTest::newRow("no option") << 0 << 51.0 << 2 << 0;
        QTest::newRow("NP below 1, layout 2") << 2 << 0.0 << 2 + 4 << 0;
        QTest::newRow("NP below 1, layout 3") << 3 << -5.0 << 2 << 0;
    }
    void rowsAndLines() {
        QFETCH(int, layout);
        QFETCH(double, NP);
        QFETCH(int, lineCount);
        QFETCH(int, valuesPerRow);
        const std::string bytes = fileText(indexedCase(NP), static_cast<Layout>(layout), '.');
        QVERIFY(bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0);
        QCOMPARE(QByteArray::fromStdString(bytes).count("\r\n"), lineCount);
        QCOMPARE(QByteArray::fromStdString(bytes).count('\n'), lineCount);  // no bare line feeds
        const QStringList l = fileLines(bytes);
        const int first = layout == 2 || layout == 4 ? 6 : 2;
        for (int k = first; k < l.size(); ++k) QCOMPARE(l[k].split("  ", Qt::SkipEmptyParts).size(), valuesPerRow);
    }

    void unsetCase() {
        CaseState s;  // before any selection and calculation
        const QStringList l = fileLines(fileText(s, Layout::SplitCp, '.'));
        QCOMPARE(l, (QStringList{" Delta=0.  Gama=0.  xDltC=0.  Tau=0.  Karman-Trefftz airfoil", "", "  AlfaD =  0 ",
                                 "  CL    =  0 ", "  CMc/4 =  0 ", "  Alfa0 =  0 "}));
    }

    // One whole file per layout for F 0.1, G 0.05, m 2, AlfaD 5, NP 51, against an expectation
    // built from the plain transcription of the solver and printf, not from the writer.
    void wholeFiles_data() {
        QTest::addColumn<int>("layout");
        for (int k = 1; k <= 4; ++k) QTest::newRow(qPrintable(QString("layout %1").arg(k))) << k;
    }
    void wholeFiles() {
        QFETCH(int, layout);
        CaseState s;
        orvek::storeCatalogue(s, *orvek::readCatalogue("Title\r\n0.118,0.0227,0.2523,0,0.1,0.05,2\r\n"));
        s.SelIndex = 1;
        QVERIFY(orvek::Calculate(s, "51", "5"));

        const orvek::SolverResult r = referenceSolve(caseInput(0.1, 0.05, 2, 5, 51));
        const auto& x = r.points.x;
        const auto& y = r.points.y;
        const auto& c = r.points.Cu;
        QString expected = " Delta=0.12  Gama=0.02  xDltC=0.2523  Tau=0.  Karman-Trefftz airfoil\r\n 51 \r\n";
        if (layout == 2 || layout == 4)
            expected += "  AlfaD =  5 \r\n  CL    =  0.9078 \r\n  CMc/4 = -0.0742 \r\n  Alfa0 = -2.6 \r\n";
        if (layout <= 2) {
            for (int i = 1; i <= 51; ++i) {
                expected += QString("  %1  %2  %3").arg(i).arg(five(x[i]), five(y[i]));
                if (layout == 2) expected += "  " + five(c[i]);
                expected += "\r\n";
            }
        } else {
            for (int i = 1; i <= 26; ++i) {
                const int U = 25 + i, L = 27 - i;
                expected += QString("  %1  %2  %3").arg(i).arg(five(x[U]), five(y[U]));
                if (layout == 4) expected += "  " + five(c[U]);
                expected += QString("  %1  %2").arg(five(x[L]), five(y[L]));
                if (layout == 4) expected += "  " + five(c[L]);
                expected += "\r\n";
            }
        }
        QCOMPARE(QString::fromStdString(fileText(s, static_cast<Layout>(layout), '.')), expected);
    }
};

QTEST_GUILESS_MAIN(TestResultFile)
#include "test_resultfile.moc"
