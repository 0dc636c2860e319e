#include "gtfs/CsvReader.h"

#include "gtfs/FeedError.h"

#include <csv.h>

#include <cstdlib>
#include <cstring>

namespace tram::gtfs {

namespace {

constexpr size_t MaxFieldBytes = 1 << 20;
constexpr int MaxFields = 1000;
constexpr qint64 ChunkBytes = 1 << 16;

// libcsv grows its field buffer through this; refusing keeps a field that
// never ends (an unclosed quote in a huge file) from taking all memory.
void* cappedRealloc(void* block, size_t size)
{
    return size > MaxFieldBytes + 1024 ? nullptr : std::realloc(block, size);
}

// What the parser's callbacks collect. They only store: the records are
// handed on after each call into the C parser returns, so nothing is thrown
// through it.
struct Collector {
    std::vector<std::vector<std::string>> records; // reused between pieces
    std::vector<qint64> lines;
    size_t ready = 0;      // complete records in `records`
    int fields = 0;        // fields of the record being read
    qint64 pieceLine = 1;  // the line the current piece of input belongs to
    qint64 recordLine = 1; // the line the next record starts on
    bool tooManyFields = false;

    std::vector<std::string>& current()
    {
        if (records.size() <= ready) {
            records.resize(ready + 1);
            lines.resize(ready + 1);
        }
        return records[ready];
    }
};

void onField(void* data, size_t size, void* context)
{
    auto& c = *static_cast<Collector*>(context);
    auto& record = c.current();
    if (c.fields >= MaxFields) {
        c.tooManyFields = true;
        return;
    }
    if (record.size() <= size_t(c.fields))
        record.resize(size_t(c.fields) + 1);
    record[size_t(c.fields)].assign(static_cast<const char*>(data), size);
    ++c.fields;
}

// Called for every unquoted line end (CSV_REPALL_NL), so blank lines and the
// LF of a CRLF pass through here too, without fields.
void onRecordEnd(int terminator, void* context)
{
    auto& c = *static_cast<Collector*>(context);
    if (c.fields > 0) {
        c.current().resize(size_t(c.fields));
        c.lines[c.ready] = c.recordLine;
        ++c.ready;
        c.fields = 0;
    }
    if (terminator == '\n')
        c.recordLine = c.pieceLine + 1;
}

// The column of a byte of a line, counting UTF-8 characters from 1.
int characterColumn(const char* line, size_t offset)
{
    int column = 1;
    for (size_t i = 0; i < offset; ++i)
        column += (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80;
    return column;
}

class Parser {
public:
    Parser(const QString& file, const std::function<void(const CsvRecord&)>& onRecord)
        : file_(file)
        , onRecord_(onRecord)
    {
        csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI | CSV_REPALL_NL);
        csv_set_realloc_func(&parser_, cappedRealloc);
    }
    ~Parser() { csv_free(&parser_); }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    // One line at most, its LF included, so every record knows its line.
    void feed(const char* data, size_t size)
    {
        const size_t used = csv_parse(&parser_, data, size, onField, onRecordEnd, &c_);
        if (used != size)
            fail(c_.pieceLine, columnsBefore_ + characterColumn(data, used));
        deliver();
        if (size > 0 && data[size - 1] == '\n') {
            ++c_.pieceLine;
            columnsBefore_ = 0;
        } else {
            columnsBefore_ += characterColumn(data, size) - 1;
        }
    }

    void finish()
    {
        if (csv_fini(&parser_, onField, onRecordEnd, &c_) != 0)
            fail(c_.recordLine, -1);
        deliver();
    }

private:
    void deliver()
    {
        if (c_.tooManyFields)
            FailAt(file_, c_.recordLine, MaxFields + 1, QString(),
                   QStringLiteral("red ima vise od %1 polja").arg(MaxFields));
        for (size_t i = 0; i < c_.ready; ++i)
            onRecord_(CsvRecord{c_.records[i], int(c_.records[i].size()), c_.lines[i]});
        c_.ready = 0;
    }

    [[noreturn]] void fail(qint64 line, int column)
    {
        switch (csv_error(&parser_)) {
        case CSV_ENOMEM:
        case CSV_ETOOBIG:
            FailAt(file_, c_.recordLine, c_.fields + 1, QString(), QStringLiteral("polje je duze od 1 MiB"));
        default:
            if (column < 1)
                FailAt(file_, line, c_.fields + 1, QString(),
                       QStringLiteral("navodnici otvoreni u ovom polju nisu zatvoreni do kraja datoteke"));
            FailAt(file_, line, column, QString(),
                   QStringLiteral("navodnik nije na svom mjestu (polje s navodnicima pocinje i zavrsava "
                                  "navodnikom, a navodnik u njemu se pise dvaput)"));
        }
    }

    QString file_;
    const std::function<void(const CsvRecord&)>& onRecord_;
    csv_parser parser_{};
    Collector c_;
    int columnsBefore_ = 0; // characters of a line split between two reads
};

} // namespace

void ReadCsv(FeedStream& stream, const QString& file, const std::function<void(const CsvRecord&)>& onRecord)
{
    Parser parser(file, onRecord);
    std::vector<char> buffer(ChunkBytes);
    bool first = true;
    for (;;) {
        const qint64 got = stream.read(buffer.data(), ChunkBytes);
        if (got < 0)
            FailIn(file, QStringLiteral("greska pri citanju: %1").arg(stream.errorText()));
        if (got == 0)
            break;
        const char* data = buffer.data();
        size_t size = size_t(got);
        if (first && size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0) {
            data += 3;
            size -= 3;
        }
        first = false;
        while (size > 0) {
            const void* end = std::memchr(data, '\n', size);
            const size_t piece = end ? size_t(static_cast<const char*>(end) - data) + 1 : size;
            parser.feed(data, piece);
            data += piece;
            size -= piece;
        }
    }
    parser.finish();
}

} // namespace tram::gtfs
