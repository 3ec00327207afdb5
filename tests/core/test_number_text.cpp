#include <QtTest>

#include <cmath>
#include <limits>

#include "base/colour.h"
#include "base/number_text.h"

using namespace vortak;

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void generalForm_data();
    void generalForm();
    void exactForms();
    void lenientReading_data();
    void lenientReading();
    void floatRange();
    void colourPacking();
};

void TestNumberText::generalForm_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("single");  // written as a float (7 digits) or a double (15)
    QTest::addColumn<QString>("text");
    auto row = [](const char* name, double value, bool single, const char* text) {
        QTest::newRow(name) << value << single << QString(text);
    };
    row("negative zero", -0.0, true, "0");
    row("negative", -2.5, true, "-2.5");
    row("whole keeps its zeros", 200, true, "200");
    row("float third", 1.0f / 3.0f, true, "0.3333333");
    row("1E-04 is fixed", 0.0001f, true, "0.0001");
    row("1E-05 is not", 1e-5f, true, "1E-05");
    row("7 digits fixed", 9999999, true, "9999999");
    row("8 digits float", 12345678, true, "1.234568E+07");
    row("float rounds into next decade", 9999999.5f, true, "1E+07");
    row("double third", 1.0 / 3.0, false, "0.333333333333333");
    row("15 digits fixed", 999999999999999.0, false, "999999999999999");
    row("double rounds into next decade", 999999999999999.5, false, "1E+15");
    row("three-digit exponent", -4.75e100, false, "-4.75E+100");
}

void TestNumberText::generalForm() {
    QFETCH(double, value);
    QFETCH(bool, single);
    QFETCH(QString, text);
    const std::string general = single ? vortak::general(float(value)) : vortak::general(value);
    const std::string classic = single ? vortak::classic(float(value)) : vortak::classic(value);
    QCOMPARE(QString::fromStdString(general), text);
    // The classic form has one leading blank where a minus sign would stand.
    QCOMPARE(QString::fromStdString(classic), text.startsWith('-') ? text : " " + text);
}

void TestNumberText::exactForms() {
    // The general form when it reads back exactly, more digits only when it would not.
    QCOMPARE(exact(0.1f), std::string("0.1"));
    QCOMPARE(exact(12345678.0f), std::string("12345678"));
    QCOMPARE(exact(3.4028235e38f), std::string("3.40282347E+38"));  // 8 digits would overflow
    QCOMPARE(exact(1.0 / 3.0), std::string("0.3333333333333333"));
    for (const float f : {1.0f / 3.0f, 2.0f / 7.0f, -1.1754944e-38f, 9999999.5f}) {
        QCOMPARE(float(readNumber(exact(f))), f);
    }
    for (const double d : {2.0 / 7.0, -1e-300, 0.1 + 0.2, 1.7976931348623157e308}) {
        QCOMPARE(readNumber(exact(d)), d);
    }
}

void TestNumberText::lenientReading_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("length");
    const double inf = std::numeric_limits<double>::infinity();
    auto row = [](const char* text, double value, int length) {
        QTest::newRow(text) << QString(text) << value << length;
    };
    row("1.5e-3", 0.0015, 6);
    row("", 0, 0);
    row("12abc", 12, 2);
    row("  +7", 7, 4);
    row("-.25", -0.25, 4);
    row("5.", 5, 2);
    row("1e+", 1, 1);  // an incomplete exponent is not part of the number
    row("1,5", 1, 1);
    row("--1", 0, 0);
    row(".", 0, 0);
    row("1e-999", 0, 6);  // underflow
    row("0.0001e-400", 0, 11);
    row("1.7e308", 1.7e308, 7);
    row("-1e999", -inf, 6);  // overflow: callers refuse it
    row("123456789e301", inf, 13);
}

void TestNumberText::lenientReading() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(int, length);
    const NumberPrefix prefix = leadingNumber(text.toStdString());
    QCOMPARE(prefix.value, value);
    QCOMPARE(int(prefix.length), length);
}

void TestNumberText::floatRange() {
    QVERIFY(fitsInFloat(-3.4e38));
    QVERIFY(!fitsInFloat(3.5e38));
    QVERIFY(!fitsInFloat(std::numeric_limits<double>::infinity()));
    QVERIFY(!fitsInFloat(std::numeric_limits<double>::quiet_NaN()));
}

void TestNumberText::colourPacking() {
    // Red in the low byte, as colours are stored in model files.
    const Colour c = packColour(12, 34, 56);
    QCOMPARE(c, Colour(12 + 34 * 256 + 56 * 65536));
    QCOMPARE(redOf(c) * 10000 + greenOf(c) * 100 + blueOf(c), 123456);
    QVERIFY(!isSystemColour(c));
    QVERIFY(isSystemColour(0x8000000E));
    QCOMPARE(systemColourIndex(0x8000000E), 14);
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "test_number_text.moc"
