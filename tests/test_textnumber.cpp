// The numeric value of a typed point count or angle.

#include "case/TextNumber.h"

#include <QtTest>

#include <cmath>

class TestTextNumber : public QObject {
    Q_OBJECT
private slots:
    void values_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("plain") << "51" << 51.0;
        QTest::newRow("blanks around") << " 51 " << 51.0;
        QTest::newRow("blank inside") << "5 1" << 51.0;
        QTest::newRow("tab and line feed") << "\t5\n1\r" << 51.0;
        QTest::newRow("letters after") << "51abc" << 51.0;
        QTest::newRow("letters only") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("fraction kept") << "12.5" << 12.5;
        QTest::newRow("comma ends") << "1,5" << 1.0;
        QTest::newRow("exponent E") << "2E1" << 20.0;
        QTest::newRow("exponent D") << "2D1" << 20.0;
        QTest::newRow("lower-case d") << "2d-1" << 0.2;
        QTest::newRow("negative") << "-4" << -4.0;
        QTest::newRow("plus sign") << "+7.5" << 7.5;
        QTest::newRow("exponent without digits") << "2E" << 2.0;
        QTest::newRow("exponent sign without digits") << "2E+" << 2.0;
        QTest::newRow("lone sign") << "-" << 0.0;
        QTest::newRow("lone point") << "." << 0.0;
        QTest::newRow("point then digits") << ".5" << 0.5;
        QTest::newRow("digits then point") << "5." << 5.0;
        QTest::newRow("second point ends") << "1.2.3" << 1.2;
        QTest::newRow("no hexadecimal") << "0x1A" << 0.0;
        QTest::newRow("leading zeros are not octal") << "010" << 10.0;
        QTest::newRow("underflow is zero") << "1e-999" << 0.0;
        QTest::newRow("point even with a comma locale") << "0.25" << 0.25;
    }
    void values() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(orvek::textNumber(text.toStdString()), expected);
    }

    void outOfRangeIsInfinite_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("sign");
        QTest::newRow("1e999") << "1e999" << 1.0;
        QTest::newRow("-1e999") << "-1e999" << -1.0;
        QTest::newRow("many digits") << QString(400, '9') << 1.0;
    }
    void outOfRangeIsInfinite() {
        QFETCH(QString, text);
        QFETCH(double, sign);
        const double v = orvek::textNumber(text.toStdString());
        QVERIFY(std::isinf(v));
        QCOMPARE(v > 0 ? 1.0 : -1.0, sign);
    }
};

QTEST_GUILESS_MAIN(TestTextNumber)
#include "test_textnumber.moc"
