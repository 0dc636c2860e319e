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
    applyDisplaySwitch(chkShowCircles, &DisplaySettings::ShowCircles);
}

void MainWindow::chkShowSpec1_Click()
{
    applyDisplaySwitch(chkShowSpec1, &DisplaySettings::ShowStations);
}

void MainWindow::chkShowSpec2_Click()
{
    applyDisplaySwitch(chkShowSpec2, &DisplaySettings::ShowLights);
}

void MainWindow::chkPrikaziRutu_Click()
{
    applyDisplaySwitch(chkPrikaziRutu, &DisplaySettings::ShowRoute);
}

void MainWindow::chkOznaciTrenutniSegment_Click()
{
    applyDisplaySwitch(chkOznaciTrenutniSegment, &DisplaySettings::MarkSegment);
}

// Every display switch takes its box's state and redraws, even when the
// setting did not change.
void MainWindow::applyDisplaySwitch(const QCheckBox* box, bool DisplaySettings::*setting)
{
    model_.display.*setting = isOn(box);
    Redraw();
}

void MainWindow::cmdResize_Click()
{
    const auto coefficient = RescaleCoefficient(txtResize->text());
    if (!coefficient)
        return;
    if (const auto refusal = RescaleHorizontally(*coefficient, model_.scheme)) {
        prompts_->warning(this, *refusal);
        return;
    }
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
    const QString fileName = prompts_->saveFileName(this, QStringLiteral("Save"),
                                                    QStringLiteral("Bitmap files (*.bmp)"));
    if (fileName.isEmpty())
        return;
    if (const auto failure = ExportPicture(canvas_->image(), fileName))
        prompts_->warning(this, *failure);
}

} // namespace tram
