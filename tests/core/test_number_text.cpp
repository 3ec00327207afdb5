#include <cfloat>
#include <limits>

#include "base/colour.h"
#include "base/number_text.h"
#include "test_support.h"

using namespace vortak::test;

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void forms_data() {
        // single: written as a float (7 digits) or a double (15)
        // exactText: empty: the same as the general form
        columns<double, bool, QString, QString>("value", "single", "text", "exactText");
        auto row = [](const char* tag, double v, bool single, const char* text,
                      const char* x = "") {
            QTest::newRow(tag) << v << single << QString(text) << QString(x);
        };
        row("negative zero", -0.0, true, "0");
        row("1E-04 is fixed", 0.0001f, true, "0.0001");
        row("1E-05 is not", 1e-5f, true, "1E-05");
        row("7 digits fixed", 9999999, true, "9999999");
        row("8 digits float", 12345678, true, "1.234568E+07", "12345678");
        row("float rounds into next decade", 0.01f, true, "0.01");  // stored as 0.0099999998
        row("float third", 1.0f / 3.0f, true, "0.3333333", "0.33333334");
        // Eight digits are above the largest float, yet round to it: a reader must take them.
        row("float max", FLT_MAX, true, "3.402823E+38", "3.4028235E+38");
        row("17 digits", 0.1 + 0.2, false, "0.3", "0.30000000000000004");
        row("double rounds into next decade", 999999999999999.5, false, "1E+15",
            "999999999999999.5");
        row("double max", DBL_MAX, false, "1.79769313486232E+308", "1.7976931348623157E+308");
        row("three-digit exponent", -4.75e100, false, "-4.75E+100");
    }

    void forms() {
        const auto [value, single, text, exactText] =
            fetch<double, bool, QString, QString>("value", "single", "text", "exactText");
        const float f = float(value);
        const std::string forms[] = {single ? general(f) : general(value),
                                     single ? classic(f) : classic(value),
                                     single ? exact(f) : exact(value)};
        QCOMPARE(QString::fromStdString(forms[0]), text);
        // The classic form has one leading blank where a minus sign would stand.
        QCOMPARE(QString::fromStdString(forms[1]), text.startsWith('-') ? text : " " + text);
        // The exact form reads back as the same value.
        QCOMPARE(QString::fromStdString(forms[2]), exactText.isEmpty() ? text : exactText);
        QVERIFY((single ? double(float(readNumber(forms[2]))) : readNumber(forms[2])) == value);
    }

    void lenientReading_data() {
        // Rows are named by the text they read.
        columns<double, int>("value", "length");
        QTest::newRow("1.5e-3") << 0.0015 << 6;
        QTest::newRow("") << 0.0 << 0;
        QTest::newRow("12abc") << 12.0 << 2;
        QTest::newRow("  +7") << 7.0 << 4;
        QTest::newRow("-.25") << -0.25 << 4;
        QTest::newRow("5.") << 5.0 << 2;
        QTest::newRow("1e+") << 1.0 << 1;  // an incomplete exponent is not part of the number
        QTest::newRow("--1") << 0.0 << 0;
        // An underflow stays non-zero so that storing checks refuse it.
        QTest::newRow("0.0001e-400") << std::numeric_limits<double>::denorm_min() << 11;
        QTest::newRow("-1e-400x") << -std::numeric_limits<double>::denorm_min() << 7;
        QTest::newRow("0e-400") << 0.0 << 6;
        QTest::newRow("-1e999") << -qInf() << 6;  // overflow: callers refuse it
        QTest::newRow("123456789e301") << qInf() << 13;
    }

    void lenientReading() {
        const NumberPrefix prefix = leadingNumber(QTest::currentDataTag());
        QTEST(prefix.value, "value");
        QTEST(int(prefix.length), "length");
    }

    void storable_data() {
        columns<double, bool, bool>("value", "inFloat", "inDouble");
        QTest::newRow("zero") << 0.0 << true << true;
        QTest::newRow("-zero") << -0.0 << true << true;
        QTest::newRow("largest float") << double(FLT_MAX) << true << true;
        QTest::newRow("-largest float") << -double(FLT_MAX) << true << true;
        // A typed or written text just above FLT_MAX that still rounds to it.
        QTest::newRow("3.4028235E+38") << 3.4028235e38 << true << true;
        QTest::newRow("halfway to 2^128") << 0x1.ffffffp127 << false << true;
        QTest::newRow("smallest normal float") << double(FLT_MIN) << true << true;
        QTest::newRow("1.1754944E-38 (rounds to it)") << 1.1754944e-38 << true << true;
        QTest::newRow("1.1754942E-38 (subnormal float)") << 1.1754942e-38 << false << true;
        QTest::newRow("1E-50") << 1e-50 << false << true;
        QTest::newRow("largest double") << DBL_MAX << false << true;
        QTest::newRow("smallest normal double") << DBL_MIN << false << true;
        QTest::newRow("-5E-324") << -5e-324 << false << false;
        QTest::newRow("infinity") << qInf() << false << false;
        QTest::newRow("NaN") << qQNaN() << false << false;
    }

    void storable() {
        QFETCH(double, value);
        QTEST(fitsInFloat(value), "inFloat");
        QTEST(fitsInDouble(value), "inDouble");
    }

    void colourPacking() {
        // Red in the low byte, as colours are stored in model files.
        const Colour c = packColour(12, 34, 56);
        QCOMPARE(c, Colour(12 + 34 * 256 + 56 * 65536));
        QCOMPARE(redOf(c) * 10000 + greenOf(c) * 100 + blueOf(c), 123456);
        QVERIFY(!isSystemColour(c) && isSystemColour(0x8000000E) &&
                systemColourIndex(0x8000000E) == 14);
    }
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "test_number_text.moc"
