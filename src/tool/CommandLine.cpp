#include "CommandLine.h"

#include "ToolOutput.h"

namespace tram {

int UsageError(const QString& command, const QString& text)
{
    PrintError(QStringLiteral("tram-map-tool %1: %2").arg(command, text));
    PrintError(QStringLiteral("Pomoc: tram-map-tool %1 --help").arg(command));
    return ExitUsageOrFileError;
}

std::optional<int> ParseCommand(QCommandLineParser& parser, const CommandSyntax& syntax, const QStringList& arguments)
{
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(help);
    // The parser expects a program name first.
    if (!parser.parse(QStringList{syntax.name} + arguments))
        return UsageError(syntax.name, parser.errorText());
    if (parser.isSet(help)) {
        PrintText(syntax.help.toUtf8());
        return ExitSuccess;
    }
    const qsizetype count = parser.positionalArguments().size();
    if (count < syntax.minPositional)
        return UsageError(syntax.name, QStringLiteral("nedostaje datoteka"));
    if (syntax.maxPositional >= 0 && count > syntax.maxPositional)
        return UsageError(syntax.name,
                          QStringLiteral("previse argumenata: %1")
                              .arg(parser.positionalArguments().mid(syntax.maxPositional).join(u' ')));
    return std::nullopt;
}

} // namespace tram
