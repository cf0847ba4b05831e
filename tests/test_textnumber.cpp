// The numeric value of a typed point count or angle, and the strict reader of catalogue fields
// and command-line numbers.

#include "case/DecimalText.h"
#include "case/TextNumber.h"
#include "solver/NumberText.h"

#include <QtTest>

#include <charconv>
#include <clocale>
#include <cstdint>
#include <cstring>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <utility>

namespace {

double fromBits(std::uint64_t bits) {
    double v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

std::uint64_t bitsOf(double v) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof v);
    return bits;
}

// Every conversion the core writes with, by the library and by the portable way, side by side; the
// first difference named with its value.
QString writingDifference(double value) {
    // With a precision: fixed and scientific decimals, general significant digits.
    const std::pair<std::chars_format, int> formats[] = {
        {std::chars_format::fixed, 0},      {std::chars_format::fixed, 4},       {std::chars_format::fixed, 5},
        {std::chars_format::fixed, 8},      {std::chars_format::fixed, 17},      {std::chars_format::fixed, 40},
        {std::chars_format::scientific, 0}, {std::chars_format::scientific, 14}, {std::chars_format::scientific, 20},
        {std::chars_format::general, 1},    {std::chars_format::general, 6},     {std::chars_format::general, 17},
    };
    char library[800], portable[800];
    const auto differs = [&](const char* what, std::to_chars_result a, std::to_chars_result b) {
        const std::string x(library, a.ptr), y(portable, b.ptr);
        if (a.ec == b.ec && x == y) return QString();
        return QString("%1 (bits %2), %3: library \"%4\", portable \"%5\"")
            .arg(value, 0, 'g', 17)
            .arg(QString::number(qulonglong(bitsOf(value)), 16))
            .arg(what)
            .arg(QString::fromStdString(x), QString::fromStdString(y));
    };
    QString d = differs("shortest", std::to_chars(library, library + sizeof library, value),
                        orvek::portable::doubleToChars(portable, portable + sizeof portable, value));
    if (d.isEmpty()) {
        d = differs("shortest scientific",
                    std::to_chars(library, library + sizeof library, value, std::chars_format::scientific),
                    orvek::portable::shortestScientificToChars(portable, portable + sizeof portable, value));
    }
    for (const auto& [format, precision] : formats) {
        if (!d.isEmpty()) break;
        d = differs(
            ("precision " + std::to_string(precision) + " of format " + std::to_string(static_cast<int>(format)))
                .c_str(),
            std::to_chars(library, library + sizeof library, value, format, precision),
            orvek::portable::doubleToChars(portable, portable + sizeof portable, value, format, precision));
    }
    return d;
}

// The library's and the portable reading of a text: same end, same error, same value (bit for bit,
// or both no number; a value out of range leaves the variable as it was).
QString readingDifference(const std::string& text) {
    double library = 42.0, portable = 42.0;
    const char* first = text.data();
    const char* last = first + text.size();
    const std::from_chars_result a = std::from_chars(first, last, library, std::chars_format::general);
    const std::from_chars_result b = orvek::portable::charsToDouble(first, last, portable);
    const bool same = std::isnan(library) ? std::isnan(portable) && std::signbit(library) == std::signbit(portable)
                                          : std::memcmp(&library, &portable, sizeof library) == 0;
    if (a.ptr != b.ptr || a.ec != b.ec || !same) {
        return QString("\"%1\": library %2 (end %3, error %4), portable %5 (end %6, error %7)")
            .arg(QString::fromStdString(text))
            .arg(library, 0, 'g', 17)
            .arg(a.ptr - first)
            .arg(static_cast<int>(a.ec))
            .arg(portable, 0, 'g', 17)
            .arg(b.ptr - first)
            .arg(static_cast<int>(b.ec));
    }
    return {};
}

}  // namespace

class TestTextNumber : public QObject {
    Q_OBJECT
private slots:
    void values_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("plain") << "51" << 51.0;
        QTest::newRow("blanks around") << " 51 " << 51.0;
        QTest::newRow("blank inside") << "5 1" << 51.0;
        QTest::newRow("tab and line feed") << "\t5\n1" << 51.0;
        QTest::newRow("carriage return ends the number") << "5\r1" << 5.0;
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
        // The windows' reading gives the same value for every text this rule reads whole.
        const std::string packed = orvek::packedNumberText(text.toStdString());
        if (!packed.empty() && orvek::readDecimalPrefix(packed, "EeDd").length == packed.size()) {
            QCOMPARE(orvek::typedNumber(text.toStdString()), std::optional<double>(expected));
        }
    }

    // A number typed into a window's box: a point or a comma, and nothing else left over.
    void typed_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<double>("expected");
        QTest::newRow("comma") << "5,5" << true << 5.5;
        QTest::newRow("point") << "5.5" << true << 5.5;
        QTest::newRow("comma first") << ",5" << true << 0.5;
        QTest::newRow("comma last") << "3," << true << 3.0;
        QTest::newRow("comma, blanks, exponent D") << " -1, 5 D1 " << true << -15.0;
        QTest::newRow("comma and exponent E") << "2,5e-1" << true << 0.25;
        QTest::newRow("letters after") << "5abc" << false << 0.0;
        QTest::newRow("letters only") << "abc" << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("blanks only") << " \t " << false << 0.0;
        QTest::newRow("two commas") << "1,2,3" << false << 0.0;
        QTest::newRow("point and comma") << "1.5,5" << false << 0.0;
        QTest::newRow("grouping") << "1,000.5" << false << 0.0;
        QTest::newRow("hexadecimal") << "0x10" << false << 0.0;
        QTest::newRow("lone sign") << "-" << false << 0.0;
        QTest::newRow("lone comma") << "," << false << 0.0;
        QTest::newRow("carriage return inside") << "5\r1" << false << 0.0;
    }
    void typed() {
        QFETCH(QString, text);
        QFETCH(bool, isNumber);
        QFETCH(double, expected);
        const std::optional<double> v = orvek::typedNumber(text.toStdString());
        QCOMPARE(v.has_value(), isNumber);
        if (isNumber) QCOMPARE(*v, expected);
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

    // Numbers with very many digits or a very long exponent: exact, or saturated by the true size
    // of the number (digits and exponent together), in both readers.
    void longNumbers_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("expected");
        const QByteArray zeros(200000, '0');
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("1, 200,000 zeros, e-100000000: tiny") << ("1" + zeros + "e-100000000") << 0.0;
        QTest::newRow("0., 200,000 zeros, 1e100000000: huge") << ("0." + zeros + "1e100000000") << inf;
        QTest::newRow("-0., 200,000 zeros, 1e100000000") << ("-0." + zeros + "1e100000000") << -inf;
        QTest::newRow("0., 200,000 zeros, 1e200001") << ("0." + zeros + "1e200001") << 1.0;
        QTest::newRow("1, 200,000 zeros, e-200000") << ("1" + zeros + "e-200000") << 1.0;
        QTest::newRow("25, 200,000 zeros, e-200001") << ("25" + zeros + "e-200001") << 2.5;
        QTest::newRow("exponent of 30 digits") << QByteArray("1e-" + QByteArray(30, '9')) << 0.0;
        QTest::newRow("exponent of 30 digits, positive") << QByteArray("1e" + QByteArray(30, '9')) << inf;
        QTest::newRow("zero with a huge exponent") << ("0." + zeros + "e999999999999") << 0.0;
        QTest::newRow("largest double") << QByteArray("1.7976931348623157e308") << 1.7976931348623157e308;
        QTest::newRow("just beyond the largest") << QByteArray("1.7976931348623159e308") << inf;
        QTest::newRow("smallest denormal") << QByteArray("4.9406564584124654e-324") << 4.9406564584124654e-324;
        // Exactly half the smallest denormal rounds to even (0); a 1 after 1,000 further digits
        // (beyond the digits kept) tips it up.
        const QByteArray half =
            "2."
            "4703282292062327208828439643411068618252990130716238221279284125033775363510437593264991818081799618989828"
            "234772"
            "2858865463328355177969898199387398005390939063150356595155702263922908583924491051844359318028499365361525"
            "00319370"
            "4576782492193656236698636584807570015857692699037063119282795585513329278343384093519780155312465972635795"
            "74622766"
            "4652728272200563740064854999770965994704540208281662262378573934507363390079677619305775067401763246736009"
            "68951340"
            "5355374585166611342237666786041621596804619144672918403005300575308490487653917113865916462395249126236538"
            "81879636"
            "2393732804238910186723484976682350898633885879256283027559956575244555072551893136908362547791869486679949"
            "68324049"
            "705821028513185451396213837722826145437693412532098591327667236328125";
        // A non-zero digit far beyond the digits kept, after a run of zeros: it counts, in its place.
        QTest::newRow("1, 1,000 zeros, 1, e-1001") << ("1" + QByteArray(1000, '0') + "1e-1001") << 1.0;
        QTest::newRow("3, 900 zeros, 7") << ("3" + QByteArray(900, '0') + "7e-901") << 3.0;
        QTest::newRow("half the smallest denormal") << (half + "e-324") << 0.0;
        QTest::newRow("just above half") << (half + QByteArray(1000, '0') + "1e-324") << 4.9406564584124654e-324;
    }
    void longNumbers() {
        QFETCH(QByteArray, text);
        QFETCH(double, expected);
        const std::string s = text.toStdString();
        const std::optional<double> strict = orvek::parseWholeDecimal(s);
        QVERIFY(strict);
        QCOMPARE(*strict, expected);
        QCOMPARE(orvek::textNumber(s), expected);
        QCOMPARE(std::signbit(*strict), std::signbit(expected));
    }

    // Random numbers of up to 1,000 digits and exponents near the ends of the range read exactly
    // as the C library reads them.
    void agreesWithTheCLibrary() {
        std::setlocale(LC_NUMERIC, "C");
        std::mt19937_64 random(20261208);
        for (int k = 0; k < 3000; ++k) {
            std::string text;
            const int integerDigits = static_cast<int>(random() % 400),
                      fractionDigits = static_cast<int>(random() % 600);
            for (int d = 0; d < integerDigits; ++d) text += static_cast<char>('0' + random() % 10);
            text += '.';
            for (int d = 0; d < fractionDigits; ++d) text += static_cast<char>('0' + random() % 10);
            if (integerDigits + fractionDigits == 0) text += '7';
            text += "e" + std::to_string(static_cast<int>(random() % 1400) - 700 - integerDigits);
            const std::optional<double> read = orvek::parseWholeDecimal(text);
            QVERIFY(read);
            const double expected = std::strtod(text.c_str(), nullptr);
            if (*read != expected) QFAIL(("differs from strtod: " + text).c_str());
        }
    }

    // The portable writing (the one the WebAssembly build's library needs) gives the library's text
    // for every format the core writes, where shortest digits, rounding and notation are hardest.
    void portableWritingAgreesWithTheLibrary_data() {
        QTest::addColumn<double>("value");
        const double tiny = std::numeric_limits<double>::denorm_min();
        QTest::newRow("zero") << 0.0;
        QTest::newRow("negative zero") << -0.0;
        QTest::newRow("a tenth") << 0.1;
        QTest::newRow("a third") << 1.0 / 3.0;
        QTest::newRow("negative half") << -2.5;
        QTest::newRow("exact half at four decimals") << 0.00005;
        QTest::newRow("exact tie 0.125 at two decimals") << 0.125;
        QTest::newRow("smallest subnormal") << tiny;
        QTest::newRow("three smallest subnormals") << 3 * tiny;
        QTest::newRow("largest subnormal") << std::numeric_limits<double>::min() - tiny;
        QTest::newRow("smallest normal") << std::numeric_limits<double>::min();
        QTest::newRow("largest double") << std::numeric_limits<double>::max();
        QTest::newRow("2^53 + 2") << 9007199254740994.0;
        QTest::newRow("1e21 fixed or not") << 1e21;
        QTest::newRow("1e22") << 1e22;
        QTest::newRow("1e23, not exact") << 1e23;
        QTest::newRow("123456 shorter fixed") << 123456.0;
        QTest::newRow("1e-5 shorter scientific") << 1e-5;
        QTest::newRow("0.001 a tie of lengths") << 0.001;
        QTest::newRow("2^-44, shortest above the nearest") << std::ldexp(1.0, -44);
        QTest::newRow("5e-324 as 4.9e-324") << 5e-324;
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
        QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity();
        QTest::newRow("no number") << std::numeric_limits<double>::quiet_NaN();
    }
    void portableWritingAgreesWithTheLibrary() {
        QFETCH(double, value);
        const QString difference = writingDifference(value);
        if (!difference.isEmpty()) QFAIL(qPrintable(difference));
    }

    // Every power of two and its two neighbours, and random bit patterns of every exponent.
    void portableWritingAgreesOnPowersOfTwoAndRandomValues() {
        std::setlocale(LC_NUMERIC, "C");
        std::vector<double> values;
        for (int e = -1074; e <= 1023; ++e) {
            const double p = std::ldexp(1.0, e);
            values.insert(values.end(), {p, std::nextafter(p, 0.0), std::nextafter(p, HUGE_VAL)});
        }
        std::mt19937_64 random(20261209);
        for (int k = 0; k < 5000; ++k) {
            const double v = fromBits(random());
            if (std::isfinite(v)) values.push_back(v);
        }
        for (double v : values) {
            const QString difference = writingDifference(v);
            if (!difference.isEmpty()) QFAIL(qPrintable(difference));
        }
    }

    void portableReadingAgreesWithTheLibrary_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << "0";
        QTest::newRow("negative zero") << "-0";
        QTest::newRow("a tenth") << "0.1";
        QTest::newRow("point first") << ".5";
        QTest::newRow("point last") << "5.";
        QTest::newRow("exponent") << "-.5e-3";
        QTest::newRow("capital exponent with plus") << "25E+2";
        QTest::newRow("exponent without digits ends") << "1.5e";
        QTest::newRow("exponent sign without digits ends") << "1.5e+";
        QTest::newRow("letters after") << "12abc";
        QTest::newRow("second point ends") << "1.2.3";
        QTest::newRow("hexadecimal reads the zero") << "0x10";
        QTest::newRow("plus sign refused") << "+1";
        QTest::newRow("blank refused") << " 1";
        QTest::newRow("empty refused") << "";
        QTest::newRow("lone minus refused") << "-";
        QTest::newRow("lone point refused") << ".";
        QTest::newRow("exponent alone refused") << "e5";
        QTest::newRow("beyond the largest") << "1e400";
        QTest::newRow("just beyond the largest") << "1.7976931348623159e308";
        QTest::newRow("largest") << "1.7976931348623157e308";
        QTest::newRow("below the smallest") << "1e-400";
        QTest::newRow("half the smallest subnormal") << "2.4703282292062327e-324";
        QTest::newRow("just above half the smallest subnormal") << "2.4703282292062328e-324";
        QTest::newRow("subnormal") << "1e-320";
        QTest::newRow("smallest subnormal") << "4.9406564584124654e-324";
        QTest::newRow("long digits") << "0.1000000000000000055511151231257827021181583404541015625000001";
        QTest::newRow("infinity word") << "inf";
        QTest::newRow("infinity long word, any case") << "-InFiNiTy";
        QTest::newRow("infinity word cut") << "infin";
        QTest::newRow("no number") << "nan";
        QTest::newRow("no number with payload") << "-nan(123abc)";
        QTest::newRow("no number with open bracket") << "nan(12";
    }
    void portableReadingAgreesWithTheLibrary() {
        QFETCH(QString, text);
        const QString difference = readingDifference(text.toStdString());
        if (!difference.isEmpty()) QFAIL(qPrintable(difference));
    }

    // Random doubles written with every count of significant digits read back alike.
    void portableReadingAgreesOnRandomTexts() {
        std::setlocale(LC_NUMERIC, "C");
        std::mt19937_64 random(20261210);
        char buf[64];
        for (int k = 0; k < 5000; ++k) {
            const double v = fromBits(random());
            if (!std::isfinite(v)) continue;
            std::snprintf(buf, sizeof buf, "%.*e", static_cast<int>(random() % 20), v);
            const QString difference = readingDifference(buf);
            if (!difference.isEmpty()) QFAIL(qPrintable(difference));
        }
    }

    void strictReaderRefuses_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("blank around") << " 1";
        QTest::newRow("letters after") << "1a";
        QTest::newRow("D exponent") << "2D1";
        QTest::newRow("exponent without digits") << "2e";
        QTest::newRow("comma") << "0,5";
        QTest::newRow("two points") << "1.2.3";
        QTest::newRow("hexadecimal") << "0x10";
        QTest::newRow("infinity word") << "inf";
    }
    void strictReaderRefuses() {
        QFETCH(QString, text);
        QVERIFY(!orvek::parseWholeDecimal(text.toStdString()));
    }
};

QTEST_GUILESS_MAIN(TestTextNumber)
#include "test_textnumber.moc"
