#pragma once

#include <QByteArray>
#include <QString>

namespace tram {

// Scheme files keep text in Windows-1250, the single-byte code page of the
// editor's language, one byte per character, so a fixed-width field keeps
// its width in both directions.

// One byte per UTF-16 unit; a unit the code page has no byte for becomes '?'.
QByteArray ToCodePage(QStringView text);

// One character per byte. The five bytes the code page leaves undefined (0x81,
// 0x83, 0x88, 0x90, 0x98) become the control characters of the same number,
// as Windows reads them, and ToCodePage writes those back as the same bytes:
// no name byte is lost between an open and a save.
QString FromCodePage(QByteArrayView bytes);

// Whether this system can convert to and from the code page at all. Without
// it every name character would come out as '?' (or U+FFFD): the scheme file
// refuses to write or read station names then.
bool CodePageAvailable();

// Whether the character stands for one of those undefined bytes.
bool StandsForUndefinedByte(QChar c);

} // namespace tram
