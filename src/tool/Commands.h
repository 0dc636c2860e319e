#pragma once

#include <QStringList>

namespace tram {

// The subcommands of tram-map-tool; each takes the arguments after its name
// and returns the exit status (ToolExit).
int RunCheck(const QStringList& arguments);
int RunRender(const QStringList& arguments);
int RunToJson(const QStringList& arguments);
int RunFromJson(const QStringList& arguments);
int RunInfo(const QStringList& arguments);
int RunImportGtfs(const QStringList& arguments);
int RunSchematise(const QStringList& arguments);

} // namespace tram
