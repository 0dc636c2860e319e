#include "ui/MainWindow.h"

namespace tram {

void MainWindow::cmdCrtaj_Click()
{
}

void MainWindow::chkShowCircles_Click()
{
}

void MainWindow::chkShowSpec1_Click()
{
}

void MainWindow::chkShowSpec2_Click()
{
}

void MainWindow::chkPrikaziRutu_Click()
{
}

void MainWindow::chkOznaciTrenutniSegment_Click()
{
}

void MainWindow::cmdResize_Click()
{
}

void MainWindow::hscScroll_Change()
{
}

void MainWindow::mnuExportPicture_Click()
{
}

} // namespace tram
