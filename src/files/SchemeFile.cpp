#include "files/SchemeFile.h"

#include "files/CodePage.h"
#include "files/SafeWrite.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <bit>

namespace tram {

namespace {

constexpr qsizetype PointBytes = 4;
constexpr qsizetype LightBytes = 16;
constexpr qsizetype StationBytes = 41;
constexpr qsizetype TramBytes = 2;

// Every value is written byte by byte, low byte first, so the layout is the
// same on any compiler and any machine.
class ByteWriter {
public:
    void byte(uint8_t value) { bytes_.append(static_cast<char>(value)); }
    void integer(int16_t value)
    {
        const auto bits = static_cast<uint16_t>(value);
        byte(static_cast<uint8_t>(bits & 0xFF));
        byte(static_cast<uint8_t>(bits >> 8));
    }
    void real(double value)
    {
        const auto bits = std::bit_cast<uint64_t>(value);
        for (int shift = 0; shift < 64; shift += 8)
            byte(static_cast<uint8_t>(bits >> shift));
    }
    void text(const QByteArray& value) { bytes_.append(value); }
    QByteArray take() { return std::move(bytes_); }

private:
    QByteArray bytes_;
};

// Reads values in file order. need() checks a whole section up front; the
// value reads stay inside the data even if a check was missed.
class ByteReader {
public:
    explicit ByteReader(const QByteArray& bytes)
        : bytes_(bytes)
    {
    }

    bool need(qsizetype count, const QString& what)
    {
        if (bytes_.size() - pos_ >= count)
            return true;
        error_ = QStringLiteral("datoteka je prekratka, nedostaje: %1").arg(what);
        return false;
    }
    uint8_t byte() { return pos_ < bytes_.size() ? static_cast<uint8_t>(bytes_[pos_++]) : 0; }
    int16_t integer()
    {
        const uint16_t low = byte();
        const uint16_t high = byte();
        return static_cast<int16_t>(low | (high << 8));
    }
    double real()
    {
        uint64_t bits = 0;
        for (int shift = 0; shift < 64; shift += 8)
            bits |= static_cast<uint64_t>(byte()) << shift;
        return std::bit_cast<double>(bits);
    }
    QByteArrayView text(qsizetype length)
    {
        const qsizetype start = std::min(pos_, bytes_.size());
        const qsizetype taken = std::min(length, bytes_.size() - start);
        pos_ = start + taken;
        return QByteArrayView(bytes_).sliced(start, taken);
    }
    void fail(const QString& reason) { error_ = reason; }
    // True when there is no problem; else false, and the problem is the error.
    bool check(const std::optional<Refusal>& problem)
    {
        if (problem)
            fail(*problem);
        return !problem;
    }
    const QString& error() const { return error_; }

private:
    const QByteArray& bytes_;
    qsizetype pos_ = 0;
    QString error_;
};

// Why a count cannot be in a file, if it cannot.
std::optional<Refusal> countProblem(int value, int limit, const QString& what)
{
    if (value < 0)
        return QStringLiteral("%1 je negativan (%2)").arg(what).arg(value);
    if (value > limit)
        return QStringLiteral("%1 je %2, a najvise moze biti %3").arg(what).arg(value).arg(limit);
    return std::nullopt;
}

QString pointCountName(int segment)
{
    return QStringLiteral("broj tacaka segmenta %1").arg(segment);
}

QString routeLengthName(int route)
{
    return QStringLiteral("broj segmenata rute %1").arg(route);
}

// The first count of the scheme that no file can hold.
std::optional<Refusal> schemeLimitProblem(const Scheme& scheme)
{
    auto problem = countProblem(scheme.SegmentCount, MaxSegments, QStringLiteral("broj segmenata"));
    for (int s = 1; !problem && s <= SegmentsInUse(scheme); ++s)
        problem = countProblem(scheme.PointCount[s], MaxPoints, pointCountName(s));
    if (!problem)
        problem = countProblem(scheme.LightCount, MaxLights, QStringLiteral("broj semafora"));
    if (!problem)
        problem = countProblem(scheme.StationCount, MaxStations, QStringLiteral("broj stanica"));
    if (!problem)
        problem = countProblem(scheme.TramCount, MaxTrams, QStringLiteral("broj vlakona"));
    if (!problem)
        problem = countProblem(scheme.RouteCount, MaxRoutes, QStringLiteral("broj ruta"));
    for (int r = 1; !problem && r <= RoutesInUse(scheme); ++r)
        problem = countProblem(scheme.RouteLength[r], MaxRouteSlots, routeLengthName(r));
    return problem;
}

// Why station names cannot pass between the file and the scheme here.
QString missingCodePageProblem()
{
    return QStringLiteral("ovaj sistem nema kodnu stranicu Windows-1250 za nazive stanica");
}

bool readSegments(ByteReader& in, Scheme& scheme)
{
    if (!in.need(2, QStringLiteral("broj segmenata")))
        return false;
    const int16_t segments = in.integer();
    if (!in.check(countProblem(segments, MaxSegments, QStringLiteral("broj segmenata"))))
        return false;
    scheme.SegmentCount = segments;

    if (!in.need(2 * qsizetype(segments), QStringLiteral("broj tacaka segmenata")))
        return false;
    qsizetype points = 0;
    for (int s = 1; s <= segments; ++s) {
        scheme.PointCount[s] = in.integer();
        if (!in.check(countProblem(scheme.PointCount[s], MaxPoints, pointCountName(s))))
            return false;
        points += scheme.PointCount[s];
    }

    if (!in.need(PointBytes * points, QStringLiteral("tacke segmenata")))
        return false;
    for (int s = 1; s <= segments; ++s) {
        for (int j = 1; j <= scheme.PointCount[s]; ++j) {
            MapPoint& p = scheme.Points[s][j];
            p.X = in.integer();
            p.Y = in.integer();
        }
    }
    return true;
}

// A byte count followed by its elements, each elementBytes long.
bool readByteCount(ByteReader& in, uint8_t& count, int limit, qsizetype elementBytes, const QString& countName,
                   const QString& elementsName)
{
    if (!in.need(1, countName))
        return false;
    const uint8_t value = in.byte();
    if (!in.check(countProblem(value, limit, countName)))
        return false;
    if (!in.need(elementBytes * value, elementsName))
        return false;
    count = value;
    return true;
}

bool readLights(ByteReader& in, Scheme& scheme)
{
    if (!readByteCount(in, scheme.LightCount, MaxLights, LightBytes, QStringLiteral("broj semafora"),
                       QStringLiteral("semafori")))
        return false;
    for (int i = 1; i <= scheme.LightCount; ++i) {
        TrafficLight& light = scheme.Lights[i];
        light.Segment = in.byte();
        light.Position = in.real();
        light.InitialState = in.byte();
        light.Time2 = in.integer();
        light.Time1 = in.integer();
        light.Counter = in.integer();
    }
    return true;
}

bool readStations(ByteReader& in, Scheme& scheme)
{
    if (!readByteCount(in, scheme.StationCount, MaxStations, StationBytes, QStringLiteral("broj stanica"),
                       QStringLiteral("stanice")))
        return false;
    if (scheme.StationCount > 0 && !CodePageAvailable()) {
        in.fail(missingCodePageProblem());
        return false;
    }
    for (int i = 1; i <= scheme.StationCount; ++i) {
        Station& station = scheme.Stations[i];
        station.Segment = in.byte();
        station.Position = in.real();
        station.Time1 = in.integer();
        const QString name = FromCodePage(in.text(NameLength));
        std::copy_n(name.utf16(), std::min<qsizetype>(name.size(), NameLength), station.Name.begin());
    }
    return true;
}

bool readTrams(ByteReader& in, Scheme& scheme)
{
    if (!readByteCount(in, scheme.TramCount, MaxTrams, TramBytes, QStringLiteral("broj vlakona"),
                       QStringLiteral("vlakoni")))
        return false;
    for (int t = 1; t <= scheme.TramCount; ++t) {
        scheme.TramSerial[t] = in.byte();
        scheme.TramRoute[t] = in.byte();
    }
    return true;
}

bool readRoutes(ByteReader& in, Scheme& scheme)
{
    if (!readByteCount(in, scheme.RouteCount, MaxRoutes, 1, QStringLiteral("broj ruta"),
                       QStringLiteral("broj segmenata ruta")))
        return false;
    qsizetype entries = 0;
    for (int r = 1; r <= scheme.RouteCount; ++r) {
        scheme.RouteLength[r] = in.byte();
        if (!in.check(countProblem(scheme.RouteLength[r], MaxRouteSlots, routeLengthName(r))))
            return false;
        entries += scheme.RouteLength[r];
    }
    if (!in.need(entries, QStringLiteral("segmenti ruta")))
        return false;
    for (int r = 1; r <= scheme.RouteCount; ++r) {
        for (int k = 1; k <= scheme.RouteLength[r]; ++k)
            scheme.RouteSegments[r][k] = in.byte();
    }
    return true;
}

} // namespace

const qsizetype MaxSchemeFileSize = 2 + 2 * MaxSegments + PointBytes * MaxSegments * MaxPoints + 1
    + LightBytes * MaxLights + 1 + StationBytes * MaxStations + 1 + TramBytes * MaxTrams + 1 + MaxRoutes
    + MaxRoutes * MaxRouteSlots;

QByteArray WriteSchemeBytes(const Scheme& scheme)
{
    ByteWriter out;
    out.integer(scheme.SegmentCount);
    for (int s = 1; s <= SegmentsInUse(scheme); ++s)
        out.integer(scheme.PointCount[s]);
    for (int s = 1; s <= SegmentsInUse(scheme); ++s) {
        for (int j = 1; j <= PointsInUse(scheme, s); ++j) {
            out.integer(scheme.Points[s][j].X);
            out.integer(scheme.Points[s][j].Y);
        }
    }

    out.byte(scheme.LightCount);
    for (int i = 1; i <= LightsInUse(scheme); ++i) {
        const TrafficLight& light = scheme.Lights[i];
        out.byte(light.Segment);
        out.real(light.Position);
        out.byte(light.InitialState);
        out.integer(light.Time2);
        out.integer(light.Time1);
        out.integer(light.Counter);
    }

    out.byte(scheme.StationCount);
    for (int i = 1; i <= StationsInUse(scheme); ++i) {
        const Station& station = scheme.Stations[i];
        out.byte(station.Segment);
        out.real(station.Position);
        out.integer(station.Time1);
        out.text(ToCodePage(QStringView(station.Name.data(), NameLength)));
    }

    out.byte(scheme.TramCount);
    for (int t = 1; t <= TramsInUse(scheme); ++t) {
        out.byte(scheme.TramSerial[t]);
        out.byte(scheme.TramRoute[t]);
    }

    out.byte(scheme.RouteCount);
    for (int r = 1; r <= RoutesInUse(scheme); ++r)
        out.byte(scheme.RouteLength[r]);
    for (int r = 1; r <= RoutesInUse(scheme); ++r) {
        for (int k = 1; k <= RouteSlotsInUse(scheme, r); ++k)
            out.byte(scheme.RouteSegments[r][k]);
    }
    return out.take();
}

std::optional<Refusal> ReadSchemeBytes(const QByteArray& bytes, Scheme& scheme)
{
    // Everything is read into a copy, so a refused file changes nothing and
    // the elements beyond the new counts keep what they held.
    Scheme result = scheme;
    ByteReader in(bytes);
    const bool ok = readSegments(in, result) && readLights(in, result) && readStations(in, result)
        && readTrams(in, result) && readRoutes(in, result);
    if (!ok)
        return in.error();
    scheme = result;
    return std::nullopt;
}

std::optional<Refusal> SaveSchemeFile(const QString& path, const Scheme& scheme)
{
    const auto refuse = [&](const QString& reason) { return FileProblem(path, QStringLiteral("sacuvana"), reason); };
    if (const auto problem = schemeLimitProblem(scheme))
        return refuse(*problem);
    if (scheme.StationCount > 0 && !CodePageAvailable())
        return refuse(missingCodePageProblem());

    if (const auto reason = WriteWholeFile(path, WriteSchemeBytes(scheme)))
        return refuse(*reason);
    return std::nullopt;
}

std::optional<Refusal> LoadSchemeFile(const QString& path, Scheme& scheme)
{
    const auto refuse = [&](const QString& reason) { return FileProblem(path, QStringLiteral("otvorena"), reason); };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!QFileInfo::exists(path))
            return refuse(QStringLiteral("ne postoji"));
        return refuse(QStringLiteral("ne moze se otvoriti za citanje"));
    }
    // Bytes after the last route entry are never used, so a huge file costs nothing.
    const QByteArray bytes = file.read(MaxSchemeFileSize);
    if (file.error() != QFileDevice::NoError)
        return refuse(QStringLiteral("greska pri citanju"));
    if (const auto reason = ReadSchemeBytes(bytes, scheme))
        return refuse(*reason);
    return std::nullopt;
}

} // namespace tram
