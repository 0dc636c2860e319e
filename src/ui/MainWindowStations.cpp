#include "ui/MainWindow.h"

namespace tram {

void MainWindow::cmdNoviSemafor_Click()
{
}

void MainWindow::cmdNovaStanica_Click()
{
}

void MainWindow::cmdSacuvaj_Click()
{
}

void MainWindow::ShowSelectedObject()
{
}

} // namespace tram
