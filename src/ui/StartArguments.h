#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace tram {

// What the editor's command line asks for.
struct StartRequest {
    // Set when the program ends without a window: 0 after --help or
    // --version, 2 after a wrong argument was reported on standard error.
    std::optional<int> exitStatus;
    // The scheme file to open at start; empty for none.
    QString schemeFile;
};

// Reads the arguments that follow the program's name and prints what they
// ask for. Needs no application object, so it runs before any display is
// opened.
StartRequest ReadStartArguments(const QStringList& arguments);

} // namespace tram
