#pragma once

#include "model/EditorModel.h"
#include "model/Refusal.h"

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace tram {

// DejaVu Sans from Debian's fonts-dejavu-core, loaded from its file so that the
// names look the same whatever font the system would choose.
inline constexpr char LabelFontFile[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
inline constexpr int LabelPixelSize = 12;

// The font of the station names; needs a QGuiApplication.
[[nodiscard]] std::optional<Refusal> LoadLabelFont(QFont& font);

// The name as a label shows it: without the padding blanks, and with the
// NULs of a name never applied and other control characters left out.
QString LabelText(const StationName& name);

struct StationLabel {
    int station = 0;
    QString text;
    QRectF box;         // canvas coordinates: the text with a margin of one pixel
    QPointF baseline;   // where the text starts
    bool clear = true;  // on the canvas, over no other label and no symbol
    double onTrack = 0; // the share of the box on a track's band or a pixel beside it
};

// How far a name may lie from its station: the nearest point of its box
// from the station's centre, in pixels.
inline constexpr double LabelReach = 20;
// The most of a name's box a track's band may cover.
inline constexpr double MostOnTrack = 0.25;

// A station's name as its label shows it, and the box of its text from the
// baseline: the line box, widened to the ink where a letter reaches beyond.
struct MeasuredName {
    int station = 0;
    QString text;
    QRectF ink;
};

// The names of the stations that have one, measured in the font; on the
// thread that loaded it.
std::vector<MeasuredName> MeasureNames(const Scheme& scheme, const QFont& font);

// Places the names of the stations, each beside its own station: within
// LabelReach of it, on the canvas, over no other name and no symbol (every
// station, and the lights when they are shown), with as little of it on a
// track as there can be and never more than MostOnTrack. The names with the
// fewest such places are placed first, and a name that finds none moves an
// already placed one aside where that makes room. Where no place is left the
// name goes where it covers least, and is not clear. Stations without a name
// get no label.
std::vector<StationLabel> PlaceStationLabels(const Scheme& scheme, const DisplaySettings& display, const QFont& font);
// The same for names measured before, without the font: on any thread.
std::vector<StationLabel> PlaceStationLabels(const Scheme& scheme, const DisplaySettings& display,
                                             const std::vector<MeasuredName>& names);

// Room for one station's name among the names placed already, with the
// station moved to another point of its track: for a layout that slides
// stations along their segments to make room for their names. The tracks
// stay as they are.
class NameRoom {
public:
    NameRoom(const Scheme& scheme, const DisplaySettings& display, const std::vector<MeasuredName>& names,
             const std::vector<StationLabel>& placed);
    ~NameRoom();
    NameRoom(const NameRoom&) = delete;
    NameRoom& operator=(const NameRoom&) = delete;

    // Whether the station's name finds a clear place with the station at
    // `at`, its symbol there over no other name placed.
    bool fits(int station, MapPoint at) const;

private:
    struct Room;
    std::unique_ptr<Room> room_;
};

// Writes the names in black, in canvas coordinates.
void DrawStationLabels(QPainter& painter, const std::vector<StationLabel>& labels, const QFont& font);

} // namespace tram
