#pragma once

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace norvale {

// Every message box and file dialog of the program goes through here, so that GUI
// tests can answer them without a person (see TScriptedPrompts in tests/support).
class IPromptHandler {
public:
    virtual ~IPromptHandler() = default;
    // An information box with an OK button.
    virtual void Information(QWidget* parent, const QString& text) = 0;
    // A confirmation box with Yes and No; true for Yes.
    virtual bool Confirm(QWidget* parent, const QString& text) = 0;
    // The general error report: a box titled "Norvale" with the error's text.
    virtual void Error(QWidget* parent, const QString& text) = 0;
    // File dialogs; an empty result means the user cancelled.
    virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                 const QString& defaultSuffix) = 0;
    virtual QString OpenFileName(QWidget* parent, const QString& caption, const QString& filter) = 0;
};

class TPrompts {
public:
    static void Information(QWidget* parent, const QString& text) { Handler().Information(parent, text); }
    static bool Confirm(QWidget* parent, const QString& text) { return Handler().Confirm(parent, text); }
    static void Error(QWidget* parent, const QString& text) { Handler().Error(parent, text); }
    static QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                                const QString& defaultSuffix) {
        return Handler().SaveFileName(parent, caption, filter, defaultSuffix);
    }
    static QString OpenFileName(QWidget* parent, const QString& caption, const QString& filter) {
        return Handler().OpenFileName(parent, caption, filter);
    }

    // Replaces the handler (tests); nullptr restores the real dialogs.
    static void SetHandler(std::unique_ptr<IPromptHandler> handler);
    static IPromptHandler& Handler();
};

// Runs a command handler and shows any error that leaves it in the general error
// report, so that no exception escapes a slot or an event handler.
void RunCommand(QWidget* parent, const std::function<void()>& command);

}  // namespace norvale
