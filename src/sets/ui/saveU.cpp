#include "sets/ui/saveU.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "sets/TSetNames.h"
#include "util/ENorvaleError.h"
#include "util/qt/TQtText.h"
#include "util/ui/TPrompts.h"

namespace norvale {

TfrmSave::TfrmSave(const TDataFolder& folder, QWidget* parent) : QDialog(parent), folder_(folder) {
    setObjectName(QStringLiteral("frmSave"));
    setWindowTitle(QStringLiteral("Save Current Set"));
    setModal(true);

    GroupBox1 = new QGroupBox(QStringLiteral("  Enter name of configuration set "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    edName = new QLineEdit(GroupBox1);
    edName->setObjectName(QStringLiteral("edName"));
    edName->setMaxLength(32767);  // no limit of our own; the file system has its own
    edName->setMinimumWidth(220);
    auto* boxLayout = new QVBoxLayout(GroupBox1);
    boxLayout->addWidget(edName);

    bSave = new QPushButton(QStringLiteral("Save"), this);
    bSave->setObjectName(QStringLiteral("bSave"));
    bCancel = new QPushButton(QStringLiteral("Cancel"), this);
    bCancel->setObjectName(QStringLiteral("bCancel"));
    // Enter in the name box only moves to Save; no button may catch it as the default.
    for (QPushButton* b : {bSave, bCancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(bSave);
    buttons->addWidget(bCancel);
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(GroupBox1, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    edName->installEventFilter(this);
    connect(bSave, &QPushButton::clicked, this, [this] { bSaveClick(); });
    connect(bCancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::string TfrmSave::Name() const {
    return FromQ(edName->text());
}

void TfrmSave::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TfrmSave::FormShow() {
    RunCommand(this, [this] { folder_.EnsureSetsFolder(); });
    edName->setFocus();
}

bool TfrmSave::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edName && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            bSave->setFocus();
            return true;
        }
        // edNameKeyPress: the nine characters a file name cannot hold never get in.
        const QString text = key->text();
        if (text.size() == 1 && text.at(0).unicode() < 128 &&
            IsForbiddenSetNameCharacter(static_cast<char>(text.at(0).unicode())))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmSave::bSaveClick() {
    // A pasted name passes no key filter, so the whole name is checked here too.
    try {
        const std::string name = Name();
        if (edName->text().trimmed().isEmpty())
            throw ENorvaleError("Enter name!");
        // Set files are named in 8-bit text; a character outside it would turn into "?".
        if (ToQ(name) != edName->text())
            throw ENorvaleError(
                "The name of a configuration set can hold only Latin-1 characters.");
        ValidateSetName(name);
    } catch (const ENorvaleError& e) {
        TPrompts::Information(this, ToQ(e.what()));
        edName->setFocus();
        return;
    }
    accept();
}

}  // namespace norvale
