#include "HeadlessApplication.h"

namespace tram {

namespace {

QtMessageHandler previousHandler = nullptr;

void dropStartupNotes(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if ((type == QtCriticalMsg || type == QtFatalMsg) && previousHandler)
        previousHandler(type, context, message);
}

} // namespace

std::unique_ptr<QGuiApplication> StartHeadlessApplication(int& argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    previousHandler = qInstallMessageHandler(dropStartupNotes);
    auto app = std::make_unique<QGuiApplication>(argc, argv);
    qInstallMessageHandler(previousHandler);
    return app;
}

} // namespace tram
