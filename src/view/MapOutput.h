#pragma once

#include "model/EditorModel.h"
#include "view/StationLabels.h"

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QString>
#include <optional>
#include <vector>

namespace tram {

// The map for printing and sharing: the canvas picture drawn pass by pass,
// with the canvas's geometry, colours and order, onto a larger image, an SVG
// or a PDF page, with the station names when they are given.
struct MapLabels {
    QFont font;
    std::vector<StationLabel> placed;
};

struct MapScene {
    const Scheme& scheme;
    EditState edit;
    DisplaySettings display;
    std::optional<MapLabels> labels;
};

inline constexpr int MaxMapScale = 16;

// The canvas picture `scale` times wider and higher (1..MaxMapScale), every
// length scaled, in the canvas image format.
QImage MapImage(const MapScene& scene, int scale);

// An SVG document of the canvas size in pixels (at 96 dpi), one element per
// stroked piece and per circle, the names as text.
QByteArray MapSvg(const MapScene& scene, const QString& title);

// A one-page PDF: a page of the canvas size in points, or an A4 or A3 page in
// landscape with the map scaled to fit within margins of 10 mm, centred.
enum class Paper { FitMap, A4, A3 };
QByteArray MapPdf(const MapScene& scene, Paper paper, const QString& title);

} // namespace tram
