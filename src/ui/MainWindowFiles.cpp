#include "ui/MainWindow.h"

#include "files/SchemeFile.h"
#include "ui/Prompts.h"

namespace tram {

namespace {
const QString SchemeFilter = QStringLiteral("Scheme files (*.sch)");
}

// Opening reads straight into the scheme and resets nothing else: the panels,
// the editing state and the picture stay until the next command shows them.
void MainWindow::mnuOpen_Click()
{
    const QString path = prompts_->openFileName(this, QStringLiteral("Open"), SchemeFilter);
    if (path.isEmpty())
        return;
    openSchemeFile(path);
}

void MainWindow::openAtStart(const QString& path)
{
    if (openSchemeFile(path))
        Redraw();
}

// A refused file is reported and leaves the scheme as it was.
bool MainWindow::openSchemeFile(const QString& path)
{
    const auto refusal = LoadSchemeFile(path, model_.scheme);
    if (refusal)
        prompts_->warning(this, *refusal);
    return !refusal;
}

void MainWindow::mnuSave_Click()
{
    const QString path = prompts_->saveFileName(this, QStringLiteral("Save"), SchemeFilter);
    if (path.isEmpty())
        return;
    if (const auto refusal = SaveSchemeFile(path, model_.scheme))
        prompts_->warning(this, *refusal);
}

} // namespace tram
