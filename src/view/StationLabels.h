#pragma once

#include "model/EditorModel.h"
#include "model/Refusal.h"

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>
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
};

// Places the names of the stations, in their order, each at the first free
// place around its symbol: right, left, above, below, then the four corners,
// first next to the symbol, then just past the edge of its track, then a line
// further out. A place is free when it stays on the canvas and covers no
// label placed before and no symbol (every station, and the lights when they
// are shown); a free place off the tracks wins over one on them. Where no
// place is free the label goes where it covers least, and is not clear.
// Stations without a name get no label.
std::vector<StationLabel> PlaceStationLabels(const Scheme& scheme, const DisplaySettings& display,
                                             const QFont& font);

// Writes the names in black, in canvas coordinates.
void DrawStationLabels(QPainter& painter, const std::vector<StationLabel>& labels, const QFont& font);

} // namespace tram
