#include "files/SchemeFile.h"

#include <QTest>
#include <random>

using namespace tram;

namespace {

// A file that uses every section: vertex counts up to the limit, lights,
// stations with diacritics, trams, routes of length 0 and 18.
QByteArray richFile()
{
    Scheme s;
    s.SegmentCount = 4;
    for (int seg = 1; seg <= 4; ++seg) {
        s.PointCount[seg] = int16_t(seg == 2 ? 0 : seg * 3);
        for (int j = 1; j <= s.PointCount[seg]; ++j)
            s.Points[seg][j] = {int16_t(seg * 100 + j), int16_t(-j)};
    }
    s.LightCount = 3;
    for (int i = 1; i <= 3; ++i)
        s.Lights[i] = {uint8_t(i), i * 10.5, uint8_t(i % 2), int16_t(i), int16_t(-i), int16_t(i * 1000)};
    s.StationCount = 3;
    const QString names[] = {QStringLiteral("Centar"), QString::fromUtf8("Čengić Vila"),
                             QString::fromUtf8("Željeznička stanica")};
    for (int i = 1; i <= 3; ++i) {
        s.Stations[i] = {uint8_t(i), i * 0.125, int16_t(i * 7), {}};
        s.Stations[i].Name.fill(u' ');
        for (qsizetype c = 0; c < names[i - 1].size(); ++c)
            s.Stations[i].Name[c] = names[i - 1][c].unicode();
    }
    s.TramCount = 4;
    for (int t = 1; t <= 4; ++t) {
        s.TramSerial[t] = uint8_t(100 + t);
        s.TramRoute[t] = uint8_t(t);
    }
    s.RouteCount = 3;
    s.RouteLength[1] = 2;
    s.RouteSegments[1][1] = 1;
    s.RouteSegments[1][2] = 3;
    s.RouteLength[2] = 0;
    s.RouteLength[3] = MaxRouteSlots;
    for (int k = 1; k <= MaxRouteSlots; ++k)
        s.RouteSegments[3][k] = uint8_t(k);
    return WriteSchemeBytes(s);
}

// Non-zero everywhere, so any write by a refused read shows.
Scheme filledScheme()
{
    Scheme s;
    s.SegmentCount = 7;
    for (auto& count : s.PointCount)
        count = 9;
    for (auto& segment : s.Points)
        segment.fill({-3, 4});
    s.LightCount = s.StationCount = s.TramCount = 5;
    s.RouteCount = 6;
    s.Lights.fill({9, 9.5, 9, 9, 9, 9});
    Station station{8, 8.5, 8, {}};
    station.Name.fill(u'Q');
    s.Stations.fill(station);
    s.TramSerial.fill(7);
    s.TramRoute.fill(6);
    s.RouteLength.fill(5);
    for (auto& route : s.RouteSegments)
        route.fill(4);
    return s;
}

} // namespace

class ReaderRobustnessTest : public QObject {
    Q_OBJECT
private:
    // Reads one input into a filled scheme and checks the reader's promise.
    void readOne(const QByteArray& bytes, int* accepted = nullptr)
    {
        const Scheme before = filledScheme();
        Scheme scheme = before;
        if (const auto refusal = ReadSchemeBytes(bytes, scheme)) {
            QVERIFY2(!refusal->isEmpty(), bytes.left(40).toHex().constData());
            QVERIFY2(scheme == before, bytes.left(40).toHex().constData());
        } else {
            // Accepted input holds at least what is written back.
            QVERIFY(WriteSchemeBytes(scheme).size() <= bytes.size());
            if (accepted)
                ++*accepted;
        }
    }

private slots:
    void richFileIsAccepted();
    void everyPrefixIsRefused();
    void byteFlips();
    void splicedFiles();
    void hostilePatterns_data();
    void hostilePatterns();
};

void ReaderRobustnessTest::richFileIsAccepted()
{
    const QByteArray bytes = richFile();
    Scheme scheme = filledScheme();
    const auto refusal = ReadSchemeBytes(bytes, scheme);
    QVERIFY2(!refusal, qPrintable(refusal.value_or(QString())));
    QCOMPARE(WriteSchemeBytes(scheme), bytes);
}

void ReaderRobustnessTest::everyPrefixIsRefused()
{
    // The reader uses every byte of a valid file, so no proper prefix is whole.
    const QByteArray bytes = richFile();
    for (qsizetype length = 0; length < bytes.size(); ++length) {
        Scheme scheme = filledScheme();
        const auto refusal = ReadSchemeBytes(bytes.left(length), scheme);
        QVERIFY2(refusal, qPrintable(QString::number(length)));
        QVERIFY(!refusal->isEmpty());
        QVERIFY2(scheme == filledScheme(), qPrintable(QString::number(length)));
    }
}

void ReaderRobustnessTest::byteFlips()
{
    const QByteArray original = richFile();
    std::mt19937 random(20261207u);
    std::uniform_int_distribution<qsizetype> position(0, original.size() - 1);
    std::uniform_int_distribution<int> flips(1, 4);
    std::uniform_int_distribution<int> value(1, 255);
    int accepted = 0;
    for (int round = 0; round < 4000; ++round) {
        QByteArray bytes = original;
        for (int n = flips(random); n > 0; --n)
            bytes[position(random)] ^= char(value(random));
        readOne(bytes, &accepted);
        if (QTest::currentTestFailed())
            return;
    }
    // Flips in values rather than counts still read: both paths were taken.
    QVERIFY(accepted > 0);
    QVERIFY(accepted < 4000);
}

void ReaderRobustnessTest::splicedFiles()
{
    // Pieces of the file in the wrong places: counts land on values and back.
    const QByteArray original = richFile();
    std::mt19937 random(77u);
    std::uniform_int_distribution<qsizetype> position(0, original.size());
    for (int round = 0; round < 2000; ++round) {
        const qsizetype a = position(random), b = position(random), c = position(random);
        const QByteArray bytes = original.left(a) + original.mid(std::min(b, c), std::abs(b - c));
        readOne(bytes);
        if (QTest::currentTestFailed())
            return;
    }
}

void ReaderRobustnessTest::hostilePatterns_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("all ones, short") << QByteArray(6, '\xff');
    QTest::newRow("all ones, long") << QByteArray(20000, '\xff');
    QTest::newRow("largest counts, no data") << QByteArray::fromHex("7fff");
    QTest::newRow("smallest count") << QByteArray::fromHex("0080") + QByteArray(100, '\0');
    QTest::newRow("40 segments of 50, nothing else")
        << QByteArray::fromHex("2800") + QByteArray::fromHex("3200").repeated(40);
    QTest::newRow("byte counts at 255") << QByteArray::fromHex("0000ffffffff") + QByteArray(20000, '\0');
    QTest::newRow("huge zero file") << QByteArray(1 << 20, '\0');
}

void ReaderRobustnessTest::hostilePatterns()
{
    QFETCH(QByteArray, bytes);
    readOne(bytes);
}

QTEST_APPLESS_MAIN(ReaderRobustnessTest)
#include "test_reader_robustness.moc"
