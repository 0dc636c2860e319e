#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <memory>

namespace tram::gtfs {

// One file of a feed, read from the start in pieces.
class FeedStream {
public:
    virtual ~FeedStream() = default;
    // Up to size bytes; 0 at the end; -1 when the data cannot be read, with
    // the reason in errorText().
    virtual qint64 read(char* buffer, qint64 size) = 0;
    virtual QString errorText() const = 0;
};

// The files of a feed by name ("stops.txt").
class FeedFiles {
public:
    virtual ~FeedFiles() = default;
    // Nothing when the feed has no such file; throws FeedError when it has
    // one that cannot be opened.
    virtual std::unique_ptr<FeedStream> open(const QString& name) = 0;
};

// A folder or a .zip archive (decided by what the path is, not its name).
// Throws FeedError when it is neither or the archive is broken.
std::unique_ptr<FeedFiles> OpenFeedFiles(const QString& path);

// Files given by name and content: for feeds a program builds itself.
class MemoryFeed : public FeedFiles {
public:
    explicit MemoryFeed(QHash<QString, QByteArray> files)
        : files_(std::move(files))
    {
    }
    std::unique_ptr<FeedStream> open(const QString& name) override;

private:
    QHash<QString, QByteArray> files_;
};

} // namespace tram::gtfs
