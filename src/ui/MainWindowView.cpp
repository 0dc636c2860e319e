#include "ui/MainWindow.h"

#include "editing/ViewCommands.h"
#include "files/PictureExport.h"
#include "ui/CanvasWidget.h"
#include "ui/Prompts.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

namespace tram {

namespace {

// Checked and grayed both switch the setting on.
bool isOn(const QCheckBox* box)
{
    return box->checkState() != Qt::Unchecked;
}

} // namespace

void MainWindow::cmdCrtaj_Click()
{
    if (const auto refusal = ApplySizes({txtDrawWidth->text(), txtCircleSize->text()}, model_.display)) {
        prompts_->warning(this, *refusal);
        return;
    }
    Redraw();
}

void MainWindow::chkShowCircles_Click()
{
    model_.display.ShowCircles = isOn(chkShowCircles);
    Redraw();
}

void MainWindow::chkShowSpec1_Click()
{
    model_.display.ShowStations = isOn(chkShowSpec1);
    Redraw();
}

void MainWindow::chkShowSpec2_Click()
{
    model_.display.ShowLights = isOn(chkShowSpec2);
    Redraw();
}

void MainWindow::chkPrikaziRutu_Click()
{
    model_.display.ShowRoute = isOn(chkPrikaziRutu);
    Redraw();
}

void MainWindow::chkOznaciTrenutniSegment_Click()
{
    model_.display.MarkSegment = isOn(chkOznaciTrenutniSegment);
    Redraw();
}

void MainWindow::cmdResize_Click()
{
    const RescaleResult result = RescaleHorizontally(txtResize->text(), model_.scheme);
    if (!result.refusal.isEmpty())
        prompts_->warning(this, result.refusal);
    if (result.rescaled)
        Redraw();
}

void MainWindow::hscScroll_Change()
{
    const RulerTexts ruler = PanTo(hscScroll->value(), model_.scroll);
    // Only the canvas moves inside its frame; its picture stays as it is.
    picCanvas->move(-model_.scroll.ScrollOffset, picCanvas->y());
    lblLeft->setText(ruler.left);
    lblMiddle->setText(ruler.middle);
    lblRight->setText(ruler.right);
}

void MainWindow::mnuExportPicture_Click()
{
    const QString fileName =
        prompts_->saveFileName(this, QStringLiteral("Save"), QStringLiteral("Bitmap files (*.bmp)"));
    if (fileName.isEmpty())
        return;
    if (const auto failure = ExportPicture(canvas_->image(), fileName))
        prompts_->warning(this, *failure);
}

} // namespace tram
