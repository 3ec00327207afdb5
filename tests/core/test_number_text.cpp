#include <QtTest>

#include <cmath>
#include <limits>

#include "base/colour.h"
#include "base/number_text.h"

using namespace vortak;

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void singlePrecision_data();
    void singlePrecision();
    void doublePrecision_data();
    void doublePrecision();
    void exactForms();
    void wholeNumbers();
    void lenientReading_data();
    void lenientReading();
    void overflowingText();
    void floatRange();
    void colourPacking();
};

void TestNumberText::singlePrecision_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("general");
    QTest::addColumn<QString>("classic");
    QTest::newRow("zero") << 0.0f << "0"
                          << " 0";
    QTest::newRow("negative zero") << -0.0f << "0"
                                   << " 0";
    QTest::newRow("negative") << -2.5f << "-2.5"
                              << "-2.5";
    QTest::newRow("half") << 0.5f << "0.5"
                          << " 0.5";
    QTest::newRow("tenth widened") << 0.1f << "0.1"
                                   << " 0.1";
    QTest::newRow("third") << (1.0f / 3.0f) << "0.3333333"
                           << " 0.3333333";
    QTest::newRow("1E-04 fixed") << 0.0001f << "0.0001"
                                 << " 0.0001";
    QTest::newRow("1E-05") << 1e-5f << "1E-05"
                           << " 1E-05";
    QTest::newRow("-1.5E-07") << -1.5e-7f << "-1.5E-07"
                              << "-1.5E-07";
    QTest::newRow("123456.7") << 123456.7f << "123456.7"
                              << " 123456.7";
    QTest::newRow("9999999") << 9999999.0f << "9999999"
                             << " 9999999";
    QTest::newRow("12345678") << 12345678.0f << "1.234568E+07"
                              << " 1.234568E+07";
    QTest::newRow("1E+07") << 1e7f << "1E+07"
                           << " 1E+07";
    QTest::newRow("2.1E+08") << 2.1e8f << "2.1E+08"
                             << " 2.1E+08";
    QTest::newRow("rounds into next decade") << 9999999.5f << "1E+07"
                                             << " 1E+07";
    QTest::newRow("whole") << 200.0f << "200"
                           << " 200";
}

void TestNumberText::singlePrecision() {
    QFETCH(float, value);
    QFETCH(QString, general);
    QFETCH(QString, classic);
    QCOMPARE(QString::fromStdString(vortak::general(value)), general);
    QCOMPARE(QString::fromStdString(vortak::classic(value)), classic);
}

void TestNumberText::doublePrecision_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("general");
    QTest::addColumn<QString>("classic");
    QTest::newRow("zero") << 0.0 << "0"
                          << " 0";
    QTest::newRow("negative") << -12.75 << "-12.75"
                              << "-12.75";
    QTest::newRow("half") << 0.5 << "0.5"
                          << " 0.5";
    QTest::newRow("tenth") << 0.1 << "0.1"
                           << " 0.1";
    QTest::newRow("third") << (1.0 / 3.0) << "0.333333333333333"
                           << " 0.333333333333333";
    QTest::newRow("1E-05") << 1e-5 << "1E-05"
                           << " 1E-05";
    QTest::newRow("2.1E+08 is fixed") << 2.1e8 << "210000000"
                                      << " 210000000";
    QTest::newRow("12345678") << 12345678.0 << "12345678"
                              << " 12345678";
    QTest::newRow("largest fixed") << 999999999999999.0 << "999999999999999"
                                   << " 999999999999999";
    QTest::newRow("1E+15") << 1e15 << "1E+15"
                           << " 1E+15";
    QTest::newRow("rounds to 1E+15") << 999999999999999.5 << "1E+15"
                                     << " 1E+15";
    QTest::newRow("last digit rounds") << 1.23456789012345678 << "1.23456789012346"
                                       << " 1.23456789012346";
    QTest::newRow("1E+100") << 1e100 << "1E+100"
                            << " 1E+100";
    QTest::newRow("negative exponent") << -4.75e-20 << "-4.75E-20"
                                       << "-4.75E-20";
}

void TestNumberText::doublePrecision() {
    QFETCH(double, value);
    QFETCH(QString, general);
    QFETCH(QString, classic);
    QCOMPARE(QString::fromStdString(vortak::general(value)), general);
    QCOMPARE(QString::fromStdString(vortak::classic(value)), classic);
}

void TestNumberText::exactForms() {
    // The general form when it reads back exactly, more digits only when it would not.
    QCOMPARE(exact(0.1f), std::string("0.1"));
    QCOMPARE(exact(123456.7f), std::string("123456.7"));
    QCOMPARE(exact(12345678.0f), std::string("12345678"));
    QCOMPARE(exact(16777215.0f), std::string("16777215"));
    QCOMPARE(exact(3.4028235e38f), std::string("3.40282347E+38"));
    QCOMPARE(exact(0.1), std::string("0.1"));
    QCOMPARE(exact(2.1e8), std::string("210000000"));
    QCOMPARE(exact(1.0 / 3.0), std::string("0.3333333333333333"));
    for (const float f : {1.0f / 3.0f, 2.0f / 7.0f, -1.1754944e-38f, 9999999.5f}) {
        QCOMPARE(float(readNumber(exact(f))), f);
    }
    for (const double d : {1.0 / 3.0, 2.0 / 7.0, -1e-300, 0.1 + 0.2, 1.7976931348623157e308}) {
        QCOMPARE(readNumber(exact(d)), d);
    }
}

void TestNumberText::wholeNumbers() {
    QCOMPARE(whole(0), std::string("0"));
    QCOMPARE(whole(7), std::string("7"));
    QCOMPARE(whole(-12), std::string("-12"));
    QCOMPARE(whole(200), std::string("200"));
}

void TestNumberText::lenientReading_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("length");
    QTest::newRow("decimal") << "2.5" << 2.5 << 3;
    QTest::newRow("negative") << "-1" << -1.0 << 2;
    QTest::newRow("exponent") << "1E3" << 1000.0 << 3;
    QTest::newRow("lower exponent") << "1.5e-3" << 0.0015 << 6;
    QTest::newRow("empty") << "" << 0.0 << 0;
    QTest::newRow("letters") << "abc" << 0.0 << 0;
    QTest::newRow("trailing letters") << "12abc" << 12.0 << 2;
    QTest::newRow("leading blanks") << "  7" << 7.0 << 3;
    QTest::newRow("plus sign") << "+3" << 3.0 << 2;
    QTest::newRow("no integer part") << ".5" << 0.5 << 2;
    QTest::newRow("negative fraction") << "-.25" << -0.25 << 4;
    QTest::newRow("trailing point") << "5." << 5.0 << 2;
    QTest::newRow("incomplete exponent") << "1e" << 1.0 << 1;
    QTest::newRow("exponent sign only") << "1e+" << 1.0 << 1;
    QTest::newRow("comma is not a separator") << "1,5" << 1.0 << 1;
    QTest::newRow("double sign") << "--1" << 0.0 << 0;
    QTest::newRow("sign only") << "-" << 0.0 << 0;
    QTest::newRow("point only") << "." << 0.0 << 0;
    QTest::newRow("inner blank ends it") << "1 2" << 1.0 << 1;
    QTest::newRow("underflow") << "1e-999" << 0.0 << 6;
    QTest::newRow("tiny fraction underflow") << "0.0001e-400" << 0.0 << 11;
    QTest::newRow("large but finite") << "1.7e308" << 1.7e308 << 7;
}

void TestNumberText::lenientReading() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(int, length);
    const NumberPrefix prefix = leadingNumber(text.toStdString());
    QCOMPARE(prefix.value, value);
    QCOMPARE(int(prefix.length), length);
    QCOMPARE(readNumber(text.toStdString()), value);
}

void TestNumberText::overflowingText() {
    QVERIFY(std::isinf(readNumber("1e999")));
    QVERIFY(readNumber("1e999") > 0);
    QVERIFY(readNumber("-1e999") < 0 && std::isinf(readNumber("-1e999")));
    QVERIFY(std::isinf(readNumber("123456789e301")));
    QVERIFY(!fitsInFloat(readNumber("1e999")));
}

void TestNumberText::floatRange() {
    QVERIFY(fitsInFloat(3.4e38));
    QVERIFY(fitsInFloat(-3.4e38));
    QVERIFY(!fitsInFloat(3.5e38));
    QVERIFY(!fitsInFloat(std::numeric_limits<double>::infinity()));
    QVERIFY(!fitsInFloat(std::numeric_limits<double>::quiet_NaN()));
    QVERIFY(fitsInFloat(0.0));
}

void TestNumberText::colourPacking() {
    QCOMPARE(packColour(255, 0, 0), Colour(255));
    QCOMPARE(packColour(0, 128, 0), Colour(32768));
    QCOMPARE(packColour(0, 0, 255), Colour(0xFF0000));
    QCOMPARE(packColour(224, 224, 224), Colour(0xE0E0E0));
    const Colour c = packColour(12, 34, 56);
    QCOMPARE(redOf(c), 12);
    QCOMPARE(greenOf(c), 34);
    QCOMPARE(blueOf(c), 56);
    QVERIFY(!isSystemColour(c));
    QVERIFY(isSystemColour(0x8000000E));
    QCOMPARE(systemColourIndex(0x8000000E), 14);
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "test_number_text.moc"
