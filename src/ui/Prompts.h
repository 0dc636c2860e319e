#pragma once

#include <QString>

class QWidget;

namespace tram {

// Every modal question the window asks goes through here, so tests can answer
// them without a dialog ever opening.
class Prompts {
public:
    virtual ~Prompts() = default;
    // Filters are in Qt's form, e.g. "Scheme files (*.sch)". An empty result
    // means the user cancelled.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    virtual void information(QWidget* parent, const QString& text) = 0;
    virtual void warning(QWidget* parent, const QString& text) = 0;
};

// The real dialogs: Qt's own widget-based file dialog, no overwrite question,
// no extension added; message boxes with a single OK button.
class DialogPrompts : public Prompts {
public:
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter) override;
    void information(QWidget* parent, const QString& text) override;
    void warning(QWidget* parent, const QString& text) override;
};

} // namespace tram
