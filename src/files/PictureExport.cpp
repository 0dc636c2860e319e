#include "files/PictureExport.h"

#include "files/SafeWrite.h"

#include <QBuffer>

namespace tram {

std::optional<Refusal> ExportPicture(const QImage& image, const QString& fileName, const char* format)
{
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    const auto reason = image.save(&buffer, format) ? WriteWholeFile(fileName, encoded)
                                                    : QStringLiteral("slika se ne moze kodirati");
    if (!reason)
        return std::nullopt;
    return FileProblem(fileName, QStringLiteral("sacuvana"), *reason);
}

} // namespace tram
