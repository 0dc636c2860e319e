#include "gtfs/FeedTable.h"

#include "gtfs/FeedError.h"

#include <QDate>
#include <charconv>
#include <cmath>

namespace tram::gtfs {

namespace {

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

QString quoted(std::string_view text)
{
    return QStringLiteral("\"%1\"").arg(QString::fromUtf8(text.data(), qsizetype(text.size())));
}

std::optional<int> digits(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() || text.front() == '-')
        return std::nullopt;
    return value;
}

} // namespace

std::optional<int> ParseTime(std::string_view text)
{
    text = trimmed(text);
    const size_t first = text.find(':');
    if (first == std::string_view::npos || first < 1 || first > 3 || text.size() != first + 6 || text[first + 3] != ':')
        return std::nullopt;
    const auto hours = digits(text.substr(0, first));
    const auto minutes = digits(text.substr(first + 1, 2));
    const auto seconds = digits(text.substr(first + 4, 2));
    if (!hours || !minutes || !seconds || *minutes > 59 || *seconds > 59)
        return std::nullopt;
    return *hours * 3600 + *minutes * 60 + *seconds;
}

std::optional<qint64> ParseDate(std::string_view text)
{
    text = trimmed(text);
    if (text.size() != 8)
        return std::nullopt;
    const auto year = digits(text.substr(0, 4));
    const auto month = digits(text.substr(4, 2));
    const auto day = digits(text.substr(6, 2));
    if (!year || !month || !day)
        return std::nullopt;
    const QDate date(*year, *month, *day);
    if (!date.isValid())
        return std::nullopt;
    return date.toJulianDay();
}

std::string_view Row::text(int column) const
{
    const int field = fieldOf_[size_t(column)];
    if (field < 0 || field >= record_.count)
        return {};
    return record_.fields[size_t(field)];
}

std::string_view Row::required(int column) const
{
    const std::string_view value = text(column);
    if (trimmed(value).empty())
        fail(column, QStringLiteral("polje je prazno, a mora imati vrijednost"));
    return value;
}

QString Row::name(int column) const
{
    const std::string_view value = text(column);
    return QString::fromUtf8(value.data(), qsizetype(value.size())).trimmed();
}

std::optional<long long> Row::optionalInteger(int column, long long min, long long max) const
{
    const std::string_view value = trimmed(text(column));
    if (value.empty())
        return std::nullopt;
    long long number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size())
        fail(column, QStringLiteral("%1 nije cijeli broj").arg(quoted(value)));
    if (number < min || number > max)
        fail(column, QStringLiteral("%1 nije izmedju %2 i %3").arg(quoted(value)).arg(min).arg(max));
    return number;
}

long long Row::integer(int column, long long min, long long max) const
{
    required(column);
    return *optionalInteger(column, min, max);
}

std::optional<double> Row::optionalReal(int column, double min, double max) const
{
    std::string_view value = trimmed(text(column));
    if (value.empty())
        return std::nullopt;
    if (value.front() == '+')
        value.remove_prefix(1);
    double number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || !std::isfinite(number))
        fail(column, QStringLiteral("%1 nije broj").arg(quoted(text(column))));
    if (number < min || number > max)
        fail(column, QStringLiteral("%1 nije izmedju %2 i %3").arg(quoted(text(column))).arg(min).arg(max));
    return number;
}

double Row::real(int column, double min, double max) const
{
    required(column);
    return *optionalReal(column, min, max);
}

std::optional<int> Row::optionalTime(int column) const
{
    const std::string_view value = text(column);
    if (trimmed(value).empty())
        return std::nullopt;
    const auto seconds = ParseTime(value);
    if (!seconds)
        fail(column, QStringLiteral("%1 nije vrijeme oblika HH:MM:SS").arg(quoted(value)));
    return seconds;
}

int Row::time(int column) const
{
    required(column);
    return *optionalTime(column);
}

qint64 Row::date(int column) const
{
    const std::string_view value = required(column);
    const auto day = ParseDate(value);
    if (!day)
        fail(column, QStringLiteral("%1 nije datum oblika YYYYMMDD").arg(quoted(value)));
    return *day;
}

void Row::fail(int column, const QString& reason) const
{
    FailAt(file_, record_.line, fieldOf_[size_t(column)] + 1, QLatin1String(columns_[size_t(column)].name), reason);
}

bool ReadTable(FeedFiles& files, const QString& name, bool required, std::span<const Column> columns,
               const std::function<void(const Row&)>& onRow)
{
    const auto stream = files.open(name);
    if (!stream) {
        if (required)
            FailIn(name, QStringLiteral("datoteka nedostaje u feedu"));
        return false;
    }
    std::vector<int> fieldOf(columns.size(), -1);
    bool headerRead = false;
    auto checkHeader = [&](qint64 line) {
        for (size_t k = 0; k < columns.size(); ++k) {
            if (fieldOf[k] < 0 && columns[k].required)
                FailAt(name, line, -1, QString(),
                       QStringLiteral("zaglavlje nema obavezni stupac %1").arg(QLatin1String(columns[k].name)));
        }
    };
    ReadCsv(*stream, name, [&](const CsvRecord& record) {
        if (headerRead) {
            onRow(Row(name, columns, fieldOf, record));
            return;
        }
        headerRead = true;
        for (size_t k = 0; k < columns.size(); ++k) {
            for (int f = 0; f < record.count && fieldOf[k] < 0; ++f) {
                if (trimmed(record.fields[size_t(f)]) == columns[k].name)
                    fieldOf[k] = f;
            }
        }
        checkHeader(record.line);
    });
    if (!headerRead)
        checkHeader(1);
    return true;
}

} // namespace tram::gtfs
