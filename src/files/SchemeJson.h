#pragma once

#include "model/Refusal.h"
#include "model/Scheme.h"

#include <QByteArray>

namespace tram {

// The scheme as readable, stable JSON: one array per table, each up to its
// count, every field of every element, names with all 30 characters, positions
// as numbers. Values JSON has no number for (-0, infinities, NaN) are strings:
// "-0", "Infinity", "-Infinity", "NaN", or "0x" and the 16 hex digits of the
// value's bits, so every scheme comes back bit for bit.
QByteArray SchemeToJson(const Scheme& scheme);

// Reads the JSON form back with the limits and field ranges of the scheme
// file; a name shorter than 30 characters is padded with blanks, as the
// editor applies names. Everything is checked before the scheme changes: a
// refusal names the place, counting elements from 1 like the editor
// ("stations[3].segment: ...").
[[nodiscard]] std::optional<Refusal> SchemeFromJson(const QByteArray& json, Scheme& scheme);

} // namespace tram
