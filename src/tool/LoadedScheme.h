#pragma once

#include "model/Scheme.h"

#include <QString>

namespace tram {

// A scheme file as the editor's reader takes it, with what the reader leaves
// unsaid: the file's size and the bytes after the last route entry, which
// the reader ignores and a save would drop.
struct LoadedScheme {
    Scheme scheme;
    qint64 fileSize = 0;
    qint64 extraBytes = 0;
};

bool LoadSchemeForTool(const QString& path, LoadedScheme& loaded, QString* error);

// The finding for extra bytes, or an empty text when there are none.
QString ExtraBytesProblem(const LoadedScheme& loaded);

} // namespace tram
