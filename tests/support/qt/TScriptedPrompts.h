#pragma once

#include <QString>
#include <QStringList>
#include <deque>

#include "util/ui/TPrompts.h"

namespace norvale::test {

// Answers the program's message boxes and file dialogs from a script and records
// what they said. Install it for the life of a test with TScriptedPromptsScope.
class TScriptedPrompts : public IPromptHandler {
public:
    // What was shown, in order, as "information: ...", "confirm: ...", "error: ...",
    // "save: caption", "open: caption".
    QStringList shown;
    std::deque<bool> confirmAnswers;  // default answer when empty: No
    std::deque<QString> fileAnswers;  // default when empty: cancel

    void Information(QWidget*, const QString& text) override { shown << "information: " + text; }
    bool Confirm(QWidget*, const QString& text) override {
        shown << "confirm: " + text;
        if (confirmAnswers.empty()) return false;
        const bool a = confirmAnswers.front();
        confirmAnswers.pop_front();
        return a;
    }
    void Error(QWidget*, const QString& text) override { shown << "error: " + text; }
    QString SaveFileName(QWidget*, const QString& caption, const QString& filter, const QString& suffix) override {
        shown << "save: " + caption;
        lastFilter = filter;
        lastSuffix = suffix;
        return NextFile();
    }
    QString OpenFileName(QWidget*, const QString& caption, const QString& filter) override {
        shown << "open: " + caption;
        lastFilter = filter;
        return NextFile();
    }
    QString lastFilter;
    QString lastSuffix;

private:
    QString NextFile() {
        if (fileAnswers.empty()) return {};
        QString f = fileAnswers.front();
        fileAnswers.pop_front();
        return f;
    }
};

class TScriptedPromptsScope {
public:
    TScriptedPromptsScope();
    ~TScriptedPromptsScope();
    TScriptedPrompts& operator*() { return *prompts_; }
    TScriptedPrompts* operator->() { return prompts_; }

private:
    TScriptedPrompts* prompts_;
};

}  // namespace norvale::test
