#include "files/PictureExport.h"

#include <QSaveFile>

namespace tram {

std::optional<QString> ExportPicture(const QImage& image, const QString& fileName)
{
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly) && image.save(&file, "BMP") && file.commit())
        return std::nullopt;
    return QStringLiteral("Slika nije sacuvana: u datoteku \"%1\" nije moguce pisati.").arg(fileName);
}

} // namespace tram
