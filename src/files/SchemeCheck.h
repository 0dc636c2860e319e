#pragma once

#include "model/Scheme.h"

#include <QStringList>

namespace tram {

// The editor stores every reference as typed; this lists the ones that name
// nothing or look wrong, one line per finding, in file order (segments and
// their vertices, lights, stations, trams, routes and their slots):
// "stanica 3: segment 41 ne postoji".
QStringList CheckScheme(const Scheme& scheme);

} // namespace tram
