#include "files/SafeWrite.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace tram {

QString FileProblem(const QString& path, const QString& action, const QString& reason)
{
    return QStringLiteral("Datoteka \"%1\" nije %2: %3.").arg(QDir::toNativeSeparators(path), action, reason);
}

std::optional<Refusal> WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    // A folder that takes no new file can still hold a writable file: that
    // one is written in place, as the only way to save it at all.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) {
        if (!QFileInfo(path).absoluteDir().exists())
            return QStringLiteral("folder ne postoji");
        return QStringLiteral("ne moze se otvoriti za pisanje");
    }
    if (file.write(bytes) != bytes.size())
        return QStringLiteral("greska pri pisanju");
    if (!file.commit())
        return QStringLiteral("ne moze se zamijeniti novom datotekom");
    return std::nullopt;
}

} // namespace tram
