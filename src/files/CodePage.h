#pragma once

#include <QByteArray>
#include <QString>

namespace tram {

// Scheme files keep text in Windows-1250, the single-byte code page of the
// editor's language, one byte per character, so a fixed-width field keeps
// its width in both directions.

// One byte per UTF-16 unit; a unit the code page has no byte for becomes '?'.
QByteArray ToCodePage(QStringView text);

// One character per byte; a byte the code page leaves undefined (0x81, 0x83,
// 0x88, 0x90, 0x98) becomes U+FFFD, the replacement character.
QString FromCodePage(QByteArrayView bytes);

} // namespace tram
