// Reading the airfoil catalogue "ORVEK_Input.txt" from its bytes.

#include "case/Catalogue.h"
#include "case/CompareFiles.h"
#include "export/AirfoilCoordinates.h"
#include "export/TextOutput.h"
#include "solver/surface/Solver.h"

#include "support/ChildProcess.h"

#include <QtTest>

#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

using orvek::Catalogue;
using orvek::readCatalogue;

namespace {

const std::string Title = "Sample airfoils";
const std::string RowA = "0.1,0.05,0.25,0,0.1,0.05,2";
const std::string RowB = " 0.2 , 0.1 ,0.3, 18 ,1.2e-1,-5E-2,+1.9";

std::string lines(const std::vector<std::string>& ls, const std::string& end = "\r\n", bool finalEnd = true) {
    std::string out;
    for (std::size_t i = 0; i < ls.size(); ++i) {
        out += ls[i];
        if (i + 1 < ls.size() || finalEnd) out += end;
    }
    return out;
}

// A UTF-16 text (Latin letters only), little- or big-endian, with or without a byte-order mark.
QByteArray utf16(const std::string& text, bool littleEndian, bool mark) {
    QByteArray out;
    if (mark) out += littleEndian ? QByteArray("\xFF\xFE", 2) : QByteArray("\xFE\xFF", 2);
    for (char c : text) {
        const char pair[2] = {littleEndian ? c : '\0', littleEndian ? '\0' : c};
        out.append(pair, 2);
    }
    return out;
}

// Writes `count` copies of `byte` to the end of the file at `path`, in large blocks.
bool appendBytes(const QString& path, char byte, qint64 count) {
    QFile f(path);
    if (!f.open(QIODevice::Append)) return false;
    const QByteArray block(1 << 20, byte);
    for (qint64 left = count; left > 0; left -= block.size()) {
        if (f.write(block.constData(), std::min<qint64>(left, block.size())) < 0) return false;
    }
    return true;
}

QStringList texts(const Catalogue& c) {
    QStringList out;
    for (const auto& r : c.rows) out << QString::fromStdString(r.text);
    return out;
}

}  // namespace

class TestCatalogue : public QObject {
    Q_OBJECT
private slots:
    // Which rows load, and whether loading reports a lost tail.
    void rows_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("expectedTexts");
        QTest::addColumn<int>("problemLine");  // 0: no report
        QTest::addColumn<QString>("problem");

        const QString a = QString::fromStdString(RowA), b = QString::fromStdString(RowB);
        QTest::newRow("title only") << QByteArray::fromStdString(lines({Title})) << QStringList() << 0 << "";
        QTest::newRow("title without line end") << QByteArray::fromStdString(Title) << QStringList() << 0 << "";
        QTest::newRow("CR LF") << QByteArray::fromStdString(lines({Title, RowA, RowB})) << QStringList{a, b} << 0 << "";
        QTest::newRow("LF only") << QByteArray::fromStdString(lines({Title, RowA, RowB}, "\n")) << QStringList{a, b}
                                 << 0 << "";
        QTest::newRow("no final line end")
            << QByteArray::fromStdString(lines({Title, RowA, RowB}, "\r\n", false)) << QStringList{a, b} << 0 << "";
        QTest::newRow("blank lines at the end are silent")
            << QByteArray::fromStdString(lines({Title, RowA, "", "  ", ""})) << QStringList{a} << 0 << "";
        QTest::newRow("short last line") << QByteArray::fromStdString(lines({Title, RowA, "1,2,3,4,5,6"}))
                                         << QStringList{a} << 3 << "expected 7 numbers, found 6";
        QTest::newRow("malformed middle line") << QByteArray::fromStdString(lines({Title, RowA, "1,2,3", RowB}))
                                               << QStringList{a} << 3 << "expected 7 numbers, found 3";
        QTest::newRow("eight fields") << QByteArray::fromStdString(lines({Title, RowA + ",9", RowB})) << QStringList()
                                      << 2 << "expected 7 numbers, found 8";
        QTest::newRow("field not a number") << QByteArray::fromStdString(lines({Title, RowA, "1,2,x,4,5,6,7", RowB}))
                                            << QStringList{a} << 3 << "field 3 is not a number";
        QTest::newRow("decimal comma is no number") << QByteArray::fromStdString(lines({Title, "1,2,3,4,0 5,6,7"}))
                                                    << QStringList() << 2 << "field 5 is not a number";
        QTest::newRow("out of range") << QByteArray::fromStdString(lines({Title, "1,2,3,4,1e999,6,7"})) << QStringList()
                                      << 2 << "field 5 is out of range";
        QTest::newRow("blank line before rows") << QByteArray::fromStdString(lines({Title, "", RowA})) << QStringList()
                                                << 2 << "expected 7 numbers, found 0";
        QTest::newRow("title with a comma keeps rows aligned")
            << QByteArray::fromStdString(lines({"Airfoils, sample set", RowA, RowB})) << QStringList{a, b} << 0 << "";
        QTest::newRow("identical lines") << QByteArray::fromStdString(lines({Title, RowA, RowA})) << QStringList{a, a}
                                         << 0 << "";
    }
    void rows() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, expectedTexts);
        QFETCH(int, problemLine);
        QFETCH(QString, problem);
        const orvek::Expected<Catalogue> read = readCatalogue(bytes.toStdString());
        QVERIFY(read);
        const Catalogue& c = *read;
        QCOMPARE(texts(c), expectedTexts);
        QCOMPARE(c.problem.has_value(), problemLine != 0);
        if (c.problem) {
            QCOMPARE(c.problem->lineNumber, problemLine);
            // One sentence naming the file and the line, ready to be shown.
            QCOMPARE(QString::fromStdString(c.problem->text),
                     QString("ORVEK_Input.txt, line %1: %2; the airfoils from this line on were not loaded.")
                         .arg(problemLine)
                         .arg(problem));
        }
    }

    void numbersStayWithTheirLine() {
        const Catalogue c = *readCatalogue(lines({"Title, with comma", RowA, RowB}));
        QCOMPARE(c.rows.size(), std::size_t(2));
        const auto& r = c.rows[1];
        QCOMPARE(r.geometry.thickness, 0.2);
        QCOMPARE(r.geometry.camber, 0.1);
        QCOMPARE(r.geometry.thicknessPosition, 0.3);
        QCOMPARE(r.geometry.teAngleDegrees, 18.0);
        QCOMPARE(r.airfoil.F, 0.12);
        QCOMPARE(r.airfoil.G, -0.05);
        QCOMPARE(r.airfoil.m, 1.9);
        QCOMPARE(QString::fromStdString(c.title), QString("Title, with comma"));
    }

    void sixtyRowsGiveTheFirstFifty() {
        std::vector<std::string> ls{Title};
        for (int i = 1; i <= 60; ++i) ls.push_back("0,0,0,0," + std::to_string(i) + ",0,2");
        ls.push_back("this line is never read");
        const Catalogue c = *readCatalogue(lines(ls));
        QCOMPARE(c.rows.size(), std::size_t(50));
        QCOMPARE(c.rows.back().airfoil.F, 50.0);
        QVERIFY(!c.problem);  // the 50-airfoil limit is silent
    }

    void emptyFileIsMissing() {
        for (const orvek::Expected<Catalogue>& missing :
             {readCatalogue(""), orvek::loadCatalogueFile("/nonexistent/ORVEK_Input.txt")}) {
            QVERIFY(!missing);
            QCOMPARE(QString::fromStdString(missing.error()), QString::fromUtf8("ORVEK_Input.txt dosyası bulunamadı"));
        }
    }

    void displayText_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ascii") << QByteArray("0.1,0,0,0,0.1,0,2") << "0.1,0,0,0,0.1,0,2";
        QTest::newRow("valid UTF-8") << QByteArray("kanat \xc3\xa7") << QString::fromUtf8("kanat ç");
        QTest::newRow("Latin-1 byte") << QByteArray("caf\xe9") << QString::fromUtf8("café");
        QTest::newRow("Windows-1252 quotes and euro") << QByteArray("\x93x\x94 \x80") << QString::fromUtf8("“x” €");
        QTest::newRow("truncated UTF-8 sequence") << QByteArray("a\xc3") << QString::fromUtf8("aÃ");
        QTest::newRow("overlong form is not UTF-8") << QByteArray("\xc0\xaf") << QString::fromUtf8("À¯");
    }
    void displayText() {
        QFETCH(QByteArray, line);
        QFETCH(QString, shown);
        QCOMPARE(QString::fromStdString(orvek::displayText(line.toStdString())), shown);
    }

    void rowsFromAnEightBitFileShowDecoded() {
        const Catalogue c = *readCatalogue("Title\r\n0.1,0,0,0,0.1,0,2 \xe9\r\n");
        // A trailing word after the seventh number makes it no number: the line is reported.
        QVERIFY(c.rows.empty());
        QVERIFY(c.problem);
        const Catalogue d = *readCatalogue("T\xe9tre\r\n" + RowA + "\r\n");
        QCOMPARE(QString::fromStdString(d.title), QString::fromUtf8("Tétre"));
    }

    void storeFillsSlotsInFileOrder() {
        orvek::CaseState s;
        orvek::storeCatalogue(s, *readCatalogue(lines({Title, RowA, RowB})));
        QCOMPARE(s.Pi, 4.0 * std::atan(1.0));
        QCOMPARE(s.Chord, 1);
        QCOMPARE(s.AirfoilCount, 2);
        QCOMPARE(QString::fromStdString(s.AirfoilRow[0].text), QString::fromStdString(Title));
        QCOMPARE(QString::fromStdString(s.AirfoilRow[2].text), QString::fromStdString(RowB));
        QCOMPARE(s.AirfoilRow[2].airfoil.m, 1.9);
        QCOMPARE(s.AirfoilRow[0].airfoil.F, 0.0);
    }

    // The constants belong to the state from its creation: a calculation needs no catalogue load.
    void constantsWithoutACatalogue() {
        orvek::CaseState missing;
        QCOMPARE(missing.Pi, 4.0 * std::atan(1.0));
        QCOMPARE(missing.Chord, 1);
        QCOMPARE(missing.AirfoilCount, 0);
        QCOMPARE(missing.SelIndex, 0);
        QVERIFY(!missing.NP);
    }

    // Files as a user may leave them: each row gives the list and the one message the window
    // would show (a failure's message or the report of a malformed line; empty for none). Rows
    // given as bytes are read both from a file and from the bytes, with the same result.
    void hostileFiles_data() {
        QTest::addColumn<QString>("kind");      // bytes, fifo, directory, dev-zero-link, sparse, line-feeds, long-line
        QTest::addColumn<QByteArray>("bytes");  // the file's bytes, or its first part
        QTest::addColumn<QStringList>("expectedTexts");
        QTest::addColumn<QString>("message");

        const QString a = QString::fromStdString(RowA), b = QString::fromStdString(RowB);
        const QByteArray ab = QByteArray::fromStdString(lines({Title, RowA, RowB}));
        const QString missing = QString::fromUtf8(orvek::CatalogueMissing);
        const QString tooLong = " is longer than 4096 characters; the airfoils from this line on were not loaded.";
        QTest::newRow("lone CR line ends")
            << "bytes" << QByteArray::fromStdString(lines({Title, RowA, RowB}, "\r")) << QStringList{a, b} << "";
        QTest::newRow("CR CR LF line ends")
            << "bytes" << QByteArray::fromStdString(lines({Title, RowA, RowB}, "\r\r\n")) << QStringList{a, b} << "";
        QTest::newRow("two lone CRs leave a blank line")
            << "bytes" << QByteArray::fromStdString(Title + "\r" + RowA + "\r\r" + RowB) << QStringList{a}
            << "ORVEK_Input.txt, line 3: expected 7 numbers, found 0; the airfoils "
               "from this line on were not loaded.";
        QTest::newRow("mixed line ends") << "bytes"
                                         << QByteArray::fromStdString(Title + "\n" + RowA + "\r" + RowB + "\r\n")
                                         << QStringList{a, b} << "";
        QTest::newRow("UTF-8 byte-order mark") << "bytes" << ("\xEF\xBB\xBF" + ab) << QStringList{a, b} << "";
        QTest::newRow("UTF-16 little-endian with mark")
            << "bytes" << utf16(lines({Title, RowA}), true, true) << QStringList() << QString(orvek::CatalogueUtf16);
        QTest::newRow("UTF-16 big-endian without mark")
            << "bytes" << utf16(lines({Title, RowA}), false, false) << QStringList() << QString(orvek::CatalogueUtf16);
        QTest::newRow("zero bytes") << "bytes" << QByteArray(100, '\0') << QStringList()
                                    << QString(orvek::CatalogueNotText);
        QTest::newRow("empty file") << "bytes" << QByteArray() << QStringList() << missing;
        QTest::newRow("FIFO") << "fifo" << QByteArray() << QStringList() << missing;
        QTest::newRow("directory") << "directory" << QByteArray() << QStringList() << missing;
        QTest::newRow("/dev/zero through a link") << "dev-zero-link" << QByteArray() << QStringList() << missing;
        // 1 GiB that takes no disk space: the rows, then zero bytes with no line end.
        QTest::newRow("huge sparse file")
            << "sparse" << ab << QStringList{a, b} << ("ORVEK_Input.txt, line 4: the line" + tooLong);
        QTest::newRow("rows then 64 MiB of line feeds") << "line-feeds" << ab << QStringList{a, b} << "";
        QTest::newRow("huge line of commas") << "long-line" << QByteArray::fromStdString(Title + "\r\n" + RowA + "\r\n")
                                             << QStringList{a} << ("ORVEK_Input.txt, line 3: the line" + tooLong);
        const std::string padded = RowA + std::string(4096 - RowA.size(), ' ');
        QTest::newRow("line of 4096 characters") << "bytes" << QByteArray::fromStdString(lines({Title, padded, RowB}))
                                                 << QStringList{QString::fromStdString(padded), b} << "";
        QTest::newRow("line of 4097 characters")
            << "bytes" << QByteArray::fromStdString(lines({Title, RowA, padded + " ", RowB})) << QStringList{a}
            << ("ORVEK_Input.txt, line 3: the line" + tooLong);
        QTest::newRow("title too long") << "bytes" << QByteArray::fromStdString(lines({std::string(5000, 'T'), RowA}))
                                        << QStringList() << ("ORVEK_Input.txt, line 1: the line" + tooLong);
    }
    void hostileFiles() {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, expectedTexts);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath("ORVEK_Input.txt");
        const QByteArray native = path.toLocal8Bit();
        if (kind == "fifo") {
            QCOMPARE(::mkfifo(native.constData(), 0666), 0);
        } else if (kind == "directory") {
            QVERIFY(QDir(dir.path()).mkdir("ORVEK_Input.txt"));
        } else if (kind == "dev-zero-link") {
            QVERIFY(QFile::link("/dev/zero", path));
        } else {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QCOMPARE(f.write(bytes), bytes.size());
            f.close();
            if (kind == "sparse") QCOMPARE(::truncate(native.constData(), off_t(1) << 30), 0);
            if (kind == "line-feeds") QVERIFY(appendBytes(path, '\n', qint64(64) << 20));
            if (kind == "long-line") QVERIFY(appendBytes(path, ',', qint64(64) << 20));
        }
        const orvek::Expected<Catalogue> loaded = orvek::loadCatalogueFile(path.toStdString());
        const auto shown = [](const orvek::Expected<Catalogue>& c) {
            return QString::fromStdString(!c ? c.error() : c->problem ? c->problem->message() : std::string());
        };
        QCOMPARE(loaded ? texts(*loaded) : QStringList(), expectedTexts);
        QCOMPARE(shown(loaded), message);
        if (kind == "bytes") {
            const orvek::Expected<Catalogue> read = readCatalogue(bytes.toStdString());
            QCOMPARE(read ? texts(*read) : QStringList(), expectedTexts);
            QCOMPARE(shown(read), message);
        }
    }

    // A file the user may not read counts as missing. Root reads every file, so as root the check
    // runs again in a child process as the unprivileged user "nobody".
    void unreadableFileIsMissing() {
        if (geteuid() == 0) {
            const QString failure = orvek::test::failureAsNobody("unreadableFileIsMissing");
            QVERIFY2(failure.isEmpty(), qPrintable(failure));
            return;
        }
        QTemporaryDir dir;
        QFile f(dir.filePath("ORVEK_Input.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::fromStdString(lines({Title, RowA})));
        f.close();
        QVERIFY(f.setPermissions(QFile::WriteOwner));
        const orvek::Expected<Catalogue> c = orvek::loadCatalogueFile(f.fileName().toStdString());
        QVERIFY(!c);
        QCOMPARE(QString::fromStdString(c.error()), QString::fromUtf8(orvek::CatalogueMissing));
    }

    // The numbers of a CR CR LF file are those of the CR LF file: no CR is left in field 7.
    void crCrLfKeepsTheLastField() {
        const Catalogue c = *readCatalogue(lines({Title, RowB}, "\r\r\n"));
        QCOMPARE(c.rows.size(), std::size_t(1));
        QCOMPARE(c.rows[0].airfoil.m, 1.9);
        QCOMPARE(QString::fromStdString(c.rows[0].text), QString::fromStdString(RowB));
    }

    // Only the lines up to the 51st are looked at: an airfoil line after blank lines that run past
    // it is not reported, one within it is.
    void blankLinesAreJudgedWithinTheLimit() {
        std::vector<std::string> within{Title, RowA, "", RowB};
        QCOMPARE((*readCatalogue(lines(within))).problem->lineNumber, 3);
        std::vector<std::string> beyond{Title, RowA};
        for (int k = 0; k < 60; ++k) beyond.push_back("");
        beyond.push_back(RowB);
        const Catalogue c = *readCatalogue(lines(beyond));
        QCOMPARE(c.rows.size(), std::size_t(1));
        QVERIFY(!c.problem);
    }

    // The stream may be cut anywhere, also between the CR and the LF of a line end: blocks of any
    // size, and the file reader's own blocks, give the catalogue the whole bytes give.
    void blockBoundariesDoNotMatter() {
        std::mt19937 random(1208);
        const char* const ends[] = {"\n", "\r\n", "\r", "\r\r\n"};
        std::string bytes = Title + "\r\n";
        for (int i = 0; i < 50; ++i) {
            // Lines of up to 4,096 characters, so that 50 of them run over several 64 KiB blocks.
            const std::string row = (i % 2 ? RowA : RowB) + std::string(random() % 4000, ' ');
            bytes += row + ends[random() % 4];
        }
        bytes += "1,2,3\r\n";
        const orvek::Expected<Catalogue> whole = readCatalogue(bytes);
        QVERIFY(whole);
        QCOMPARE(whole->rows.size(), std::size_t(50));
        for (std::size_t blockSize :
             {std::size_t(1), std::size_t(2), std::size_t(3), std::size_t(7), std::size_t(4096)}) {
            std::size_t at = 0;
            const orvek::Expected<Catalogue> cut = orvek::readCatalogueBlocks([&](std::string_view& block) {
                const std::size_t size = std::min(at == 0 ? std::size_t(512) : blockSize, bytes.size() - at);
                block = std::string_view(bytes).substr(at, size);
                at += size;
                return true;
            });
            QVERIFY(cut);
            QCOMPARE(texts(*cut), texts(*whole));
            QCOMPARE(cut->problem.has_value(), whole->problem.has_value());
        }
        QTemporaryDir dir;
        QFile f(dir.filePath("ORVEK_Input.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        f.close();
        const orvek::Expected<Catalogue> loaded = orvek::loadCatalogueFile(f.fileName().toStdString());
        QVERIFY(loaded);
        QCOMPARE(texts(*loaded), texts(*whole));
    }

    // Every message names the catalogue it is about: the window's ORVEK_Input.txt in its own
    // words, and a catalogue of another name (orvek-batch table) by that name.
    void messagesNameTheFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("windowMessage");
        QTest::addColumn<QString>("namedMessage");
        QTest::newRow("malformed line")
            << QByteArray::fromStdString(lines({Title, RowA, "1,2"}))
            << "ORVEK_Input.txt, line 3: expected 7 numbers, found 2; the airfoils from this line on were not loaded."
            << "my set.txt, line 3: expected 7 numbers, found 2; the airfoils from this line on were not loaded.";
        QTest::newRow("empty") << QByteArray() << QString::fromUtf8(orvek::CatalogueMissing)
                               << QString::fromUtf8("my set.txt dosyası bulunamadı");
        QTest::newRow("UTF-16") << utf16(lines({Title, RowA}), true, true) << QString(orvek::CatalogueUtf16)
                                << "my set.txt is saved as UTF-16 (Unicode) text, which cannot be read; save it again "
                                   "as plain text (UTF-8 or ANSI) and restart the program.";
        QTest::newRow("zero bytes")
            << QByteArray(10, '\0') << QString(orvek::CatalogueNotText)
            << "my set.txt holds zero bytes, so it is not a text file; no airfoils were loaded.";
    }
    void messagesNameTheFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, windowMessage);
        QFETCH(QString, namedMessage);
        const auto said = [](const orvek::Expected<Catalogue>& c) {
            return QString::fromStdString(!c ? c.error() : c->problem ? c->problem->message() : std::string());
        };
        QCOMPARE(said(readCatalogue(bytes.toStdString())), windowMessage);
        QCOMPARE(said(readCatalogue(bytes.toStdString(), "my set.txt")), namedMessage);
        QTemporaryDir dir;
        QFile f(dir.filePath("my set.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        QCOMPARE(said(orvek::loadCatalogueFile(f.fileName().toStdString(), "my set.txt")), namedMessage);
    }

    // The readers of files laid over our results: each layout read to the same values, and what
    // is wrong said with the line's number.
    void compareReaders_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("rows");
        QTest::addColumn<double>("lastX");
        QTest::addColumn<double>("lastValue");  // y, Cp or CL of the last row
        QTest::addColumn<QString>("problem");   // empty: read
        QTest::newRow("Selig") << "profile" << QByteArray("NACA 0012\n1.0 0.0\n0.5 0.06\n0.0 0.0\n0.5 -0.06\n1 0\n") << 5
                               << 1.0 << 0.0 << "";
        QTest::newRow("Lednicer, to Selig order")
            << "profile" << QByteArray("name\n 3. 3.\n\n0 0\n0.5 0.06\n1 0.001\n\n0 0\n0.5 -0.05\n1 -0.001\n") << 5
            << 1.0 << -0.001 << "";
        QTest::newRow("Lednicer, counts wrong")
            << "profile" << QByteArray("name\n 3. 4.\n0 0\n0.5 0.06\n1 0\n0 0\n0.5 -0.05\n1 0\n") << 0 << 0.0 << 0.0
            << "the counts line says 3 and 4 points";
        // found by fuzzing: a first pair of huge whole numbers is no Lednicer counts line
        QTest::newRow("profile, huge first pair")
            << "profile" << QByteArray("name\n7777777777777777777777773,777\n1 0\n0 0\n") << 3 << 0.0 << 0.0 << "";
        QTest::newRow("profile, a word in the data")
            << "profile" << QByteArray("name\n1 0\n0.5 x\n") << 0 << 0.0 << 0.0 << "line 3: expected a point";
        QTest::newRow("profile, comma decimal refused")
            << "profile" << QByteArray("name\n1 0\n0,5 0,1\n0 0\n") << 0 << 0.0 << 0.0 << "line 3";
        QTest::newRow("pressure x Cp, no header") << "pressure" << QByteArray("1 0.2\n0 1\n1 0.1\n") << 3 << 1.0 << 0.1
                                                  << "";
        QTest::newRow("pressure x,y,Cp with header")
            << "pressure" << QByteArray("x,y,Cp\n1,0,0.2\n0,0,1\n1,-0.001,0.1\n") << 3 << 1.0 << 0.1 << "";
        QTest::newRow("pressure, XFOIL layout") << "pressure"
                                                << QByteArray("#    x        y        Cp  \n  1.00000  0.00126  0.21\n"
                                                              "  0.00000  0.00000  1.00\n  1.00000 -0.00126  0.19\n")
                                                << 3 << 1.0 << 0.19 << "";
        QTest::newRow("pressure, our CSV with 1-Cp")
            << "pressure"
            << QByteArray("index,x,y,OneMinusCp,surface\n 1, 1.0, 0.0, 0.25,lower\n 2, 0.0, 0.0, 0.0,upper\n")
            << 2 << 0.0 << 1.0 << "";
        QTest::newRow("pressure, ragged row")
            << "pressure" << QByteArray("x Cp\n1 0.2\n0 1 5\n") << 0 << 0.0 << 0.0 << "line 3: expected 2 numbers";
        QTest::newRow("pressure, bad surface")
            << "pressure" << QByteArray("x,Cp,surface\n1,0.2,upper\n0,1,middle\n") << 0 << 0.0 << 0.0
            << "line 3: the surface must be upper or lower";
        // found by fuzzing: a header with a surface column but neither Cp nor 1-Cp
        QTest::newRow("pressure, no Cp column named")
            << "pressure" << QByteArray("index,x,y,OneMinus,surface\n 1, 1.0, 0.0, 0.25,lower\n") << 0 << 0.0 << 0.0
            << "line 1: the header names no x column and no Cp or 1-Cp column";
        QTest::newRow("pressure, four columns")
            << "pressure" << QByteArray("1 2 3 4\n") << 0 << 0.0 << 0.0 << "line 1: expected two columns";
        QTest::newRow("polar, our sweep CSV")
            << "polar"
            << QByteArray("alpha,CL,CMc4,Alfa0,CpMin,xCpMin,surfaceCpMin\n0,0.33,-0.075,-2.6,-0.77,0.28,upper\n"
                          "1,0.45,-0.078,-2.6,-0.87,0.24,upper\n")
            << 2 << 1.0 << 0.45 << "";
        QTest::newRow("polar, XFOIL layout")
            << "polar"
            << QByteArray(" Calculated polar for: NACA 2412\n\n Mach =   0.000     Re =     1.000 e 6     Ncrit =   "
                          "9.000\n\n   alpha    CL        CD       CDp       CM     Top_Xtr  Bot_Xtr\n  ------ -------- "
                          "--------- --------- -------- -------- --------\n  -2.000  -0.0144   0.00566   0.00108  "
                          "-0.0530   0.6827   0.2180\n   2.000   0.4589   0.00620   0.00141  -0.0536   0.5046   "
                          "0.9998\n")
            << 2 << 2.0 << 0.4589 << "";
        QTest::newRow("polar, no header") << "polar" << QByteArray("0 0.3\n") << 0 << 0.0 << 0.0
                                          << "line 1: a row of numbers before the header";
        QTest::newRow("polar, short row") << "polar" << QByteArray("alpha CL CD\n0 0.3\n") << 0 << 0.0 << 0.0
                                          << "line 2: expected 3 columns";
        QTest::newRow("line too long") << "pressure" << QByteArray(5000, '1') << 0 << 0.0 << 0.0
                                       << "line 1: the line is longer than 4096";
    }
    void compareReaders() {
        QFETCH(QString, kind);
        QFETCH(QByteArray, text);
        QFETCH(int, rows);
        QFETCH(double, lastX);
        QFETCH(double, lastValue);
        QFETCH(QString, problem);
        const std::string_view bytes(text.constData(), static_cast<std::size_t>(text.size()));
        std::string error;
        std::vector<double> x, value;
        if (kind == "profile") {
            const auto r = orvek::readComparedProfile(bytes, "f.dat");
            if (r) {
                x = r->x;
                value = r->y;
            } else error = r.error();
        } else if (kind == "pressure") {
            const auto r = orvek::readComparedPressure(bytes, "f.dat");
            if (r) {
                x = r->x;
                value = r->cp;
            } else error = r.error();
        } else {
            const auto r = orvek::readComparedPolar(bytes, "f.dat");
            if (r) {
                x = r->alpha;
                value = r->CL;
            } else error = r.error();
        }
        if (!problem.isEmpty()) {
            QVERIFY2(QString::fromStdString(error).contains(problem), error.c_str());
            QVERIFY(QString::fromStdString(error).startsWith("f.dat"));
            return;
        }
        QVERIFY2(error.empty(), error.c_str());
        QCOMPARE(static_cast<int>(x.size()), rows);
        QCOMPARE(x.back(), lastX);
        QCOMPARE(value.back(), lastValue);
    }

    // A pressure or coordinate file of our own export differs from our case by nothing (up to its
    // eight decimals), on both sides, at every point.
    void compareOwnExport() {
        for (const std::size_t np : {41, 160}) {
            orvek::SolverInput in;
            in.airfoil = {0.1, 0.05, 1.9};
            in.AlfaD = 4;
            in.N1 = static_cast<double>(np);
            const orvek::Expected<orvek::SolverResult> s = orvek::ORVEK(in);
            QVERIFY(s.ok());
            for (const orvek::CoordinateFormat format :
                 {orvek::CoordinateFormat::Csv, orvek::CoordinateFormat::Selig, orvek::CoordinateFormat::Lednicer}) {
                orvek::StringOutput out;
                QVERIFY(orvek::writeAirfoilCoordinates(out, s->points, format, "ours").ok());
                const std::string text = out.text();
                std::vector<orvek::Difference> d;
                if (format == orvek::CoordinateFormat::Csv) {
                    const auto file = orvek::readComparedPressure(text, "ours.csv");
                    QVERIFY2(file.ok(), file.ok() ? "" : file.error().c_str());
                    d = orvek::pressureDifference(s->points, *file);
                } else {
                    const auto file = orvek::readComparedProfile(text, "ours.dat");
                    QVERIFY2(file.ok(), file.ok() ? "" : file.error().c_str());
                    d = orvek::profileDifference(s->points, *file);
                }
                QCOMPARE(d.size(), std::size_t{2});
                QCOMPARE(d[0].x.size() + d[1].x.size(), np);
                for (const orvek::Difference& side : d) {
                    for (const double v : side.value) QVERIFY2(std::fabs(v) <= 5e-9, qPrintable(QString::number(v)));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
