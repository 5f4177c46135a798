#include "util/ui/TPrompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <exception>

namespace norvale {

namespace {
class TDialogPrompts : public IPromptHandler {
public:
    void Information(QWidget* parent, const QString& text) override {
        QMessageBox::information(parent, QStringLiteral("Norvale"), text, QMessageBox::Ok);
    }
    bool Confirm(QWidget* parent, const QString& text) override {
        return QMessageBox::question(parent, QStringLiteral("Confirm"), text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    }
    void Error(QWidget* parent, const QString& text) override {
        QMessageBox::critical(parent, QStringLiteral("Norvale"), text, QMessageBox::Ok);
    }
    QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter,
                         const QString& defaultSuffix) override {
        QFileDialog dialog(parent, caption, QString(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(defaultSuffix);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        return dialog.selectedFiles().first();
    }
    QString OpenFileName(QWidget* parent, const QString& caption, const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
    }
};

std::unique_ptr<IPromptHandler>& Slot() {
    static std::unique_ptr<IPromptHandler> handler = std::make_unique<TDialogPrompts>();
    return handler;
}
}  // namespace

void TPrompts::SetHandler(std::unique_ptr<IPromptHandler> handler) {
    Slot() = handler ? std::move(handler) : std::make_unique<TDialogPrompts>();
}

IPromptHandler& TPrompts::Handler() { return *Slot(); }

void RunCommand(QWidget* parent, const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& e) {
        TPrompts::Error(parent, QString::fromLatin1(e.what()));
    } catch (...) {
        TPrompts::Error(parent, QStringLiteral("An unexpected error occurred."));
    }
}

}  // namespace norvale
