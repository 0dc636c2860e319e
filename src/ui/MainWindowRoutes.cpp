#include "ui/MainWindow.h"

#include "ui/Prompts.h"

#include <QLineEdit>

namespace tram {

// Every route and tram command stores the panel, acts, then shows the current
// element again; a refused command leaves the typed texts for correction.

void MainWindow::cmdNovaRuta_Click()
{
    runRoutePanel(RouteCommand::New);
}

void MainWindow::cmdProslaRuta_Click()
{
    runRoutePanel(RouteCommand::Previous);
}

void MainWindow::cmdSlijedecaRuta_Click()
{
    runRoutePanel(RouteCommand::Next);
}

void MainWindow::cmdNoviVlakon_Click()
{
    runTramPanel(TramCommand::New);
}

void MainWindow::cmdProsli_Click()
{
    runTramPanel(TramCommand::Previous);
}

void MainWindow::cmdSlijedeci_Click()
{
    runTramPanel(TramCommand::Next);
}

void MainWindow::runRoutePanel(RouteCommand command)
{
    if (const auto refusal = RunRouteCommand(command, typedRoutePanel(), model_.scheme, model_.edit)) {
        prompts_->warning(this, *refusal);
        return;
    }
    ShowRoutePanel();
    // The map marks the current route only while "Prikazi rutu" is on.
    if (model_.display.ShowRoute)
        Redraw();
}

// Trams are not drawn, so no tram command redraws.
void MainWindow::runTramPanel(TramCommand command)
{
    if (const auto refusal = RunTramCommand(command, typedTramPanel(), model_.scheme, model_.edit)) {
        prompts_->warning(this, *refusal);
        return;
    }
    ShowTramPanel();
}

RoutePanelTexts MainWindow::typedRoutePanel() const
{
    RoutePanelTexts texts;
    texts.number = txtBrojRute->text();
    texts.length = txtBrojSegmenataURuti->text();
    for (int k = 1; k <= MaxRouteSlots; ++k)
        texts.segments[k] = txtRutaSegment[k]->text();
    return texts;
}

TramPanelTexts MainWindow::typedTramPanel() const
{
    return {txtSerijskiBroj->text(), txtRuta->text()};
}

void MainWindow::ShowRoutePanel()
{
    const RoutePanelTexts texts = RoutePanelOf(model_.scheme, model_.edit.CurrentRoute);
    txtBrojRute->setText(texts.number);
    txtBrojSegmenataURuti->setText(texts.length);
    for (int k = 1; k <= MaxRouteSlots; ++k)
        txtRutaSegment[k]->setText(texts.segments[k]);
}

void MainWindow::ShowTramPanel()
{
    const TramPanelTexts texts = TramPanelOf(model_.scheme, model_.edit.CurrentTram);
    txtSerijskiBroj->setText(texts.serial);
    txtRuta->setText(texts.route);
}

} // namespace tram
