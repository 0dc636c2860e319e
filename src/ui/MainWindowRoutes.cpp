#include "ui/MainWindow.h"

namespace tram {

void MainWindow::cmdNovaRuta_Click()
{
}

void MainWindow::cmdProslaRuta_Click()
{
}

void MainWindow::cmdSlijedecaRuta_Click()
{
}

void MainWindow::cmdNoviVlakon_Click()
{
}

void MainWindow::cmdProsli_Click()
{
}

void MainWindow::cmdSlijedeci_Click()
{
}

void MainWindow::ShowRoutePanel()
{
}

void MainWindow::ShowTramPanel()
{
}

} // namespace tram
