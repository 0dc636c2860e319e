#pragma once

#include "model/Refusal.h"

#include <QString>
#include <limits>

namespace tram {

// The editing commands' refusals, each worded once.

// Where a value was typed: the box with this caption, or box k of the route's
// segments, which have no caption of their own.
QString BoxCaptioned(const QString& caption);
QString RouteSegmentBox(int k);

// What a field holds: "izmedju 0 i 255".
QString Between(int lowest, int highest);
template <typename Field>
QString RangeOf()
{
    return Between(std::numeric_limits<Field>::min(), std::numeric_limits<Field>::max());
}
inline const QString AnyFiniteNumber = QStringLiteral("konacan broj");

// A typed value that does not fit its field:
// "Vrijednost u polju "Ruta:" mora biti izmedju 0 i 255."
Refusal DoesNotFit(const QString& box, const QString& allowed);

// A creation past the end of its table:
// "Nova ruta nije dodana: vec postoji najvise 20 ruta."
// `notAdded` names the element, `elements` counts them after the limit.
Refusal TableFull(const QString& notAdded, int limit, const QString& elements);

} // namespace tram
