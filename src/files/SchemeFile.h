#pragma once

#include "model/Refusal.h"
#include "model/Scheme.h"

#include <QByteArray>
#include <QString>

namespace tram {

// The scheme file: counts and table elements 1..count in a fixed order,
// little-endian, no padding, no header and no trailer. Element 0 of every
// table is never written or read.

// The largest file the reader can use; anything after it is never read.
extern const qsizetype MaxSchemeFileSize;

// The exact bytes of the file for this scheme. Counts beyond the tables'
// limits and names without their code page are the caller's fault
// (SaveSchemeFile refuses them); only the elements that exist are written.
QByteArray WriteSchemeBytes(const Scheme& scheme);

// Reads a whole file image. The input is checked completely first (ends
// early, negative counts, counts above the tables' limits, station names on a
// system without their code page); a refusal says why. Only the counts and
// elements 1..count change. Bytes after the last route entry are ignored.
[[nodiscard]] std::optional<Refusal> ReadSchemeBytes(const QByteArray& bytes, Scheme& scheme);

// Writes through a temporary file beside the target, so a failure never
// destroys the previous file. Refuses counts no file can hold, and station
// names where the system lacks their code page. A refusal names the file and
// the reason.
[[nodiscard]] std::optional<Refusal> SaveSchemeFile(const QString& path, const Scheme& scheme);

// Reads the file into the scheme as ReadSchemeBytes does; a refusal names the
// file and the reason.
[[nodiscard]] std::optional<Refusal> LoadSchemeFile(const QString& path, Scheme& scheme);

} // namespace tram
