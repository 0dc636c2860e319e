#include "ToolOutput.h"

#include "files/SafeWrite.h"

#include <QDir>
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

int Finish(const std::optional<Refusal>& refusal)
{
    if (!refusal)
        return ExitSuccess;
    PrintError(*refusal);
    return ExitUsageOrFileError;
}

QString ShownFileName(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

std::optional<Refusal> WriteOutputFile(const QString& path, const QByteArray& bytes)
{
    if (const auto reason = WriteWholeFile(path, bytes))
        return FileProblem(path, QStringLiteral("sacuvana"), *reason);
    return std::nullopt;
}

} // namespace tram
