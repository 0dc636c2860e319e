// Feeds arbitrary bytes to the GTFS reader. The input is split at NUL bytes
// into the files of a feed. Besides crashes and undefined behaviour it checks
// the reader's promises: the CSV reader either refuses with the file, line
// and column or gives records that read back the same once written again,
// and the import either refuses with a reason or gives a scheme within the
// limits whose stations the editor finds on vertices of their segments.
#include "gtfs/CsvReader.h"
#include "gtfs/FeedError.h"
#include "gtfs/GtfsImport.h"
#include "view/Geometry.h"

#include <QRegularExpression>
#include <cstdlib>

namespace {

using Records = std::vector<std::vector<std::string>>;

const char* const FileNames[] = {"stops.txt",    "routes.txt", "trips.txt",          "stop_times.txt",
                                 "calendar.txt", "shapes.txt", "calendar_dates.txt", "frequencies.txt"};

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// The records of a file, or nothing when the reader refuses it (and then
// the message must name the place).
std::optional<Records> readRecords(const QByteArray& bytes)
{
    tram::gtfs::MemoryFeed feed({{QStringLiteral("f.txt"), bytes}});
    Records records;
    try {
        tram::gtfs::ReadCsv(*feed.open(QStringLiteral("f.txt")), QStringLiteral("f.txt"),
                            [&](const tram::gtfs::CsvRecord& r) {
                                records.emplace_back(r.fields.begin(), r.fields.begin() + r.count);
                            });
    } catch (const tram::gtfs::FeedError& error) {
        static const QRegularExpression place(QStringLiteral("^f\\.txt, red [1-9][0-9]*, stupac [1-9][0-9]*: "));
        require(place.match(error.text).hasMatch());
        return std::nullopt;
    }
    return records;
}

QByteArray written(const Records& records)
{
    QByteArray bytes;
    for (const auto& record : records) {
        for (size_t f = 0; f < record.size(); ++f) {
            bytes += f ? ",\"" : "\"";
            bytes += QByteArray::fromStdString(record[f]).replace("\"", "\"\"");
            bytes += '"';
        }
        bytes += "\r\n";
    }
    return bytes;
}

void checkScheme(const tram::Scheme& s)
{
    using namespace tram;
    require(s.SegmentCount <= MaxSegments && s.StationCount <= MaxStations && s.RouteCount <= MaxRoutes
            && s.TramCount <= MaxTrams && s.LightCount == 0);
    for (int seg = 1; seg <= s.SegmentCount; ++seg) {
        require(s.PointCount[seg] >= 2 && s.PointCount[seg] <= MaxPoints);
        for (int j = 1; j <= s.PointCount[seg]; ++j)
            require(s.Points[seg][j].X >= 0 && s.Points[seg][j].X < 1000 && s.Points[seg][j].Y >= 0
                    && s.Points[seg][j].Y < 392);
    }
    for (int i = 1; i <= s.StationCount; ++i) {
        const Station& station = s.Stations[i];
        require(station.Segment >= 1 && station.Segment <= s.SegmentCount);
        const MapPoint at = LocateOnSegment(s, station.Segment, station.Position);
        bool onVertex = false;
        for (int j = 1; j <= s.PointCount[station.Segment]; ++j)
            onVertex = onVertex || s.Points[station.Segment][j] == at;
        require(onVertex);
    }
    for (int r = 1; r <= s.RouteCount; ++r) {
        require(s.RouteLength[r] >= 1 && s.RouteLength[r] <= MaxRouteSlots);
        for (int k = 1; k <= s.RouteLength[r]; ++k)
            require(s.RouteSegments[r][k] >= 1 && s.RouteSegments[r][k] <= s.SegmentCount);
    }
    for (int t = 1; t <= s.TramCount; ++t)
        require(s.TramRoute[t] >= 1 && s.TramRoute[t] <= s.RouteCount && s.TramSerial[t] == t + 100);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QList<QByteArray> parts = input.split('\0');

    if (const auto records = readRecords(parts[0])) {
        const auto again = readRecords(written(*records));
        require(again && *again == *records);
    }

    QHash<QString, QByteArray> files;
    for (qsizetype i = 0; i < parts.size() && i < qsizetype(std::size(FileNames)); ++i)
        files.insert(QLatin1String(FileNames[i]), parts[i]);
    tram::gtfs::MemoryFeed feed(files);
    tram::gtfs::ImportResult result;
    if (const auto refusal = tram::gtfs::ImportGtfs(feed, {}, result))
        require(!refusal->isEmpty());
    else
        checkScheme(result.scheme);
    return 0;
}
