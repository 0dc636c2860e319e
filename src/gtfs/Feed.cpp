#include "gtfs/Feed.h"

#include <algorithm>

namespace tram::gtfs {

QString Route::shownName() const
{
    if (!shortName.isEmpty())
        return shortName;
    return longName.isEmpty() ? id : longName;
}

bool Service::runsOn(qint64 day) const
{
    const auto has = [day](const std::vector<qint64>& days) {
        return std::binary_search(days.begin(), days.end(), day);
    };
    if (has(removed))
        return false;
    if (has(added))
        return true;
    // Julian day 0 was a Monday.
    return weekly && day >= start && day <= end && weekdays[day % 7];
}

} // namespace tram::gtfs
