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
    const PropertyTexts typed{txtRedniBroj->text(), txtNaSegmentu->text(),    txtPozicija->text(),
                              txtVrijeme1->text(),  txtVrijeme2->text(),      txtPocetnoStanje->text(),
                              txtNazivStanice->text()};
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
