#include "gtfs/GtfsImport.h"

#include "editing/StationsPanel.h"
#include "editing/TramsPanel.h"
#include "gtfs/CanvasLayout.h"
#include "gtfs/FeedError.h"
#include "gtfs/FeedReader.h"
#include "gtfs/SchemeFit.h"
#include "gtfs/StationNames.h"
#include "view/Geometry.h"

namespace tram::gtfs {

namespace {

void addSegments(const CanvasLayout& layout, Scheme& scheme)
{
    for (const CanvasSegment& segment : layout.segments) {
        const int s = ++scheme.SegmentCount;
        scheme.PointCount[s] = int16_t(segment.points.size());
        for (size_t j = 0; j < segment.points.size(); ++j)
            scheme.Points[s][j + 1] = segment.points[j];
    }
}

// One station per place, on the first segment that passes it, at its vertex:
// the position is the length of the polyline up to that vertex, summed as
// the editor sums it when it locates the station.
void addStations(const TrackNetwork& network, const CanvasLayout& layout, const Places& places, EditorModel& model,
                 ImportSummary& summary)
{
    struct OnSegment {
        int place;
        size_t segment;
        size_t k; // among the segment's places
    };
    std::vector<OnSegment> stations;
    std::vector<bool> placed(places.places.size(), false);
    QStringList names;
    for (size_t s = 0; s < network.segments.size(); ++s) {
        const auto& onSegment = network.segments[s].places;
        for (size_t k = 0; k < onSegment.size(); ++k) {
            if (!placed[size_t(onSegment[k])]) {
                placed[size_t(onSegment[k])] = true;
                stations.push_back({onSegment[k], s, k});
                names << places.places[size_t(onSegment[k])].name;
            }
        }
    }
    const std::vector<SchemeName> stored = ToSchemeNames(names);
    for (size_t i = 0; i < stations.size(); ++i) {
        // LimitProblems checked the tables first: a refusal here would be
        // the import's own fault, and fails it rather than go unsaid.
        if (const auto refusal = NewStation(model))
            throw FeedError{*refusal};
        const int n = model.edit.CurrentStation;
        Station& station = model.scheme.Stations[n];
        const int segment = int(stations[i].segment) + 1;
        const int vertex = layout.segments[stations[i].segment].placeVertex[stations[i].k] + 1;
        station.Segment = uint8_t(segment);
        station.Position = PolylineLength(model.scheme, segment, 1, vertex);
        station.Name = stored[i].name;
        if (stored[i].shortened)
            summary.notes << QStringLiteral("stanica %1 \"%2\": naziv duzi od %3 znakova skracen u \"%4\"")
                                 .arg(QString::number(n), names[qsizetype(i)], QString::number(NameLength),
                                      ShownName(stored[i].name));
        if (!stored[i].missing.isEmpty())
            summary.notes << QStringLiteral("stanica %1 \"%2\": kodna stranica nema znakove %3, pisu se kao \"?\"")
                                 .arg(QString::number(n), names[qsizetype(i)], stored[i].missing);
    }
    model.edit = EditState{};
}

void addRoutesAndTrams(const Feed& feed, const TrackNetwork& network, const std::vector<int>& order,
                       const TramsOnDay& trams, EditorModel& model, ImportSummary& summary)
{
    Scheme& scheme = model.scheme;
    for (const int r : order) {
        const int route = ++scheme.RouteCount;
        const auto& segments = network.routeSegments[size_t(r)];
        scheme.RouteLength[route] = uint8_t(segments.size());
        for (size_t k = 0; k < segments.size(); ++k)
            scheme.RouteSegments[route][k + 1] = uint8_t(segments[k] + 1);
        // The editor's own creation gives each tram its serial.
        for (int t = 0; t < trams.trams[size_t(r)]; ++t) {
            const QString keep = QString::number(scheme.TramRoute[model.edit.CurrentTram]);
            if (const auto refusal = RunTramCommand(TramCommand::New, {QString(), keep}, scheme, model.edit))
                throw FeedError{*refusal};
            scheme.TramRoute[model.edit.CurrentTram] = uint8_t(route);
        }
        summary.routes.push_back({feed.routes[size_t(r)].shownName(), int(segments.size()), trams.trams[size_t(r)]});
    }
    model.edit = EditState{};
}

ImportResult build(FeedFiles& files, const ImportOptions& options)
{
    const Feed feed = ReadFeed(files, options.routes);
    const Places places = MergeStops(feed);
    const TrackNetwork network = BuildNetwork(feed, places);
    const TramsOnDay trams = CountTrams(feed, options.day);
    const std::vector<int> order = SchemeRouteOrder(feed, network);
    if (order.empty())
        throw FeedError{QStringLiteral("nijedna tramvajska linija nema voznju s bar dvije stanice")};
    if (const QStringList problems = LimitProblems(feed, network, order, trams); !problems.isEmpty())
        throw FeedError{QStringLiteral("mreza ne stane u semu (suzite izbor linija s --routes):\n")
                        + problems.join(u'\n')};

    ImportResult result;
    ImportSummary& summary = result.summary;
    for (size_t r = 0; r < feed.routes.size(); ++r) {
        if (network.routeSegments[r].empty())
            summary.notes << QStringLiteral("linija %1 nema nijednu voznju s bar dvije stanice; nije uvezena")
                                 .arg(feed.routes[r].shownName());
    }
    const CanvasLayout layout = LayOut(network, MaxPoints);
    EditorModel model;
    addSegments(layout, model.scheme);
    addStations(network, layout, places, model, summary);
    addRoutesAndTrams(feed, network, order, trams, model, summary);
    result.scheme = model.scheme;
    if (options.schematic) {
        schematic::SchematicSummary drawn;
        if (const auto refusal = schematic::Schematise(model.scheme, *options.schematic, result.scheme, drawn))
            throw FeedError{QStringLiteral("mreza se ne moze nacrtati kao shematska karta: %1").arg(*refusal)};
        summary.schematic = drawn;
    }
    summary.stopsUsed = places.stopsUsed;
    summary.stopsMerged = places.stopsMerged;
    summary.stations = model.scheme.StationCount;
    summary.segments = model.scheme.SegmentCount;
    summary.directionPairsJoined = network.directionPairsJoined;
    summary.largestError = layout.largestError;
    summary.day = trams.day;
    summary.tripsOnDay = trams.trips;
    summary.moment = trams.moment;
    return result;
}

} // namespace

std::optional<Refusal> ImportGtfs(FeedFiles& files, const ImportOptions& options, ImportResult& result)
{
    try {
        result = build(files, options);
    } catch (const FeedError& error) {
        return error.text;
    }
    return std::nullopt;
}

std::optional<Refusal> ImportGtfs(const QString& path, const ImportOptions& options, ImportResult& result)
{
    try {
        const auto files = OpenFeedFiles(path);
        return ImportGtfs(*files, options, result);
    } catch (const FeedError& error) {
        return error.text;
    }
}

} // namespace tram::gtfs
