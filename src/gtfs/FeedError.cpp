#include "gtfs/FeedError.h"

namespace tram::gtfs {

void FailAt(const QString& file, qint64 line, int column, const QString& columnName, const QString& reason)
{
    QString place = QStringLiteral("%1, red %2").arg(file).arg(line);
    if (column >= 1)
        place += QStringLiteral(", stupac %1").arg(column);
    if (!columnName.isEmpty())
        place += QStringLiteral(" (%1)").arg(columnName);
    throw FeedError{QStringLiteral("%1: %2").arg(place, reason)};
}

void FailIn(const QString& file, const QString& reason)
{
    throw FeedError{QStringLiteral("%1: %2").arg(file, reason)};
}

} // namespace tram::gtfs
