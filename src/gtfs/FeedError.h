#pragma once

#include <QString>

namespace tram::gtfs {

// Why a feed cannot be imported, as the user reads it. Thrown by the feed
// reader and caught where the import starts; never passes through C code.
struct FeedError {
    QString text;
};

// "stop_times.txt, red 17, stupac 4 (arrival_time): REASON"; a column below 1
// is left out.
[[noreturn]] void FailAt(const QString& file, qint64 line, int column, const QString& columnName,
                         const QString& reason);

// "FILE: REASON", for what belongs to no line.
[[noreturn]] void FailIn(const QString& file, const QString& reason);

} // namespace tram::gtfs
