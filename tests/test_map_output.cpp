// Maps to print and share: tram-map-tool render to SVG, PDF, larger pictures
// and with station names, held to the canvas picture; and where the names go.

#include "files/SchemeFile.h"
#include "support/Files.h"
#include "support/Schemes.h"
#include "support/ToolRun.h"
#include "view/MapOutput.h"
#include "view/Renderer.h"

#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using namespace tram;
using namespace testfiles;
using namespace testschemes;
using namespace testtool;

namespace {

const QRgb White = qRgb(255, 255, 255);

// Network() with segment 2 ending in a piece of zero length, a dot.
Scheme networkWithDot()
{
    Scheme s = Network();
    s.Points[2][++s.PointCount[2]] = {400, 40};
    return s;
}

// Stations every 40 pixels along a line and along a line crossing it, with
// names about twice as long as that: there is room for every name beside its
// station, but only by using both sides of the lines in turn.
Scheme crowded()
{
    Scheme s;
    AddSegment(s, {{60, 196}, {940, 196}});
    AddSegment(s, {{500, 20}, {500, 372}});
    const QString names[] = {QStringLiteral("Čačak"), QStringLiteral("Ćuprija"), QStringLiteral("Đurđevik"),
                             QStringLiteral("Šibenik"), QStringLiteral("Žepče")};
    int n = 0;
    for (int x = 20; x <= 820; x += 40) {
        if (x > 400 && x < 480)
            continue; // the crossing
        ++n;
        s.Stations[n] = {1, double(x), 10, PaddedName(names[n % 5] + QString::number(n))};
    }
    for (int y = 30; y <= 340; y += 40) {
        ++n;
        s.Stations[n] = {2, double(y), 10, PaddedName(names[n % 5] + QStringLiteral(" sjever ") + QString::number(n))};
    }
    s.StationCount = uint8_t(n);
    s.LightCount = 2;
    s.Lights[1] = {1, 10.0, 0, 10, 10, 0};
    s.Lights[2] = {2, 190.0, 1, 10, 10, 0};
    return s;
}

QString colourText(QRgb c)
{
    return QStringLiteral("(%1, %2, %3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}

// The least and greatest of each colour component within `reach` pixels.
struct ColourRange {
    int low[3] = {255, 255, 255};
    int high[3] = {0, 0, 0};
    bool uniform() const { return low[0] == high[0] && low[1] == high[1] && low[2] == high[2]; }
};

ColourRange rangeAround(const QImage& image, int x, int y, int reach)
{
    ColourRange range;
    for (int v = std::max(0, y - reach); v <= std::min(image.height() - 1, y + reach); ++v) {
        for (int u = std::max(0, x - reach); u <= std::min(image.width() - 1, x + reach); ++u) {
            const QRgb c = image.pixel(u, v);
            const int parts[3] = {qRed(c), qGreen(c), qBlue(c)};
            for (int i = 0; i < 3; ++i) {
                range.low[i] = std::min(range.low[i], parts[i]);
                range.high[i] = std::max(range.high[i], parts[i]);
            }
        }
    }
    return range;
}

// Whether `got` shows the picture `want` up to antialiasing. An antialiased
// edge mixes the colours that meet there, and the rasteriser may put it up
// to a pixel and a half from where the aliased canvas has it (the aliased pen
// covers whole pixels; the exact shape also touches part of the pixel
// beyond). So where `want` is of one colour within 2 pixels (the background,
// the inside of bands) `got` must have exactly that colour, and elsewhere
// each component must lie between the least and the greatest of `want`
// within 2 pixels, give or take 10. The 10 is one pass shade: the passes of
// a band are half a pixel apart, so the aliased canvas drops some of their
// rings altogether, which a finer drawing shows, mixed or whole. Where a
// vertex circle, a ring one pixel wide, crosses a shaded band, its mixed
// pixels also show shades the aliased ring hides: any colour goes within 2
// pixels of where `want` differs from `wantWithoutRings`, the same picture
// without the vertex circles. The first pixel that breaks the rules is told
// in `failure`.
bool matchesUpToAntialiasing(const QImage& want, const QImage& wantWithoutRings, const QImage& got, QString& failure)
{
    if (got.size() != want.size()) {
        failure = QStringLiteral("size %1 x %2").arg(got.width()).arg(got.height());
        return false;
    }
    auto nearRing = [&](int x, int y) {
        for (int v = std::max(0, y - 2); v <= std::min(want.height() - 1, y + 2); ++v) {
            for (int u = std::max(0, x - 2); u <= std::min(want.width() - 1, x + 2); ++u) {
                if (want.pixel(u, v) != wantWithoutRings.pixel(u, v))
                    return true;
            }
        }
        return false;
    };
    const int slack = 10;
    for (int y = 0; y < want.height(); ++y) {
        for (int x = 0; x < want.width(); ++x) {
            const QRgb g = got.pixel(x, y);
            if (g == want.pixel(x, y))
                continue;
            const ColourRange range = rangeAround(want, x, y, 2);
            const int parts[3] = {qRed(g), qGreen(g), qBlue(g)};
            bool inRange = !range.uniform();
            for (int i = 0; i < 3; ++i)
                inRange = inRange && parts[i] >= range.low[i] - slack && parts[i] <= range.high[i] + slack;
            if (!inRange && !nearRing(x, y)) {
                failure = QStringLiteral("(%1, %2): %3 for %4")
                              .arg(x)
                              .arg(y)
                              .arg(colourText(g), colourText(want.pixel(x, y)));
                return false;
            }
        }
    }
    return true;
}

QImage rasterisedSvg(const QByteArray& svg, QSize size)
{
    QSvgRenderer renderer(svg);
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255)); // what the document fails to cover shows
    if (!renderer.isValid())
        return {};
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    return image;
}

// The first page at 72 dpi, so a point is a pixel.
QImage rasterisedPdf(const QString& pdf, const QString& prefix)
{
    QProcess process;
    process.start(QStringLiteral("pdftoppm"), {"-r", "72", "-png", "-singlefile", pdf, prefix});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

QRect inkBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != White)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

} // namespace

class MapOutputTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    QString schemeFile(const QString& name, const Scheme& scheme)
    {
        if (const auto refusal = SaveSchemeFile(path(name), scheme))
            qWarning("%s", qPrintable(*refusal));
        return path(name);
    }
    // The tool's PNG with the same options: the canvas picture.
    QImage canvasPicture(const QStringList& options)
    {
        const QString out = path(QStringLiteral("canvas.png"));
        if (runTool(QStringList{"render", path("network.sch"), out} + options).exitCode != 0)
            return {};
        return QImage(out).convertToFormat(QImage::Format_RGB32);
    }

private slots:
    void initTestCase();
    void vectorShowsTheCanvas_data();
    void vectorShowsTheCanvas();
    void svgStrokesEachPieceAndCircle();
    void pdfPage_data();
    void pdfPage();
    void largePictureIsDrawnLarge();
    void labelsKeepTheirLetters();
    void crowdedLabelsDoNotOverlap();
    void labelsAtTheEdgeStayBesideTheirStation_data();
    void labelsAtTheEdgeStayBesideTheirStation();
    void whereNoRoomIsLeftItIsSaid();
};

void MapOutputTest::initTestCase()
{
    QVERIFY(dir.isValid());
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty(),
             "pdftoppm (poppler-utils) is needed: scripts/setup.sh installs it");
    schemeFile(QStringLiteral("network.sch"), networkWithDot());
    schemeFile(QStringLiteral("crowded.sch"), crowded());
}

void MapOutputTest::vectorShowsTheCanvas_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QStringList>("options");
    QTest::newRow("svg, start-up settings") << "map.svg" << QStringList{};
    QTest::newRow("svg, route, mark, thin pen")
        << "map.SVG" << QStringList{"--route", "1", "--mark", "2", "--width", "7"};
    QTest::newRow("svg, wide pen, big circles, no stations")
        << "map.svg" << QStringList{"--width", "40", "--circle", "25", "--no-stations"};
    QTest::newRow("svg, clean") << "map.svg" << QStringList{"--clean", "--mark", "3", "--route", "1"};
    QTest::newRow("pdf, start-up settings") << "map.pdf" << QStringList{};
    QTest::newRow("pdf, route and mark") << "map.Pdf" << QStringList{"--route", "1", "--mark", "3", "--width", "12"};
}

void MapOutputTest::vectorShowsTheCanvas()
{
    QFETCH(QString, output);
    QFETCH(QStringList, options);
    const QImage want = canvasPicture(options);
    const QImage withoutRings = canvasPicture(options + QStringList{"--no-circles"});
    QVERIFY(!want.isNull());
    const QString out = path(output);
    const ToolRun run = runTool(QStringList{"render", path("network.sch"), out} + options);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.isEmpty(), run.err.constData());

    const QImage got = output.endsWith(QStringLiteral("svg"), Qt::CaseInsensitive)
        ? rasterisedSvg(FileBytes(out), want.size())
        : rasterisedPdf(out, path(QStringLiteral("page")));
    QVERIFY(!got.isNull());
    QString failure;
    QVERIFY2(matchesUpToAntialiasing(want, withoutRings, got, failure), qPrintable(failure));
}

void MapOutputTest::svgStrokesEachPieceAndCircle()
{
    const QString out = path(QStringLiteral("counted.svg"));
    QCOMPARE(runTool({"render", path("network.sch"), out, "--width", "30"}).exitCode, 0);
    const QString svg = QString::fromUtf8(FileBytes(out));
    // 9 pieces, one of them of zero length (a dot: a filled circle), in one
    // black pass and 24 shaded ones.
    const int passes = 25;
    QCOMPARE(svg.count(QStringLiteral("<polyline")), 8 * passes);
    // The dots, 13 vertex circles, 6 rings for each of 3 stations, 4 for each
    // of 3 lights.
    QCOMPARE(svg.count(QStringLiteral("<circle")), passes + 13 + 3 * 6 + 3 * 4);
    QVERIFY(svg.contains(QStringLiteral("stroke-linecap=\"round\"")));
    QVERIFY(!svg.contains(QStringLiteral("<image")));
}

void MapOutputTest::pdfPage_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("size"); // as pdfinfo tells it
    QTest::addColumn<QSize>("pixels"); // at 72 dpi
    QTest::newRow("the map's size") << QStringList{} << "1000 x 392 pts" << QSize(1000, 392);
    QTest::newRow("A4") << QStringList{"--page", "A4"} << "842 x 595 pts (A4)" << QSize(842, 595);
    QTest::newRow("A3") << QStringList{"--page", "a3", "--labels"} << "1191 x 842 pts (A3)" << QSize(1191, 842);
}

void MapOutputTest::pdfPage()
{
    QFETCH(QStringList, options);
    QFETCH(QString, size);
    QFETCH(QSize, pixels);
    const QString out = path(QStringLiteral("page.pdf"));
    QCOMPARE(runTool(QStringList{"render", path("network.sch"), out} + options).exitCode, 0);

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {out});
    QVERIFY(info.waitForFinished(60000));
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(text.contains(QRegularExpression(QStringLiteral("\\nPages: +1\\n"))), qPrintable(text));
    QVERIFY2(text.contains(QRegularExpression(QStringLiteral("\\nPage size: +") + QRegularExpression::escape(size))),
             qPrintable(text));

    // The drawn part of the map, scaled to fit within 10 mm margins and centred.
    const QImage page = rasterisedPdf(out, path(QStringLiteral("page")));
    QCOMPARE(page.size(), pixels);
    const QRect drawn = inkBounds(canvasPicture({}));
    const double margin = options.isEmpty() ? 0 : 10 / 25.4 * 72;
    const QSizeF area = QSizeF(pixels) - QSizeF(2 * margin, 2 * margin);
    const double fit = std::min(area.width() / Canvas::Width, area.height() / Canvas::Height);
    const QPointF origin(margin + (area.width() - fit * Canvas::Width) / 2,
                         margin + (area.height() - fit * Canvas::Height) / 2);
    const QRect shown = inkBounds(page);
    auto near = [](double a, double b) { return std::abs(a - b) <= 2; };
    QVERIFY2(
        near(shown.left(), origin.x() + fit * drawn.left())
            && near(shown.right() + 1, origin.x() + fit * (drawn.right() + 1))
            && near(shown.top(), origin.y() + fit * drawn.top())
            && near(shown.bottom() + 1, origin.y() + fit * (drawn.bottom() + 1)),
        qPrintable(
            QStringLiteral("map at %1,%2 %3x%4").arg(shown.x()).arg(shown.y()).arg(shown.width()).arg(shown.height())));
}

void MapOutputTest::largePictureIsDrawnLarge()
{
    const int scale = 3;
    const QImage want = canvasPicture({"--route", "1"});
    const QImage withoutRings = canvasPicture({"--route", "1", "--no-circles"});
    const QString out = path(QStringLiteral("large.bmp"));
    QCOMPARE(runTool({"render", path("network.sch"), out, "--route", "1", "--scale", "3"}).exitCode, 0);
    const QImage large = QImage(out).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(large.size(), want.size() * scale);
    QCOMPARE(large.dotsPerMeterX(), want.dotsPerMeterX() * scale); // the same size on paper

    // The middle of each block of 3 x 3 is the canvas pixel, up to the
    // rounding of edges...
    QImage sampled(want.size(), QImage::Format_RGB32);
    int finer = 0;
    for (int y = 0; y < want.height(); ++y) {
        for (int x = 0; x < want.width(); ++x) {
            sampled.setPixel(x, y, large.pixel(scale * x + 1, scale * y + 1));
            // ... and the edges run through the blocks: drawn larger, not
            // blown up.
            const QRgb corner = large.pixel(scale * x, scale * y);
            for (int d = 1; d < scale * scale; ++d) {
                if (large.pixel(scale * x + d % scale, scale * y + d / scale) != corner) {
                    ++finer;
                    break;
                }
            }
        }
    }
    QString failure;
    QVERIFY2(matchesUpToAntialiasing(want, withoutRings, sampled, failure), qPrintable(failure));
    QVERIFY2(finer > 1000, qPrintable(QString::number(finer)));
}

void MapOutputTest::labelsKeepTheirLetters()
{
    Scheme scheme = networkWithDot();
    scheme.Stations[1].Name = PaddedName(QStringLiteral("  Kneževo Šiškovci Čačak"));
    scheme.Stations[2].Name = StationName{}; // never applied: all NULs, no label
    scheme.Stations[3].Name = PaddedName(QStringLiteral("Ćićevac \u0090 Đurđevac"));
    const QString file = schemeFile(QStringLiteral("names.sch"), scheme);
    const QString out = path(QStringLiteral("names.svg"));
    const ToolRun run = runTool({"render", file, out, "--labels", "--clean"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.isEmpty(), run.err.constData());

    const QString svg = QString::fromUtf8(FileBytes(out));
    const QRegularExpression textElement(QStringLiteral("<text[^>]*>([^<]*)</text>"));
    QStringList texts;
    for (const auto& match : textElement.globalMatch(svg))
        texts << match.captured(1);
    // Without the padding; the byte Windows-1250 leaves undefined is a blank.
    QCOMPARE(texts, (QStringList{QStringLiteral("Kneževo Šiškovci Čačak"), QStringLiteral("Ćićevac   Đurđevac")}));
    QVERIFY(svg.contains(QStringLiteral("font-family=\"DejaVu Sans\"")));
}

void MapOutputTest::crowdedLabelsDoNotOverlap()
{
    QFont font;
    const auto refusal = LoadLabelFont(font);
    QVERIFY2(!refusal, qPrintable(refusal.value_or(QString())));
    const Scheme scheme = crowded();
    DisplaySettings display;
    ApplyStartDisplay(display);
    const auto labels = PlaceStationLabels(scheme, display, font);
    QCOMPARE(int(labels.size()), int(scheme.StationCount));

    // The tracks as the canvas draws them: what is not white.
    Canvas drawn;
    DrawScheme(drawn, scheme, EditState{}, display);
    const QRectF canvas(0, 0, Canvas::Width, Canvas::Height);
    for (size_t i = 0; i < labels.size(); ++i) {
        const QRectF box = labels[i].box;
        QVERIFY2(labels[i].clear, qPrintable(labels[i].text));
        QVERIFY(canvas.contains(box));
        const MapPoint own = LocateOnSegment(scheme, scheme.Stations[labels[i].station].Segment,
                                             scheme.Stations[labels[i].station].Position);
        const QPointF centre(own.X + 0.5, own.Y + 0.5);
        const double dx = std::max({box.left() - centre.x(), 0.0, centre.x() - box.right()});
        const double dy = std::max({box.top() - centre.y(), 0.0, centre.y() - box.bottom()});
        QVERIFY2(std::hypot(dx, dy) <= LabelReach, qPrintable(labels[i].text));
        int onTrack = 0;
        for (int y = int(box.top()) + 1; y < int(box.bottom()); ++y) {
            for (int x = int(box.left()) + 1; x < int(box.right()); ++x)
                onTrack += drawn.image().pixel(x, y) != Canvas::Background;
        }
        QVERIFY2(onTrack == 0, qPrintable(QStringLiteral("%1: %2 pixels on a track").arg(labels[i].text).arg(onTrack)));
        for (size_t j = i + 1; j < labels.size(); ++j)
            QVERIFY2(!box.intersects(labels[j].box), qPrintable(labels[i].text + u'/' + labels[j].text));
        // No station symbol, 6 rings of a 2 pixel pen, is covered.
        for (int s = 1; s <= scheme.StationCount; ++s) {
            const MapPoint p = LocateOnSegment(scheme, scheme.Stations[s].Segment, scheme.Stations[s].Position);
            QVERIFY2(!box.intersects(QRectF(p.X - 7, p.Y - 7, 15, 15)), qPrintable(labels[i].text));
        }
    }

    // Every name's letters lie within its box.
    QImage ink(Canvas::Width, Canvas::Height, QImage::Format_ARGB32);
    ink.fill(Qt::transparent);
    {
        QPainter painter(&ink);
        DrawStationLabels(painter, labels, font);
    }
    for (int y = 0; y < ink.height(); ++y) {
        for (int x = 0; x < ink.width(); ++x) {
            if (qAlpha(ink.pixel(x, y)) == 0)
                continue;
            const bool inside = std::any_of(labels.begin(), labels.end(), [&](const StationLabel& label) {
                return label.box.contains(QPointF(x + 0.5, y + 0.5));
            });
            QVERIFY2(inside, qPrintable(QStringLiteral("ink at (%1, %2)").arg(x).arg(y)));
        }
    }
}

// A station at the end of a track that runs from the canvas's side and rises:
// a name centred over it would cross the side, and every place beside it the
// track. The name goes over or under the station, moved along the side, not
// to a place further along the track.
void MapOutputTest::labelsAtTheEdgeStayBesideTheirStation_data()
{
    QTest::addColumn<MapPoint>("end");
    QTest::addColumn<MapPoint>("inward");
    QTest::newRow("left side") << MapPoint{38, 200} << MapPoint{150, 188};
    QTest::newRow("right side") << MapPoint{961, 200} << MapPoint{849, 188};
}

void MapOutputTest::labelsAtTheEdgeStayBesideTheirStation()
{
    QFETCH(MapPoint, end);
    QFETCH(MapPoint, inward);
    QFont font;
    const auto refusal = LoadLabelFont(font);
    QVERIFY2(!refusal, qPrintable(refusal.value_or(QString())));
    Scheme scheme;
    AddSegment(scheme, {end, inward});
    scheme.StationCount = 1;
    scheme.Stations[1] = {1, 0.0, 10, PaddedName(QStringLiteral("Glavna stanica"))};
    DisplaySettings display;
    ApplyStartDisplay(display);

    const auto labels = PlaceStationLabels(scheme, display, font);
    QCOMPARE(int(labels.size()), 1);
    const QRectF box = labels[0].box;
    QVERIFY(labels[0].clear);
    QVERIFY(QRectF(0, 0, Canvas::Width, Canvas::Height).contains(box));
    QVERIFY2(box.left() <= end.X && end.X + 1 <= box.right(),
             qPrintable(QStringLiteral("%1 to %2").arg(box.left()).arg(box.right())));
}

void MapOutputTest::whereNoRoomIsLeftItIsSaid()
{
    // Twenty stations in one place: the first names find room around it,
    // the rest cannot.
    Scheme scheme;
    AddSegment(scheme, {{500, 200}, {600, 200}});
    scheme.StationCount = 20;
    for (int i = 1; i <= 20; ++i)
        scheme.Stations[i] = {1, 0.0, 10, PaddedName(QStringLiteral("Stanica %1").arg(i))};
    const QString file = schemeFile(QStringLiteral("heap.sch"), scheme);
    const QString out = path(QStringLiteral("heap.png"));
    const ToolRun run = runTool({"render", file, out, "--labels"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(QFile::exists(out));
    QVERIFY2(!run.err.contains("\"Stanica 1\""), run.err.constData());
    QVERIFY2(run.err.contains("stanica 20 \"Stanica 20\": za naziv nema slobodnog mjesta"), run.err.constData());
}

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    MapOutputTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_map_output.moc"
