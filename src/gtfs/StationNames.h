#pragma once

#include "model/Scheme.h"

#include <QStringList>
#include <vector>

namespace tram::gtfs {

struct SchemeName {
    StationName name;       // as the scheme file will hold it
    bool shortened = false; // longer than 30 characters
    QString missing;        // characters the code page has no byte for, each once
};

// The stop names of the map's stations as station names: line breaks and
// runs of blanks made one blank, composed characters joined (c and a
// combining caron become č). A name over 30 characters loses its trailing
// parts, one by one ("(...)" at the end, or what follows the last comma or
// " - "), while what is left is longer and still no other station's name,
// nor what another long name could become; one still too long is cut after
// its last whole word within 29 characters and ends with ".". Then every
// character the Windows-1250 code page lacks is replaced by the '?' the
// file writer puts there.
std::vector<SchemeName> ToSchemeNames(const QStringList& stopNames);

} // namespace tram::gtfs
