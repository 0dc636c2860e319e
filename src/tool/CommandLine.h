#pragma once

#include <QCommandLineParser>
#include <QStringList>
#include <optional>

namespace tram {

// What one subcommand takes: its options are added to the parser beforehand.
struct CommandSyntax {
    QString name;      // "check"
    QString help;      // the whole --help text
    int minPositional; // file arguments required
    int maxPositional; // -1: no upper limit
};

// Parses the arguments that follow the subcommand's name. Returns an exit
// status when the command ends here (help shown, or a usage error reported
// on standard error), nothing when the command should run.
std::optional<int> ParseCommand(QCommandLineParser& parser, const CommandSyntax& syntax, const QStringList& arguments);

// "tram-map-tool NAME: text" on standard error, with a hint at --help;
// returns the usage error status.
int UsageError(const QString& command, const QString& text);

} // namespace tram
