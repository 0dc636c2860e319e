#pragma once

#include "gtfs/FeedFiles.h"

#include <functional>
#include <string>
#include <vector>

namespace tram::gtfs {

// One record of a CSV file: its fields and the line it starts on (1 for the
// header). The fields are reused for the next record.
struct CsvRecord {
    const std::vector<std::string>& fields;
    int count;
    qint64 line;
};

// Reads a whole file as RFC 4180 CSV, the rules the GTFS reference sets:
// fields with commas, quotes or line breaks in double quotes, a quote in them
// doubled, LF or CRLF line ends, a UTF-8 byte order mark skipped, blank lines
// ignored, blanks around unquoted fields dropped. The file is read in pieces,
// so its size does not matter. Throws FeedError naming the file, line and
// column of a quote out of place, a quoted field never closed, a field longer
// than 1 MiB or a read error.
void ReadCsv(FeedStream& stream, const QString& file, const std::function<void(const CsvRecord&)>& onRecord);

} // namespace tram::gtfs
