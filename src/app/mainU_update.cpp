// The update, the list import and the resources menus on the main window.
#include <QAction>
#include <QMenu>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include "app/mainU.h"
#include "update/TResources.h"
#include "update/ui/downloaddom_u.h"
#include "util/qt/TQtText.h"
#include "util/ui/TPrompts.h"
#include "util/ui/TUrlOpener.h"

namespace norvale {

namespace {
// Menus take "&" as an accelerator mark; doubled, it shows as itself.
QString MenuText(const std::string& caption) {
    return ToQ(caption).replace(QLatin1Char('&'), QStringLiteral("&&"));
}
}  // namespace

void TfrmMain::WireUpdate() {
    frmUpdateB = new TfrmUpdateB(this);
    connect(BtnInternet, &QToolButton::clicked, this,
            [this] { RunCommand(this, [this] { BtnInternetClick(); }); });
    connect(New1, &QAction::triggered, this, [this] { RunCommand(this, [this] { New1Click(); }); });
    connect(ImportList1, &QAction::triggered, this,
            [this] { RunCommand(this, [this] { ImportList1Click(); }); });
    for (QObject* command : std::initializer_list<QObject*>{BtnInternet, New1, ImportList1}) {
        RegisterListCommand(command);
        if (auto* action = qobject_cast<QAction*>(command))
            action->setEnabled(true);
        if (auto* widget = qobject_cast<QWidget*>(command))
            widget->setEnabled(true);
    }
}

void TfrmMain::StartupResources() {
    EnsureDefaultResources();
    ResourceLinks.clear();
    BuildResourceMenus();
}

TWebAddresses TfrmMain::WebAddresses() const {
    return TWebAddresses::Load(*Store);
}

void TfrmMain::BtnInternetClick() {
    BeginLongRun();
    TB->setEnabled(false);
    BtnInternet->setEnabled(false);
    if (auto* bInsRule = findChild<QWidget*>(QStringLiteral("bInsRule")))
        bInsRule->setEnabled(false);
    frmUpdateB->PrepareUpdate();
    frmUpdateB->Execute();
}

void TfrmMain::New1Click() {
    BtnInternetClick();
}

void TfrmMain::ImportList1Click() {
    const QString path = TPrompts::OpenFileName(
        this, QStringLiteral("Import List"),
        QStringLiteral("Deleting-domains lists (*.zip *.txt);;All files (*)"));
    if (path.isEmpty())
        return;
    ImportListFile(path.toStdString());
}

void TfrmMain::ImportListFile(const std::string& path) {
    BeginLongRun();
    TB->setEnabled(false);
    BtnInternet->setEnabled(false);
    if (auto* bInsRule = findChild<QWidget*>(QStringLiteral("bInsRule")))
        bInsRule->setEnabled(false);
    frmUpdateB->PrepareImport(path);
    frmUpdateB->Execute();
}

void TfrmMain::EnsureDefaultResources() {
    norvale::EnsureDefaultResources(*Store, WebAddresses());
}

void TfrmMain::StoreResources(const std::string& text) {
    norvale::StoreResources(*Store, text);
}

void TfrmMain::BuildResourceMenus() {
    // A value of another type fails here, before anything was removed: the menus keep
    // what they hold.
    const auto lines = ReadResources(*Store);
    if (!lines)
        return;
    const TResourceMenus menus = ResourceMenusOf(*lines);

    Resources1->clear();
    PopResource->clear();  // the first build also removes "Online Help" and "Domains"
    OnlineHelp1 = nullptr;
    Domains1 = nullptr;
    ResourceLinks = menus.linkLines;
    for (QMenu* top : {Resources1, PopResource}) {
        for (const TResourceGroup& group : menus.groups) {
            QMenu* sub = top->addMenu(MenuText(group.caption));
            for (const std::string& link : group.links) {
                QAction* item = sub->addAction(MenuText(link));
                connect(item, &QAction::triggered, this, [this, item] { ResourceItemClick(item); });
            }
        }
    }
}

std::string TfrmMain::LinkForCaption(const std::string& caption) const {
    return norvale::LinkForCaption(ResourceLinks, caption);
}

void TfrmMain::ResourceItemClick(QAction* item) {
    TUrlOpener::Open(ToQ(ResourceAddressFor(ResourceLinks, FromQ(item->text()), WebAddresses())));
}

}  // namespace norvale
