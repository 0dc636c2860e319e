#pragma once

#include "model/Refusal.h"

#include <QImage>

namespace tram {

// Writes the image as a Windows bitmap (or in another format QImage writes,
// such as "PNG") under exactly the given name, whatever its extension,
// replacing any file of that name. The picture goes to a temporary file beside
// the target first, so a failure leaves neither a partial file nor a damaged
// old one.
[[nodiscard]] std::optional<Refusal> ExportPicture(const QImage& image, const QString& fileName,
                                                   const char* format = "BMP");

} // namespace tram
