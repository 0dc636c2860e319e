#pragma once

// Whole files in and out, for tests that set up or check files on disk.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace testfiles {

// The file's bytes, or a text naming it when it cannot be read, which no
// comparison with real contents passes.
inline QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<cannot read " + QFile::encodeName(path) + ">";
    return file.readAll();
}

// Writes the bytes as the whole file; false when that failed.
[[nodiscard]] inline bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace testfiles
