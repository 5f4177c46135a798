// Configuration sets, the export, help, web site, update check and about.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

#include "app/mainU.h"
#include "output/ui/exportU.h"
#include "rules/TRuleListFile.h"
#include "sets/TSetNames.h"
#include "sets/ui/deleteU.h"
#include "sets/ui/saveU.h"
#include "update/TWebAddresses.h"
#include "update/ui/aboutU.h"
#include "util/TFileIO.h"
#include "util/TPlatform.h"
#include "util/qt/TQtText.h"
#include "util/ui/TPrompts.h"
#include "util/ui/TUrlOpener.h"

namespace norvale {

void TfrmMain::WireSets() {
    frmSave = new TfrmSave(Folder, this);
    frmDelete = new TfrmDelete(Folder, this);
    frmDelete->OpenSet = [this](const std::string& name) { OpenSetNamed(name); };

    const auto command = [this](void (TfrmMain::*handler)()) {
        return [this, handler] { RunCommand(this, [this, handler] { (this->*handler)(); }); };
    };

    if (PopupMenu1) {
        PopupMenu1->addSeparator();
        OpenSet2 = PopupMenu1->addAction(QStringLiteral("Open Set"));
        OpenSet2->setObjectName(QStringLiteral("OpenSet2"));
        SaveSet2 = PopupMenu1->addAction(QStringLiteral("Save Set"));
        SaveSet2->setObjectName(QStringLiteral("SaveSet2"));
        DeleteSet2 = PopupMenu1->addAction(QStringLiteral("Delete Set"));
        DeleteSet2->setObjectName(QStringLiteral("DeleteSet2"));
        PopupMenu1->addSeparator();
        BacktoDefaultSet1 = PopupMenu1->addAction(QStringLiteral("Back to Default Set"));
        BacktoDefaultSet1->setObjectName(QStringLiteral("BacktoDefaultSet1"));
        BacktoDefaultSet1->setEnabled(false);
        connect(PopupMenu1, &QMenu::aboutToShow, this, [this] { PopupMenu1Popup(); });
        connect(BacktoDefaultSet1, &QAction::triggered, this,
                command(&TfrmMain::BacktoDefaultSet1Click));
        RegisterListCommand(BacktoDefaultSet1);
    }
    for (QAction* item : {OpenSet1, OpenSet2}) {
        if (!item)
            continue;
        connect(item, &QAction::triggered, this, command(&TfrmMain::OpenSet1Click));
        item->setEnabled(true);
        RegisterListCommand(item);
    }
    for (QAction* item : {SaveSet1, SaveSet2}) {
        if (!item)
            continue;
        connect(item, &QAction::triggered, this, command(&TfrmMain::SaveSet1Click));
        item->setEnabled(true);
        RegisterListCommand(item);
    }
    for (QAction* item : {DeleteSet1, DeleteSet2}) {
        if (!item)
            continue;
        connect(item, &QAction::triggered, this, command(&TfrmMain::DeleteSet1Click));
        item->setEnabled(true);
        RegisterListCommand(item);
    }

    connect(SaveAs1, &QAction::triggered, this, command(&TfrmMain::SaveAs1Click));
    SaveAs1->setEnabled(true);
    RegisterListCommand(SaveAs1);

    // Each menu item runs its toolbar twin's handler, so both open the same address.
    connect(BtnHelp, &QToolButton::clicked, this, command(&TfrmMain::BtnHelpClick));
    connect(Help2, &QAction::triggered, this, command(&TfrmMain::BtnHelpClick));
    if (OnlineHelp1) {
        connect(OnlineHelp1, &QAction::triggered, this, command(&TfrmMain::BtnHelpClick));
        OnlineHelp1->setEnabled(true);
    }
    connect(btnWeb, &QToolButton::clicked, this, command(&TfrmMain::btnWebClick));
    connect(NorvaleOnWeb1, &QAction::triggered, this, command(&TfrmMain::btnWebClick));
    connect(bCheckUpdates, &QToolButton::clicked, this, command(&TfrmMain::bCheckUpdatesClick));
    connect(Checkforupdates1, &QAction::triggered, this, command(&TfrmMain::bCheckUpdatesClick));
    connect(About1, &QAction::triggered, this, command(&TfrmMain::About1Click));
    for (QObject* item : std::initializer_list<QObject*>{BtnHelp, Help2, btnWeb, NorvaleOnWeb1,
                                                         bCheckUpdates, Checkforupdates1, About1}) {
        if (auto* action = qobject_cast<QAction*>(item))
            action->setEnabled(true);
        if (auto* widget = qobject_cast<QWidget*>(item))
            widget->setEnabled(true);
    }
}

// ---- configuration sets ----

void TfrmMain::SaveSet1Click() {
    Folder.EnsureSetsFolder();
    frmSave->edName->clear();
    if (frmSave->exec() != QDialog::Accepted)
        return;
    const std::string path = SetFilePath(Folder, frmSave->Name());
    if (FileExists(path) &&
        !TPrompts::Confirm(this,
                           QStringLiteral("That name already exist. Do you want to overwrite?")))
        return;
    // A copy: the current set stays current.
    SaveRuleList(RuleListRows(), path);
}

void TfrmMain::OpenSet1Click() {
    frmDelete->OpenMode = true;
    frmDelete->exec();
}

void TfrmMain::DeleteSet1Click() {
    frmDelete->OpenMode = false;
    frmDelete->exec();
}

void TfrmMain::OpenSetNamed(const std::string& name) {
    const std::string path = SetFilePath(Folder, name);
    if (!FileExists(path))
        return;
    // The set that gives way is written first, whichever it is, so that check-mark
    // changes made since its last save are not lost. If that fails, nothing changes.
    SaveRules();
    LoadRuleListInto(path);
    DefaultSetActive = false;
    CurrentSetFile = name + kSetFileExtension;
}

void TfrmMain::BacktoDefaultSet1Click() {
    // As with Open Set: the configuration set that was current keeps its changes.
    SaveRules();
    if (FileExists(RulesFilePath()))
        LoadRuleListInto(RulesFilePath());
    DefaultSetActive = true;
}

void TfrmMain::PopupMenu1Popup() {
    if (BacktoDefaultSet1)
        BacktoDefaultSet1->setEnabled(!DefaultSetActive && !InLongRun());
}

// ---- export ----

void TfrmMain::SaveAs1Click() {
    if (!frmExport)
        frmExport = new TfrmExport(Lists->ForTab(ActiveTab()), this);
    frmExport->exec();
}

// ---- help, web site, update check, about ----

void TfrmMain::BtnHelpClick() {
    TUrlOpener::Open(ToQ(TWebAddresses::Load(*Store).OnlineHelpUrl()));
}

void TfrmMain::btnWebClick() {
    TUrlOpener::Open(ToQ(TWebAddresses::Load(*Store).HomePage()));
}

void TfrmMain::bCheckUpdatesClick() {
    std::string version;
    // A version that cannot be read leaves the query empty; the page is opened anyway.
    try {
        version = VersionSource ? VersionSource() : ProgramVersion();
    } catch (const std::exception&) {
        version.clear();
    }
    TUrlOpener::Open(ToQ(TWebAddresses::Load(*Store).UpdateCheckUrl(version)));
}

void TfrmMain::About1Click() {
    // A new box each time, owned by no window; it goes when it closes.
    TfrmAbout box(TWebAddresses::Load(*Store).HomePage());
    box.exec();
}

}  // namespace norvale
