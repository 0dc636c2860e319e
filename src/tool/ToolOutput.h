#pragma once

#include "files/SafeWrite.h" // FileProblem, as the editor says it
#include "model/Refusal.h"

#include <QByteArray>
#include <QString>

namespace tram {

// Exit statuses of every subcommand.
enum ToolExit : int {
    ExitSuccess = 0,
    ExitProblemsFound = 1,
    ExitUsageOrFileError = 2,
};

// One line of results on standard output, in UTF-8.
void PrintLine(const QString& line);
// Text as it is (help, JSON) on standard output.
void PrintText(const QByteArray& text);
// One line of messages on standard error, in UTF-8.
void PrintError(const QString& line);

// How a command ends: successfully, or with the refusal on standard error and
// the usage or file error status.
int Finish(const std::optional<Refusal>& refusal);

// The file name as a message shows it.
QString ShownFileName(const QString& path);

// Writes the whole output through a temporary file beside the target, so a
// failure leaves no partial file and keeps an existing one.
[[nodiscard]] std::optional<Refusal> WriteOutputFile(const QString& path, const QByteArray& bytes);

} // namespace tram
