#include "ui/Prompts.h"

#include "ui/MainWindow.h"

#include <QFileDialog>
#include <QMessageBox>

namespace tram {

namespace {

QString askFileName(QWidget* parent, const QString& title, const QString& filter, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setAcceptMode(mode);
    // Any name may be typed; a name that cannot be opened is reported by the command.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString DialogPrompts::openFileName(QWidget* parent, const QString& title, const QString& filter)
{
    return askFileName(parent, title, filter, QFileDialog::AcceptOpen);
}

QString DialogPrompts::saveFileName(QWidget* parent, const QString& title, const QString& filter)
{
    return askFileName(parent, title, filter, QFileDialog::AcceptSave);
}

void DialogPrompts::information(QWidget* parent, const QString& text)
{
    QMessageBox::information(parent, MainWindow::Caption, text);
}

void DialogPrompts::warning(QWidget* parent, const QString& text)
{
    QMessageBox::warning(parent, MainWindow::Caption, text);
}

} // namespace tram
