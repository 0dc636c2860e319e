#pragma once

#include "model/Refusal.h"
#include "schematic/Schematise.h"

#include <QCommandLineParser>

namespace tram {

// The options of a schematic layout, shared by schematise and import-gtfs.
void AddSchematicOptions(QCommandLineParser& parser);
// Whether any of them is given.
bool SchematicOptionSet(const QCommandLineParser& parser);
// Reads them; the refusal names the option and its range.
[[nodiscard]] std::optional<Refusal> ReadSchematicOptions(const QCommandLineParser& parser,
                                                          schematic::SchematicOptions& options);

// Lets the layout leave the station names room, with the font they are drawn in.
[[nodiscard]] std::optional<Refusal> UseLabelFont(schematic::SchematicOptions& options);

// The help text's lines for the options, the summary's lines on standard output.
extern const char SchematicOptionsHelp[];
void PrintSchematicSummary(const schematic::SchematicSummary& summary);

} // namespace tram
