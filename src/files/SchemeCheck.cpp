#include "files/SchemeCheck.h"

#include "files/CodePage.h"
#include "model/NumberText.h"
#include "view/Canvas.h"
#include "view/Geometry.h"

#include <algorithm>

namespace tram {

namespace {

bool segmentExists(const Scheme& scheme, int segment)
{
    return segment >= 1 && segment <= SegmentsInUse(scheme);
}

void checkSegments(const Scheme& scheme, QStringList& findings)
{
    for (int s = 1; s <= SegmentsInUse(scheme); ++s) {
        const int count = PointsInUse(scheme, s);
        if (count < 2)
            findings << QStringLiteral("segment %1: ima manje od dvije tacke (%2)").arg(s).arg(count);
        // A vertex off the canvas can be neither seen nor dragged back.
        for (int j = 1; j <= count; ++j) {
            const MapPoint p = scheme.Points[s][j];
            if (p.X < 0 || p.X >= Canvas::Width || p.Y < 0 || p.Y >= Canvas::Height)
                findings << QStringLiteral("segment %1, tacka %2: (%3, %4) je izvan platna %5 x %6")
                                .arg(s)
                                .arg(j)
                                .arg(p.X)
                                .arg(p.Y)
                                .arg(Canvas::Width)
                                .arg(Canvas::Height);
        }
    }
}

// A station or light: its segment must exist and its position lie on it.
void checkPlacement(const Scheme& scheme, const QString& object, int segment, double position, QStringList& findings)
{
    if (!segmentExists(scheme, segment)) {
        findings << QStringLiteral("%1: segment %2 ne postoji").arg(object).arg(segment);
        return;
    }
    const double length = PolylineLength(scheme, segment, 1, PointsInUse(scheme, segment));
    if (!(position >= 0 && position <= length))
        findings << QStringLiteral("%1: polozaj %2 je izvan 0..%3 segmenta %4")
                        .arg(object, ShowNumber(position), ShowNumber(length))
                        .arg(segment);
}

void checkLights(const Scheme& scheme, QStringList& findings)
{
    for (int i = 1; i <= LightsInUse(scheme); ++i)
        checkPlacement(scheme, QStringLiteral("semafor %1").arg(i), scheme.Lights[i].Segment, scheme.Lights[i].Position,
                       findings);
}

void checkStations(const Scheme& scheme, QStringList& findings)
{
    for (int i = 1; i <= StationsInUse(scheme); ++i) {
        const QString object = QStringLiteral("stanica %1").arg(i);
        checkPlacement(scheme, object, scheme.Stations[i].Segment, scheme.Stations[i].Position, findings);
        // Such a byte is kept, but shows as no letter anywhere.
        const auto& name = scheme.Stations[i].Name;
        if (std::any_of(name.begin(), name.end(), [](char16_t c) { return StandsForUndefinedByte(QChar(c)); }))
            findings << QStringLiteral("%1: naziv ima bajt koji kodna stranica ne poznaje").arg(object);
    }
}

void checkTrams(const Scheme& scheme, QStringList& findings)
{
    for (int t = 1; t <= TramsInUse(scheme); ++t) {
        const int route = scheme.TramRoute[t];
        if (route < 1 || route > RoutesInUse(scheme))
            findings << QStringLiteral("vlakon %1: ruta %2 ne postoji").arg(t).arg(route);
    }
}

void checkRoutes(const Scheme& scheme, QStringList& findings)
{
    for (int r = 1; r <= RoutesInUse(scheme); ++r) {
        if (RouteSlotsInUse(scheme, r) == 0)
            findings << QStringLiteral("ruta %1: nema nijedan segment").arg(r);
        for (int k = 1; k <= RouteSlotsInUse(scheme, r); ++k) {
            const int segment = scheme.RouteSegments[r][k];
            if (!segmentExists(scheme, segment))
                findings << QStringLiteral("ruta %1, mjesto %2: segment %3 ne postoji").arg(r).arg(k).arg(segment);
        }
    }
}

} // namespace

QStringList CheckScheme(const Scheme& scheme)
{
    QStringList findings;
    checkSegments(scheme, findings);
    checkLights(scheme, findings);
    checkStations(scheme, findings);
    checkTrams(scheme, findings);
    checkRoutes(scheme, findings);
    return findings;
}

} // namespace tram
