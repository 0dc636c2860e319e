#include "ui/MainWindow.h"
#include "ui/StartArguments.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // The command line is read before QApplication opens the display, so
    // --help, --version and wrong arguments need none.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const tram::StartRequest request = tram::ReadStartArguments(arguments);
    if (request.exitStatus)
        return *request.exitStatus;

    // Qt sees only the program's name: every argument was read above, and
    // a file named like one of Qt's own options must stay a file.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("tram-map-editor"));
    tram::MainWindow window;
    window.show();
    // A refused file shows its message over the window, then the window
    // stays with the empty scheme of start-up.
    if (!request.schemeFile.isEmpty())
        window.openAtStart(request.schemeFile);
    return QApplication::exec();
}
