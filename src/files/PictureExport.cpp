#include "files/PictureExport.h"

#include "files/SafeWrite.h"

#include <QBuffer>

namespace tram {

std::optional<QString> ExportPicture(const QImage& image, const QString& fileName)
{
    QByteArray bitmap;
    QBuffer buffer(&bitmap);
    buffer.open(QIODevice::WriteOnly);
    const auto reason = image.save(&buffer, "BMP") ? WriteWholeFile(fileName, bitmap)
                                                   : QStringLiteral("slika se ne moze kodirati");
    if (!reason)
        return std::nullopt;
    return FileProblem(fileName, QStringLiteral("sacuvana"), *reason);
}

} // namespace tram
