#include "sets/ui/deleteU.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "sets/TSetFiles.h"
#include "sets/TSetNames.h"
#include "util/ENorvaleError.h"
#include "util/TFileIO.h"
#include "util/qt/TQtText.h"
#include "util/ui/TPrompts.h"

namespace norvale {

TfrmDelete::TfrmDelete(const TDataFolder& folder, QWidget* parent)
    : QDialog(parent), RemoveFile(DeleteFileOrThrow), folder_(folder) {
    setObjectName(QStringLiteral("frmDelete"));
    setModal(true);
    setSizeGripEnabled(true);
    resize(400, 300);

    GroupBox1 = new QGroupBox(QStringLiteral(" Configuration Sets  "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Label1 = new QLabel(GroupBox1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    LB = new QListWidget(GroupBox1);
    LB->setObjectName(QStringLiteral("LB"));
    LB->setSelectionMode(QAbstractItemView::SingleSelection);
    LBopen = new QListWidget(GroupBox1);
    LBopen->setObjectName(QStringLiteral("LBopen"));
    LBopen->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* boxLayout = new QVBoxLayout(GroupBox1);
    boxLayout->addWidget(Label1);
    boxLayout->addWidget(LB, 1);
    boxLayout->addWidget(LBopen, 1);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    bOpen = new QPushButton(QStringLiteral("Open"), Panel1);
    bOpen->setObjectName(QStringLiteral("bOpen"));
    bDelete = new QPushButton(QStringLiteral("Delete"), Panel1);
    bDelete->setObjectName(QStringLiteral("bDelete"));
    bCancel = new QPushButton(QStringLiteral("Cancel"), Panel1);
    bCancel->setObjectName(QStringLiteral("bCancel"));
    for (QPushButton* b : {bOpen, bDelete, bCancel}) b->setAutoDefault(false);
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(bOpen);
    panelLayout->addWidget(bDelete);
    panelLayout->addWidget(bCancel);
    panelLayout->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(GroupBox1, 1);
    layout->addWidget(Panel1);

    connect(bOpen, &QPushButton::clicked, this, [this] { bOpenClick(); });
    connect(bDelete, &QPushButton::clicked, this, [this] { bDeleteClick(); });
    connect(bCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(LBopen, &QListWidget::itemDoubleClicked, this, [this] { LBopenDblClick(); });
}

void TfrmDelete::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TfrmDelete::FormShow() {
    LB->clear();
    LBopen->clear();
    setWindowTitle(OpenMode ? QStringLiteral("Open Saved Sets") : QStringLiteral("Delete Sets"));
    Label1->setText(
        OpenMode ? QStringLiteral("Select configuration sets to open and press Open button")
                 : QStringLiteral("Select configuration sets to delete and press Delete button"));
    LBopen->setVisible(OpenMode);
    bOpen->setVisible(OpenMode);
    LB->setVisible(!OpenMode);
    bDelete->setVisible(!OpenMode);
    RunCommand(this, [this] {
        folder_.EnsureSetsFolder();
        for (const std::string& name : ListSetNames(folder_)) {
            auto* item = new QListWidgetItem(ToQ(name), LB);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
            LBopen->addItem(ToQ(name));
        }
    });
}

void TfrmDelete::bOpenClick() {
    const QListWidgetItem* item = LBopen->currentItem();
    if (!item || !item->isSelected()) {
        TPrompts::Information(this, QStringLiteral("Select configuration set to open!"));
        return;
    }
    const std::string name = FromQ(item->text());
    // The dialog closes on every path, also when the file has gone meanwhile.
    RunCommand(this, [this, &name] {
        if (SetExists(folder_, name) && OpenSet)
            OpenSet(name);
    });
    accept();
}

void TfrmDelete::LBopenDblClick() {
    bOpenClick();
}

void TfrmDelete::bDeleteClick() {
    if (!LB->currentItem()) {
        TPrompts::Information(this, QStringLiteral("Select configuration set to delete!"));
        return;
    }
    // The check marks decide what goes; the walk runs from the end so that removing
    // an entry never moves one still to be visited.
    QStringList failures;
    for (int row = LB->count() - 1; row >= 0; --row) {
        const QListWidgetItem* item = LB->item(row);
        if (item->checkState() != Qt::Checked)
            continue;
        try {
            const std::string path = SetFilePath(folder_, FromQ(item->text()));
            if (!FileExists(path))
                continue;
            RemoveFile(path);
            delete LB->takeItem(row);
        } catch (const std::exception& e) {
            // The entry stays, so the list never claims a set is gone that is not.
            failures.prepend(ToQ(e.what()));
        }
    }
    if (!failures.isEmpty())
        TPrompts::Error(this, failures.join(QLatin1Char('\n')));
}

}  // namespace norvale
