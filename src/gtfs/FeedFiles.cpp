#include "gtfs/FeedFiles.h"

#include "gtfs/FeedError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <zip.h>

#include <algorithm>
#include <cstring>

namespace tram::gtfs {

namespace {

class FileStream : public FeedStream {
public:
    explicit FileStream(const QString& path)
        : file_(path)
    {
    }
    bool open() { return file_.open(QIODevice::ReadOnly); }
    qint64 read(char* buffer, qint64 size) override { return file_.read(buffer, size); }
    QString errorText() const override { return file_.errorString(); }

private:
    QFile file_;
};

class FolderFeed : public FeedFiles {
public:
    explicit FolderFeed(const QString& path)
        : dir_(path)
    {
    }
    std::unique_ptr<FeedStream> open(const QString& name) override
    {
        const QString path = dir_.filePath(name);
        if (!QFileInfo(path).isFile())
            return nullptr;
        auto stream = std::make_unique<FileStream>(path);
        if (!stream->open())
            FailIn(name, QStringLiteral("ne moze se otvoriti: %1").arg(stream->errorText()));
        return stream;
    }

private:
    QDir dir_;
};

QString zipErrorText(zip_error_t* error)
{
    return QString::fromLocal8Bit(zip_error_strerror(error));
}

class ZipStream : public FeedStream {
public:
    explicit ZipStream(zip_file_t* file)
        : file_(file)
    {
    }
    ~ZipStream() override { zip_fclose(file_); }
    ZipStream(const ZipStream&) = delete;
    ZipStream& operator=(const ZipStream&) = delete;
    qint64 read(char* buffer, qint64 size) override { return zip_fread(file_, buffer, zip_uint64_t(size)); }
    QString errorText() const override { return zipErrorText(zip_file_get_error(file_)); }

private:
    zip_file_t* file_;
};

class ZipFeed : public FeedFiles {
public:
    explicit ZipFeed(zip_t* archive)
        : archive_(archive)
    {
        findFolder();
    }
    ~ZipFeed() override { zip_discard(archive_); }
    ZipFeed(const ZipFeed&) = delete;
    ZipFeed& operator=(const ZipFeed&) = delete;

    std::unique_ptr<FeedStream> open(const QString& name) override
    {
        const QByteArray entry = (folder_ + name).toUtf8();
        const zip_int64_t index = zip_name_locate(archive_, entry.constData(), 0);
        if (index < 0)
            return nullptr;
        zip_file_t* file = zip_fopen_index(archive_, zip_uint64_t(index), 0);
        if (!file)
            FailIn(name,
                   QStringLiteral("ne moze se otvoriti u zip arhivi: %1").arg(zipErrorText(zip_get_error(archive_))));
        return std::make_unique<ZipStream>(file);
    }

private:
    // Some feeds are zipped with their folder: the files then sit one level
    // down, beside a stops.txt that is not at the top.
    void findFolder()
    {
        if (zip_name_locate(archive_, "stops.txt", 0) >= 0)
            return;
        const zip_int64_t count = zip_get_num_entries(archive_, 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            const QString name = QString::fromUtf8(zip_get_name(archive_, zip_uint64_t(i), 0));
            if (name.endsWith(u"/stops.txt") && name.count(u'/') == 1) {
                folder_ = name.chopped(int(std::strlen("stops.txt")));
                return;
            }
        }
    }

    zip_t* archive_;
    QString folder_;
};

[[noreturn]] void failZip(const QString& path, zip_error_t* error)
{
    const QString reason = zipErrorText(error);
    zip_error_fini(error);
    FailIn(QDir::toNativeSeparators(path), QStringLiteral("nije ispravna zip arhiva: %1").arg(reason));
}

class MemoryStream : public FeedStream {
public:
    explicit MemoryStream(QByteArray bytes)
        : bytes_(std::move(bytes))
    {
    }
    qint64 read(char* buffer, qint64 size) override
    {
        const qint64 count = std::min(size, bytes_.size() - pos_);
        std::memcpy(buffer, bytes_.constData() + pos_, size_t(count));
        pos_ += count;
        return count;
    }
    QString errorText() const override { return {}; }

private:
    QByteArray bytes_;
    qint64 pos_ = 0;
};

} // namespace

std::unique_ptr<FeedFiles> OpenFeedFiles(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return std::make_unique<FolderFeed>(path);
    if (!info.exists())
        FailIn(QDir::toNativeSeparators(path), QStringLiteral("ne postoji"));
    int code = 0;
    // Without ZIP_CHECKCONS: it refuses archives from common zip writers
    // whose local headers differ a little from the central directory, which
    // other readers take; every entry read is still checked by its CRC.
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        failZip(path, &error);
    }
    return std::make_unique<ZipFeed>(archive);
}

std::unique_ptr<FeedStream> MemoryFeed::open(const QString& name)
{
    const auto found = files_.constFind(name);
    if (found == files_.constEnd())
        return nullptr;
    return std::make_unique<MemoryStream>(*found);
}

} // namespace tram::gtfs
