#include "ui/MainWindow.h"

#include "editing/CanvasEditing.h"
#include "model/NumberText.h"
#include "ui/Prompts.h"

#include <QLineEdit>

namespace tram {

void MainWindow::picCanvas_MouseDown(int button, int shift, float x, float y)
{
    const MouseDownResult result = CanvasMouseDown(model_, button, shift, x, y);
    switch (result.action) {
    case MouseDownResult::Action::ObjectPicked:
        ShowSelectedObject();
        break;
    case MouseDownResult::Action::SegmentPicked:
        txtBrojSegmenta->setText(ShowNumber(model_.edit.CurrentSegment));
        Redraw();
        if (result.refusal) {
            // The box takes the release of the button that holds a drag: the
            // drag ends before it opens, or the vertex would follow the
            // pointer with no button held once it closes.
            CanvasMouseUp(model_, LeftButton);
            prompts_->warning(this, *result.refusal);
        }
        break;
    case MouseDownResult::Action::DragStarted:
    case MouseDownResult::Action::Nothing:
        break;
    }
}

// The button code and the modifiers play no part in a drag.
void MainWindow::picCanvas_MouseMove(int, int, float x, float y)
{
    if (CanvasMouseMove(model_, x, y))
        Redraw();
}

void MainWindow::picCanvas_MouseUp(int button, int, float, float)
{
    CanvasMouseUp(model_, button);
}

// Keys have no function on the canvas.
void MainWindow::picCanvas_KeyUp(int, int)
{
}

} // namespace tram
