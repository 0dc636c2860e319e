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
    showSteppedSegment(PreviousSegment(model_.edit));
}

void MainWindow::cmdSlijedeciSegment_Click()
{
    showSteppedSegment(NextSegment(model_.scheme, model_.edit));
}

// A step at the end changes nothing, so nothing is shown again.
void MainWindow::showSteppedSegment(bool stepped)
{
    if (!stepped)
        return;
    txtBrojSegmenta->setText(ShowNumber(model_.edit.CurrentSegment));
    // The map shows the current segment only while "Oznaci segment" is on.
    if (model_.display.MarkSegment)
        Redraw();
}

} // namespace tram
