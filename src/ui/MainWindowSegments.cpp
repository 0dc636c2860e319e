#include "ui/MainWindow.h"

namespace tram {

void MainWindow::cmdNoviSegment_Click()
{
}

void MainWindow::cmdProsliSegment_Click()
{
}

void MainWindow::cmdSlijedeciSegment_Click()
{
}

} // namespace tram
