#include "ui/MainWindow.h"

#include "editing/SegmentCommands.h"
#include "model/NumberText.h"
#include "ui/Prompts.h"

#include <QLineEdit>

namespace tram {

void MainWindow::cmdNoviSegment_Click()
{
    if (const auto refusal = NewSegment(model_.scheme, model_.edit, segmentCoordinates_)) {
        prompts_->warning(this, *refusal);
        return;
    }
    txtBrojSegmenta->setText(ShowNumber(model_.edit.CurrentSegment));
    Redraw();
}

void MainWindow::cmdProsliSegment_Click()
{
    if (!PreviousSegment(model_.edit))
        return;
    txtBrojSegmenta->setText(ShowNumber(model_.edit.CurrentSegment));
    if (model_.display.MarkSegment)
        Redraw();
}

void MainWindow::cmdSlijedeciSegment_Click()
{
    if (!NextSegment(model_.scheme, model_.edit))
        return;
    txtBrojSegmenta->setText(ShowNumber(model_.edit.CurrentSegment));
    if (model_.display.MarkSegment)
        Redraw();
}

} // namespace tram
