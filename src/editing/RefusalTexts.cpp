#include "editing/RefusalTexts.h"

namespace tram {

QString BoxCaptioned(const QString& caption)
{
    return QStringLiteral("polju \"%1\"").arg(caption);
}

QString RouteSegmentBox(int k)
{
    return QStringLiteral("%1. polju segmenata rute").arg(k);
}

QString Between(int lowest, int highest)
{
    return QStringLiteral("izmedju %1 i %2").arg(lowest).arg(highest);
}

Refusal DoesNotFit(const QString& box, const QString& allowed)
{
    return QStringLiteral("Vrijednost u %1 mora biti %2.").arg(box, allowed);
}

Refusal TableFull(const QString& notAdded, int limit, const QString& elements)
{
    return QStringLiteral("%1: vec postoji najvise %2 %3.").arg(notAdded).arg(limit).arg(elements);
}

} // namespace tram
