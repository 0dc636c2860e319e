#pragma once

#include "model/Scheme.h"

#include <QString>

namespace tram::gtfs {

struct SchemeName {
    StationName name;  // as the scheme file will hold it
    bool cut = false;  // longer than 30 characters
    QString missing;   // characters the code page has no byte for, each once
};

// A stop name as a station name: line breaks and runs of blanks made one
// blank, composed characters joined (c and a combining caron become č),
// every character the Windows-1250 code page lacks replaced by the '?' the
// file writer puts there, then cut to 30 characters.
SchemeName ToSchemeName(const QString& stopName);

} // namespace tram::gtfs
