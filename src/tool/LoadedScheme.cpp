#include "LoadedScheme.h"

#include "files/SchemeFile.h"

#include <QFileInfo>

namespace tram {

std::optional<Refusal> LoadSchemeForTool(const QString& path, LoadedScheme& loaded)
{
    if (auto refusal = LoadSchemeFile(path, loaded.scheme))
        return refusal;
    loaded.fileSize = QFileInfo(path).size();
    loaded.extraBytes = loaded.fileSize - WriteSchemeBytes(loaded.scheme).size();
    return std::nullopt;
}

std::optional<QString> ExtraBytesProblem(const LoadedScheme& loaded)
{
    if (loaded.extraBytes <= 0)
        return std::nullopt;
    return QStringLiteral("visak bajtova iza posljednjeg unosa rute: %1").arg(loaded.extraBytes);
}

} // namespace tram
