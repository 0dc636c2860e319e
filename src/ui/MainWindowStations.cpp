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
    const PropertyTexts typed{.RedniBroj = txtRedniBroj->text(),
                              .NaSegmentu = txtNaSegmentu->text(),
                              .Pozicija = txtPozicija->text(),
                              .Vrijeme1 = txtVrijeme1->text(),
                              .Vrijeme2 = txtVrijeme2->text(),
                              .PocetnoStanje = txtPocetnoStanje->text(),
                              .NazivStanice = txtNazivStanice->text()};
    if (const auto refusal = ApplyProperties(typed, model_))
        prompts_->warning(this, *refusal);
}

void MainWindow::ShowSelectedObject()
{
    const auto texts = tram::ShowSelectedObject(model_);
    if (!texts)
        return;
    txtRedniBroj->setText(texts->RedniBroj);
    txtNaSegmentu->setText(texts->NaSegmentu);
    txtPozicija->setText(texts->Pozicija);
    txtVrijeme1->setText(texts->Vrijeme1);
    txtVrijeme2->setText(texts->Vrijeme2);
    txtPocetnoStanje->setText(texts->PocetnoStanje);
    txtNazivStanice->setText(texts->NazivStanice);
}

} // namespace tram
