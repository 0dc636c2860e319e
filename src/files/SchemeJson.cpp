#include "files/SchemeJson.h"

#include "files/CodePage.h"
#include "model/NumberText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace tram {

namespace {

constexpr uint64_t CanonicalNaNBits = 0x7FF8000000000000;

QJsonValue positionToJson(double position)
{
    if (std::isfinite(position) && !(position == 0 && std::signbit(position)))
        return position;
    if (std::isinf(position))
        return position > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    if (position == 0)
        return QStringLiteral("-0");
    const auto bits = std::bit_cast<uint64_t>(position);
    if (bits == CanonicalNaNBits)
        return QStringLiteral("NaN");
    return QStringLiteral("0x%1").arg(bits, 16, 16, QChar(u'0'));
}

QJsonArray segmentsToJson(const Scheme& scheme)
{
    QJsonArray segments;
    for (int s = 1; s <= SegmentsInUse(scheme); ++s) {
        QJsonArray points;
        for (int j = 1; j <= PointsInUse(scheme, s); ++j)
            points.append(QJsonObject{{"x", scheme.Points[s][j].X}, {"y", scheme.Points[s][j].Y}});
        segments.append(QJsonObject{{"points", points}});
    }
    return segments;
}

QJsonArray lightsToJson(const Scheme& scheme)
{
    QJsonArray lights;
    for (int i = 1; i <= LightsInUse(scheme); ++i) {
        const TrafficLight& light = scheme.Lights[i];
        lights.append(QJsonObject{{"segment", light.Segment},
                                  {"position", positionToJson(light.Position)},
                                  {"initialState", light.InitialState},
                                  {"time2", light.Time2},
                                  {"time1", light.Time1},
                                  {"counter", light.Counter}});
    }
    return lights;
}

QJsonArray stationsToJson(const Scheme& scheme)
{
    QJsonArray stations;
    for (int i = 1; i <= StationsInUse(scheme); ++i) {
        const Station& station = scheme.Stations[i];
        stations.append(QJsonObject{{"segment", station.Segment},
                                    {"position", positionToJson(station.Position)},
                                    {"time1", station.Time1},
                                    {"name", QStringView(station.Name.data(), NameLength).toString()}});
    }
    return stations;
}

QJsonArray tramsToJson(const Scheme& scheme)
{
    QJsonArray trams;
    for (int t = 1; t <= TramsInUse(scheme); ++t)
        trams.append(QJsonObject{{"serial", scheme.TramSerial[t]}, {"route", scheme.TramRoute[t]}});
    return trams;
}

QJsonArray routesToJson(const Scheme& scheme)
{
    QJsonArray routes;
    for (int r = 1; r <= RoutesInUse(scheme); ++r) {
        QJsonArray segments;
        for (int k = 1; k <= RouteSlotsInUse(scheme, r); ++k)
            segments.append(scheme.RouteSegments[r][k]);
        routes.append(QJsonObject{{"segments", segments}});
    }
    return routes;
}

QString element(const QString& array, qsizetype index)
{
    return QStringLiteral("%1[%2]").arg(array).arg(index + 1);
}

QString field(const QString& object, const QString& key)
{
    return object.isEmpty() ? key : object + u'.' + key;
}

// Reads values with their place in the document, stopping at the first fault.
class JsonReader {
public:
    const QString& error() const { return error_; }

    bool fail(const QString& place, const QString& reason)
    {
        error_ = place.isEmpty() ? reason : QStringLiteral("%1: %2").arg(place, reason);
        return false;
    }

    // An object with exactly these keys: a missing one or a misspelt extra
    // one would otherwise go unnoticed.
    bool object(const QJsonValue& value, const QString& place, const QStringList& keys, QJsonObject& out)
    {
        if (!value.isObject())
            return fail(place, QStringLiteral("ocekuje se objekt"));
        out = value.toObject();
        for (const QString& key : keys) {
            if (!out.contains(key))
                return fail(place, QStringLiteral("nedostaje \"%1\"").arg(key));
        }
        for (const QString& key : out.keys()) {
            if (!keys.contains(key))
                return fail(field(place, key), QStringLiteral("nepoznat kljuc"));
        }
        return true;
    }

    bool array(const QJsonValue& value, const QString& place, int limit, QJsonArray& out)
    {
        if (!value.isArray())
            return fail(place, QStringLiteral("ocekuje se niz"));
        out = value.toArray();
        if (out.size() > limit)
            return fail(place, QStringLiteral("ima %1 elemenata, a najvise moze imati %2").arg(out.size()).arg(limit));
        return true;
    }

    template <typename T>
    bool integer(const QJsonValue& value, const QString& place, T& out)
    {
        constexpr double low = std::numeric_limits<T>::min();
        constexpr double high = std::numeric_limits<T>::max();
        if (!value.isDouble())
            return fail(place, QStringLiteral("ocekuje se cijeli broj"));
        const double number = value.toDouble();
        if (number != std::floor(number))
            return fail(place, QStringLiteral("%1 nije cijeli broj").arg(ShowNumber(number)));
        if (number < low || number > high)
            return fail(
                place, QStringLiteral("%1 je izvan %2..%3").arg(ShowNumber(number), ShowNumber(low), ShowNumber(high)));
        out = static_cast<T>(number);
        return true;
    }

    bool position(const QJsonValue& value, const QString& place, double& out)
    {
        if (value.isDouble()) {
            out = value.toDouble();
            return true;
        }
        const QString text = value.toString();
        if (text == u"-0")
            out = -0.0;
        else if (text == u"Infinity")
            out = std::numeric_limits<double>::infinity();
        else if (text == u"-Infinity")
            out = -std::numeric_limits<double>::infinity();
        else if (text == u"NaN")
            out = std::bit_cast<double>(CanonicalNaNBits);
        else if (!bitsOf(text, out))
            return fail(place,
                        QStringLiteral("ocekuje se broj, \"-0\", \"Infinity\", \"-Infinity\", \"NaN\" "
                                       "ili \"0x\" i 16 heksadecimalnih cifara"));
        return true;
    }

    bool name(const QJsonValue& value, const QString& place, StationName& out)
    {
        if (!value.isString())
            return fail(place, QStringLiteral("ocekuje se tekst"));
        const QString text = value.toString();
        if (text.size() > NameLength)
            return fail(place,
                        QStringLiteral("ima %1 znakova, a najvise moze imati %2").arg(text.size()).arg(NameLength));
        // The file keeps one byte per character: what does not come back from
        // the code page would be saved as something else.
        const QString kept = FromCodePage(ToCodePage(text));
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (kept[i] != text[i])
                return fail(place,
                            QStringLiteral("znak %1 (U+%2) nema bajt u kodnoj stranici datoteke seme")
                                .arg(i + 1)
                                .arg(text[i].unicode(), 4, 16, QChar(u'0')));
        }
        out.fill(u' ');
        std::copy_n(text.utf16(), text.size(), out.begin());
        return true;
    }

private:
    static bool bitsOf(const QString& text, double& out)
    {
        if (text.size() != 18 || !text.startsWith(u"0x"))
            return false;
        bool ok = false;
        const qulonglong bits = text.mid(2).toULongLong(&ok, 16);
        if (ok)
            out = std::bit_cast<double>(static_cast<uint64_t>(bits));
        return ok;
    }

    QString error_;
};

bool readSegments(JsonReader& in, const QJsonValue& value, Scheme& scheme)
{
    const QString place = QStringLiteral("segments");
    QJsonArray segments;
    if (!in.array(value, place, MaxSegments, segments))
        return false;
    scheme.SegmentCount = static_cast<int16_t>(segments.size());
    for (qsizetype s = 0; s < segments.size(); ++s) {
        const QString segmentPlace = element(place, s);
        QJsonObject segment;
        QJsonArray points;
        if (!in.object(segments[s], segmentPlace, {"points"}, segment)
            || !in.array(segment["points"], field(segmentPlace, "points"), MaxPoints, points))
            return false;
        scheme.PointCount[s + 1] = static_cast<int16_t>(points.size());
        for (qsizetype j = 0; j < points.size(); ++j) {
            const QString pointPlace = element(field(segmentPlace, "points"), j);
            QJsonObject point;
            MapPoint& p = scheme.Points[s + 1][j + 1];
            if (!in.object(points[j], pointPlace, {"x", "y"}, point)
                || !in.integer(point["x"], field(pointPlace, "x"), p.X)
                || !in.integer(point["y"], field(pointPlace, "y"), p.Y))
                return false;
        }
    }
    return true;
}

bool readLights(JsonReader& in, const QJsonValue& value, Scheme& scheme)
{
    const QString place = QStringLiteral("lights");
    QJsonArray lights;
    if (!in.array(value, place, MaxLights, lights))
        return false;
    scheme.LightCount = static_cast<uint8_t>(lights.size());
    for (qsizetype i = 0; i < lights.size(); ++i) {
        const QString at = element(place, i);
        QJsonObject object;
        TrafficLight& light = scheme.Lights[i + 1];
        if (!in.object(lights[i], at, {"segment", "position", "initialState", "time2", "time1", "counter"}, object)
            || !in.integer(object["segment"], field(at, "segment"), light.Segment)
            || !in.position(object["position"], field(at, "position"), light.Position)
            || !in.integer(object["initialState"], field(at, "initialState"), light.InitialState)
            || !in.integer(object["time2"], field(at, "time2"), light.Time2)
            || !in.integer(object["time1"], field(at, "time1"), light.Time1)
            || !in.integer(object["counter"], field(at, "counter"), light.Counter))
            return false;
    }
    return true;
}

bool readStations(JsonReader& in, const QJsonValue& value, Scheme& scheme)
{
    const QString place = QStringLiteral("stations");
    QJsonArray stations;
    if (!in.array(value, place, MaxStations, stations))
        return false;
    scheme.StationCount = static_cast<uint8_t>(stations.size());
    for (qsizetype i = 0; i < stations.size(); ++i) {
        const QString at = element(place, i);
        QJsonObject object;
        Station& station = scheme.Stations[i + 1];
        if (!in.object(stations[i], at, {"segment", "position", "time1", "name"}, object)
            || !in.integer(object["segment"], field(at, "segment"), station.Segment)
            || !in.position(object["position"], field(at, "position"), station.Position)
            || !in.integer(object["time1"], field(at, "time1"), station.Time1)
            || !in.name(object["name"], field(at, "name"), station.Name))
            return false;
    }
    return true;
}

bool readTrams(JsonReader& in, const QJsonValue& value, Scheme& scheme)
{
    const QString place = QStringLiteral("trams");
    QJsonArray trams;
    if (!in.array(value, place, MaxTrams, trams))
        return false;
    scheme.TramCount = static_cast<uint8_t>(trams.size());
    for (qsizetype t = 0; t < trams.size(); ++t) {
        const QString at = element(place, t);
        QJsonObject object;
        if (!in.object(trams[t], at, {"serial", "route"}, object)
            || !in.integer(object["serial"], field(at, "serial"), scheme.TramSerial[t + 1])
            || !in.integer(object["route"], field(at, "route"), scheme.TramRoute[t + 1]))
            return false;
    }
    return true;
}

bool readRoutes(JsonReader& in, const QJsonValue& value, Scheme& scheme)
{
    const QString place = QStringLiteral("routes");
    QJsonArray routes;
    if (!in.array(value, place, MaxRoutes, routes))
        return false;
    scheme.RouteCount = static_cast<uint8_t>(routes.size());
    for (qsizetype r = 0; r < routes.size(); ++r) {
        const QString at = element(place, r);
        QJsonObject route;
        QJsonArray entries;
        if (!in.object(routes[r], at, {"segments"}, route)
            || !in.array(route["segments"], field(at, "segments"), MaxRouteSlots, entries))
            return false;
        scheme.RouteLength[r + 1] = static_cast<uint8_t>(entries.size());
        for (qsizetype k = 0; k < entries.size(); ++k) {
            if (!in.integer(entries[k], element(field(at, "segments"), k), scheme.RouteSegments[r + 1][k + 1]))
                return false;
        }
    }
    return true;
}

// Line and column (from 1) of a character offset, for parse errors.
QString placeInText(const QByteArray& text, qsizetype offset)
{
    const QByteArray before = text.left(offset);
    const qsizetype lineStart = before.lastIndexOf('\n') + 1;
    return QStringLiteral("red %1, kolona %2").arg(before.count('\n') + 1).arg(offset - lineStart + 1);
}

} // namespace

QByteArray SchemeToJson(const Scheme& scheme)
{
    const QJsonObject root{{"segments", segmentsToJson(scheme)},
                           {"lights", lightsToJson(scheme)},
                           {"stations", stationsToJson(scheme)},
                           {"trams", tramsToJson(scheme)},
                           {"routes", routesToJson(scheme)}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<Refusal> SchemeFromJson(const QByteArray& json, Scheme& scheme)
{
    JsonReader in;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    const QJsonValue top = document.isObject() ? QJsonValue(document.object()) : QJsonValue(document.array());
    QJsonObject root;
    // Elements beyond the counts are not part of the JSON form: they start empty.
    Scheme result;
    const bool ok = parseError.error == QJsonParseError::NoError
        ? in.object(top, QString(), {"segments", "lights", "stations", "trams", "routes"}, root)
            && readSegments(in, root["segments"], result) && readLights(in, root["lights"], result)
            && readStations(in, root["stations"], result) && readTrams(in, root["trams"], result)
            && readRoutes(in, root["routes"], result)
        : in.fail(placeInText(json, parseError.offset), parseError.errorString());
    if (!ok)
        return in.error();
    scheme = result;
    return std::nullopt;
}

} // namespace tram
