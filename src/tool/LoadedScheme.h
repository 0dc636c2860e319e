#pragma once

#include "model/Refusal.h"
#include "model/Scheme.h"

namespace tram {

// A scheme file as the editor's reader takes it, with what the reader leaves
// unsaid: the file's size and the bytes after the last route entry, which
// the reader ignores and a save would drop.
struct LoadedScheme {
    Scheme scheme;
    qint64 fileSize = 0;
    qint64 extraBytes = 0;
};

[[nodiscard]] std::optional<Refusal> LoadSchemeForTool(const QString& path, LoadedScheme& loaded);

// The finding for extra bytes, if there are any.
std::optional<QString> ExtraBytesProblem(const LoadedScheme& loaded);

} // namespace tram
