#pragma once

#include "gtfs/CsvReader.h"

#include <QString>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

namespace tram::gtfs {

// A column a reader asks for by its GTFS name.
struct Column {
    const char* name;
    bool required;
};

// One data record of a table, its fields looked up by the index of the
// column in the list the reader asked for. Every refusal names the file, the
// line, the column's number and its name.
class Row {
public:
    Row(const QString& file, std::span<const Column> columns, const std::vector<int>& fieldOf, const CsvRecord& record)
        : file_(file)
        , columns_(columns)
        , fieldOf_(fieldOf)
        , record_(record)
    {
    }

    qint64 line() const { return record_.line; }
    // The field as written; empty when the file has no such column.
    std::string_view text(int column) const;
    bool isEmpty(int column) const { return text(column).empty(); }
    // A field that must not be empty.
    std::string_view required(int column) const;
    QString name(int column) const;
    long long integer(int column, long long min, long long max) const;
    std::optional<long long> optionalInteger(int column, long long min, long long max) const;
    double real(int column, double min, double max) const;
    std::optional<double> optionalReal(int column, double min, double max) const;
    // Seconds after the start of the service day ("25:10:00" is after midnight).
    std::optional<int> optionalTime(int column) const;
    int time(int column) const;
    // A YYYYMMDD date as its Julian day number.
    qint64 date(int column) const;

    [[noreturn]] void fail(int column, const QString& reason) const;

private:
    const QString& file_;
    std::span<const Column> columns_;
    const std::vector<int>& fieldOf_;
    const CsvRecord& record_;
};

// Reads one file of the feed row by row. A file that is missing is an error
// when required and gives false otherwise; so does a required column missing
// from the header. Columns the reader does not ask for are ignored, and a
// record shorter than the header has empty fields at its end.
bool ReadTable(FeedFiles& files, const QString& name, bool required, std::span<const Column> columns,
               const std::function<void(const Row&)>& onRow);

// Parsers of the values, shared with the command line: nothing when the
// text is not of the form.
std::optional<int> ParseTime(std::string_view text);
std::optional<qint64> ParseDate(std::string_view text);

} // namespace tram::gtfs
