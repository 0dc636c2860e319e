#include "ToolOutput.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>

namespace tram {

void PrintLine(const QString& line)
{
    PrintText((line + u'\n').toUtf8());
}

void PrintText(const QByteArray& text)
{
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fflush(stdout);
}

void PrintError(const QString& line)
{
    const QByteArray text = (line + u'\n').toUtf8();
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
}

QString ShownFileName(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString FileProblem(const QString& path, const QString& action, const QString& reason)
{
    return QStringLiteral("Datoteka \"%1\" nije %2: %3.").arg(ShownFileName(path), action, reason);
}

bool WriteOutputFile(const QString& path, const QByteArray& bytes, QString* error)
{
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = FileProblem(path, QStringLiteral("sacuvana"), reason);
        return false;
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (!QFileInfo(path).absoluteDir().exists())
            return fail(QStringLiteral("folder ne postoji"));
        return fail(QStringLiteral("ne moze se otvoriti za pisanje"));
    }
    if (file.write(bytes) != bytes.size())
        return fail(QStringLiteral("greska pri pisanju"));
    if (!file.commit())
        return fail(QStringLiteral("ne moze se zamijeniti novom datotekom"));
    return true;
}

} // namespace tram
