#include "gtfs/StationNames.h"

#include "editing/StationsPanel.h"
#include "files/CodePage.h"

namespace tram::gtfs {

namespace {

// Whether the writer keeps the character: a byte of the code page that
// stands for a letter (not one of the bytes it leaves undefined).
bool isWritten(QChar c)
{
    return c == u'?' || (ToCodePage(QStringView(&c, 1)) != "?" && !StandsForUndefinedByte(c));
}

} // namespace

SchemeName ToSchemeName(const QString& stopName)
{
    const QString full = stopName.normalized(QString::NormalizationForm_C).simplified();
    SchemeName result;
    result.cut = full.size() > NameLength;
    QString shown = full.left(NameLength);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (isWritten(shown[i]))
            continue;
        // A character beyond 16 bits is two units, and the writer writes two '?'.
        const bool pair = shown[i].isHighSurrogate() && i + 1 < shown.size() && shown[i + 1].isLowSurrogate();
        const QString character = shown.mid(i, pair ? 2 : 1);
        if (!result.missing.contains(character))
            result.missing += character;
        shown[i] = u'?';
        if (pair)
            shown[++i] = u'?';
    }
    result.name = StoredName(shown);
    return result;
}

} // namespace tram::gtfs
