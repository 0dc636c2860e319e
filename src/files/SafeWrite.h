#pragma once

#include "model/Refusal.h"

#include <QByteArray>

namespace tram {

// "Datoteka "PATH" nije ACTION: REASON." — how every file failure is told.
QString FileProblem(const QString& path, const QString& action, const QString& reason);

// Writes the bytes to a temporary file beside path and puts it in place only
// when all of them were written, so a failure never leaves a partial file nor
// touches the old one. Only where the folder takes no new file but the file
// itself is writable is it written in place. A refusal gives the reason only,
// for FileProblem.
[[nodiscard]] std::optional<Refusal> WriteWholeFile(const QString& path, const QByteArray& bytes);

} // namespace tram
