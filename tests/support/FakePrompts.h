#pragma once

#include "ui/Prompts.h"

#include <QStringList>

// Answers the window's dialogs from queues and records what was asked.
class FakePrompts : public tram::Prompts {
public:
    struct FileQuestion {
        bool save = false;
        QString title;
        QString filter;
    };

    QStringList fileAnswers; // taken from the front; empty queue answers "cancel"
    QList<FileQuestion> fileQuestions;
    QStringList informations;
    QStringList warnings;

    QString openFileName(QWidget*, const QString& title, const QString& filter) override
    {
        fileQuestions.append({false, title, filter});
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
    QString saveFileName(QWidget*, const QString& title, const QString& filter) override
    {
        fileQuestions.append({true, title, filter});
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
    void information(QWidget*, const QString& text) override { informations.append(text); }
    void warning(QWidget*, const QString& text) override { warnings.append(text); }
};
