#pragma once

#include "model/EditorModel.h"
#include "model/Refusal.h"

#include <optional>

namespace tram {

// The property panel as the user sees it: one text per box.
struct PropertyTexts {
    QString number;       // "Redni broj:", never read back
    QString segment;      // "Na segmentu:"
    QString position;     // "Pozicija:"
    QString time1;        // "Vrijeme1:"
    QString time2;        // "Vrijeme2:"
    QString initialState; // "Pocetno stanje:"
    QString name;         // "Naziv stanice:"
    friend bool operator==(const PropertyTexts&, const PropertyTexts&) = default;
};

// Append a station (Time1 = 10) or a light (InitialState = 0, Time1 = Time2 = 10)
// and select it. Every other field keeps what the reused element holds. A full
// table refuses with the returned text and changes nothing.
[[nodiscard]] std::optional<Refusal> NewStation(EditorModel& model);
[[nodiscard]] std::optional<Refusal> NewLight(EditorModel& model);

// The panel texts of the selected station or light; nothing when nothing is
// selected, so the panel keeps what it shows.
std::optional<PropertyTexts> ShowSelectedObject(const EditorModel& model);

// Writes the panel into the selected object, all fields or none: a value that
// does not fit its field refuses the whole edit with a text naming the box.
// With nothing selected nothing happens. A light's Counter restarts at 0.
[[nodiscard]] std::optional<Refusal> ApplyProperties(const PropertyTexts& texts, EditorModel& model);

// A name as stored: padded with blanks to 30 characters, or its first 30.
StationName StoredName(const QString& typed);
// A stored name as shown: without leading and trailing blanks or code-0 padding.
QString ShownName(const StationName& name);

} // namespace tram
