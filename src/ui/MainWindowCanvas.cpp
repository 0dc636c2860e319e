#include "ui/MainWindow.h"

namespace tram {

void MainWindow::picCanvas_MouseDown(int, int, float, float)
{
}

void MainWindow::picCanvas_MouseMove(int, int, float, float)
{
}

void MainWindow::picCanvas_MouseUp(int, int, float, float)
{
}

void MainWindow::picCanvas_KeyUp(int, int)
{
}

} // namespace tram
