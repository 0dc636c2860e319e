#include "ui/MainWindow.h"

#include "editing/StationsPanel.h"
#include "ui/Prompts.h"

#include <QLineEdit>

namespace tram {

// Creating a station or light does not redraw: it shows at the next redraw.
void MainWindow::cmdNoviSemafor_Click()
{
    if (const auto refusal = NewLight(model_)) {
        prompts_->warning(this, *refusal);
        return;
    }
    ShowSelectedObject();
}

void MainWindow::cmdNovaStanica_Click()
{
    if (const auto refusal = NewStation(model_)) {
        prompts_->warning(this, *refusal);
        return;
    }
    ShowSelectedObject();
}

// The panel keeps the typed texts either way, so a refused value can be mended.
void MainWindow::cmdSacuvaj_Click()
{
    const PropertyTexts typed{.number = txtRedniBroj->text(),
                              .segment = txtNaSegmentu->text(),
                              .position = txtPozicija->text(),
                              .time1 = txtVrijeme1->text(),
                              .time2 = txtVrijeme2->text(),
                              .initialState = txtPocetnoStanje->text(),
                              .name = txtNazivStanice->text()};
    if (const auto refusal = ApplyProperties(typed, model_))
        prompts_->warning(this, *refusal);
}

void MainWindow::ShowSelectedObject()
{
    const auto texts = tram::ShowSelectedObject(model_);
    if (!texts)
        return;
    txtRedniBroj->setText(texts->number);
    txtNaSegmentu->setText(texts->segment);
    txtPozicija->setText(texts->position);
    txtVrijeme1->setText(texts->time1);
    txtVrijeme2->setText(texts->time2);
    txtPocetnoStanje->setText(texts->initialState);
    txtNazivStanice->setText(texts->name);
}

} // namespace tram
