#include "model/NumberText.h"

#include <QLocale>
#include <QScopeGuard>
#include <QTest>
#include <cmath>
#include <limits>

using namespace tram;

class NumberTextTest : public QObject {
    Q_OBJECT
private slots:
    void readNumber_data();
    void readNumber();
    void readNumberOverflowGivesInfinity();
    void roundHalfEven_data();
    void roundHalfEven();
    void fieldRanges_data();
    void fieldRanges();
    void saturated_data();
    void saturated();
    void showNumber_data();
    void showNumber();
    void showNumberIgnoresLocale();
    void showThenReadRoundTrips_data();
    void showThenReadRoundTrips();
};

void NumberTextTest::readNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("integer") << "42" << 42.0;
    QTest::newRow("trailing letters") << "12abc" << 12.0;
    QTest::newRow("comma ends the number") << "1,5" << 1.0;
    QTest::newRow("blanks inside") << " 1 2" << 12.0;
    QTest::newRow("tab and line feed") << "\t3\n4" << 34.0;
    QTest::newRow("decimal point") << "2.5" << 2.5;
    QTest::newRow("leading point") << ".25" << 0.25;
    QTest::newRow("negative") << "-7" << -7.0;
    QTest::newRow("plus sign") << "+7" << 7.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("exponent") << "1E3" << 1000.0;
    QTest::newRow("lower-case exponent") << "2e-2" << 0.02;
    QTest::newRow("exponent without digits") << "5E" << 5.0;
    QTest::newRow("second point ends") << "1.2.3" << 1.2;
    QTest::newRow("hex") << "&H1F" << 31.0;
    QTest::newRow("hex lower case") << "&hff" << 255.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("ampersand alone") << "&" << 0.0;
    QTest::newRow("non-ASCII ends") << QString::fromUtf8("3č4") << 3.0;
    QTest::newRow("carriage return ends") << "5\r6" << 5.0;
}

void NumberTextTest::readNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(ReadNumber(text), expected);
}

void NumberTextTest::readNumberOverflowGivesInfinity()
{
    QCOMPARE(ReadNumber("1E400"), std::numeric_limits<double>::infinity());
    QCOMPARE(ReadNumber("-1E400"), -std::numeric_limits<double>::infinity());
    QCOMPARE(ReadNumber("1E-400"), 0.0);
    QVERIFY(!ToInt16(ReadNumber("1E400")).has_value());
    // Past what shows as the largest double.
    QCOMPARE(ReadNumber("1.797693134862325E+308"), std::numeric_limits<double>::infinity());

    // Too large or too small is decided by where the first significant digit
    // stands, not by the sign of the exponent alone.
    const QString zeros(400, u'0');
    QCOMPARE(ReadNumber("0." + zeros + "1"), 0.0);
    QCOMPARE(ReadNumber("-0." + zeros + "1"), 0.0);
    QCOMPARE(ReadNumber("1" + zeros + "E-5"), std::numeric_limits<double>::infinity());
    QCOMPARE(ReadNumber("-1" + zeros + "E-5"), -std::numeric_limits<double>::infinity());
    QCOMPARE(ReadNumber("0.0" + zeros + "1E+99999999999999999999"), std::numeric_limits<double>::infinity());
    QCOMPARE(ReadNumber("00" + zeros + "1E-99999999999999999999"), 0.0);
    QVERIFY(ToByte(ReadNumber("0." + zeros + "1")).has_value());
}

void NumberTextTest::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("2.5") << 2.5 << 2.0;
    QTest::newRow("3.5") << 3.5 << 4.0;
    QTest::newRow("-2.5") << -2.5 << -2.0;
    QTest::newRow("-3.5") << -3.5 << -4.0;
    QTest::newRow("0.5") << 0.5 << 0.0;
    QTest::newRow("10.5") << 10.5 << 10.0;
    QTest::newRow("11.5") << 11.5 << 12.0;
    QTest::newRow("2.4999") << 2.4999 << 2.0;
    QTest::newRow("2.5001") << 2.5001 << 3.0;
    QTest::newRow("-0.4") << -0.4 << 0.0;
    QTest::newRow("large") << 1e17 << 1e17;
}

void NumberTextTest::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    QCOMPARE(RoundHalfEven(value), expected);
}

void NumberTextTest::fieldRanges_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("byte");  // -1: refused
    QTest::addColumn<int>("int16"); // 99999: refused
    QTest::newRow("0") << 0.0 << 0 << 0;
    QTest::newRow("255.4") << 255.4 << 255 << 255;
    QTest::newRow("255.5 rounds up to 256") << 255.5 << -1 << 256;
    QTest::newRow("-0.5 rounds to 0") << -0.5 << 0 << 0;
    QTest::newRow("-1") << -1.0 << -1 << -1;
    QTest::newRow("32767.5 rounds to 32768") << 32767.5 << -1 << 99999;
    QTest::newRow("-32768.5 rounds to -32768") << -32768.5 << -1 << -32768;
    QTest::newRow("-32769") << -32769.0 << -1 << 99999;
    QTest::newRow("NaN") << std::nan("") << -1 << 99999;
}

void NumberTextTest::fieldRanges()
{
    QFETCH(double, value);
    QFETCH(int, byte);
    QFETCH(int, int16);
    const auto b = ToByte(value);
    QCOMPARE(b.has_value(), byte != -1);
    if (b)
        QCOMPARE(int(*b), byte);
    const auto i = ToInt16(value);
    QCOMPARE(i.has_value(), int16 != 99999);
    if (i)
        QCOMPARE(int(*i), int16);
}

void NumberTextTest::saturated_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("half to even") << 150.5 << 150;
    QTest::newRow("above range") << 1e9 << 32767;
    QTest::newRow("below range") << -1e9 << -32768;
    QTest::newRow("NaN") << std::nan("") << 0;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << 32767;
}

void NumberTextTest::saturated()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(int(ToInt16Saturated(value)), expected);
}

void NumberTextTest::showNumber_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole") << 3.0 << "3";
    QTest::newRow("fraction") << 0.25 << "0.25";
    QTest::newRow("negative") << -12.5 << "-12.5";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("no thousands separator") << 1234567.0 << "1234567";
    QTest::newRow("15 digits") << 0.1 + 0.2 << "0.3";
    QTest::newRow("exponent") << 1e20 << "1E+20";
}

void NumberTextTest::showNumber()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(ShowNumber(value), expected);
}

void NumberTextTest::showNumberIgnoresLocale()
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Croatian, QLocale::Croatia));
    const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });
    QCOMPARE(ShowNumber(1234.5), QStringLiteral("1234.5"));
}

void NumberTextTest::showThenReadRoundTrips_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("0.1") << 0.1;
    QTest::newRow("123.456789012345") << 123.456789012345;
    QTest::newRow("1E+20") << 1e20;
    QTest::newRow("-3.75E-10") << -3.75e-10;
    QTest::newRow("32767") << 32767.0;
    // Shown with 15 digits it is past the largest double.
    QTest::newRow("largest") << std::numeric_limits<double>::max();
    QTest::newRow("lowest") << std::numeric_limits<double>::lowest();
    QTest::newRow("smallest subnormal") << std::numeric_limits<double>::denorm_min();
}

void NumberTextTest::showThenReadRoundTrips()
{
    QFETCH(double, value);
    QCOMPARE(ReadNumber(ShowNumber(value)), value);
}

QTEST_APPLESS_MAIN(NumberTextTest)
#include "test_number_text.moc"
