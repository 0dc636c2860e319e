#include "ui/MainWindow.h"

namespace tram {

void MainWindow::mnuOpen_Click()
{
}

void MainWindow::mnuSave_Click()
{
}

} // namespace tram
