#include "ui/MainWindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tram-map-editor"));
    tram::MainWindow window;
    window.show();
    return QApplication::exec();
}
