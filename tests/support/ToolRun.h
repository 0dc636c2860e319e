#pragma once

// Runs the built tram-map-tool as a user would, with no display in its
// environment.

#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace testtool {

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// A built program's path, which CTest gives in the environment variable.
inline QString builtProgram(const char* variable)
{
    const QString path = qEnvironmentVariable(variable);
    if (path.isEmpty())
        qFatal("%s is not set: run the test through ctest", variable);
    return path;
}

inline QString toolPath()
{
    return builtProgram("TRAM_MAP_TOOL");
}

inline ToolRun runProgram(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

inline ToolRun runTool(const QStringList& arguments)
{
    return runProgram(toolPath(), arguments);
}

} // namespace testtool
